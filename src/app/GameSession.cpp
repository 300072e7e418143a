// SPDX-License-Identifier: MIT
#include "app/GameSession.h"

// Qt
#include <QMetaObject>
#include <QTimer>

#include <algorithm>
#include <utility>

GameSession::GameSession(AppModel& model)
    : m_model(model)
{
    for (int kind = 1; kind <= 3; ++kind)
        m_game.SetScoreTable(kind, m_model.ScoreTable(kind));
    SetChoices(m_model.Deal());
    WatchTables();
}

GameSession::~GameSession() = default;

// --- typed calls --------------------------------------------------------------------------------

template <class Call> void GameSession::Play(Call&& call)
{
    ReportEnd();
    call();
}

void GameSession::Deal(std::optional<quint32> number)
{
    Play([&] { m_game.NewGame(number); });
}

void GameSession::Pick(int tile, PickMode mode)
{
    Play([&] { m_game.Pick(tile, mode); });
}

void GameSession::Hint()
{
    Play([&] { m_game.HintBtnClick(); });
}

void GameSession::Undo()
{
    Play([&] { m_game.ReBtnClick(); });
}

void GameSession::Redo()
{
    Play([&] { m_game.RedoClick(); });
}

void GameSession::Recolour()
{
    m_game.ColorAllTiles();
}

bool GameSession::Restore(const GameRecord& record)
{
    bool restored = false;
    Play([&] { restored = m_game.Restore(record); });
    return restored;
}

// --- the end of a game --------------------------------------------------------------------------

void GameSession::Host::GameEnded(GameEnd end)
{
    // Reported once the call that ended the game has returned.
    const bool queued = m_session.m_endToReport.has_value();
    m_session.m_endToReport = end;
    if (!queued)
        QMetaObject::invokeMethod(&m_session, &GameSession::ReportEnd, Qt::QueuedConnection);
}

void GameSession::ReportEnd()
{
    if (const std::optional<GameEnd> end = std::exchange(m_endToReport, std::nullopt))
        emit GameEnded(*end);
}

// --- the board ----------------------------------------------------------------------------------

void GameSession::Host::BoardChanged()
{
    emit m_session.BoardChanged();
    const Game& game = m_session.m_game;
    // Not QList's ==: Qt 6.4 hands memcmp a null pointer for two empty lists.
    if (!std::ranges::equal(game.Selection(), m_session.m_selectionShown)) {
        m_session.m_selectionShown = game.Selection();
        emit m_session.SelectionChanged(m_session.m_selectionShown);
    }
    // Undo takes back a move while the log holds one.
    const std::pair undoRedo { game.MoveRow() > 1, game.CanRedo() };
    if (undoRedo != m_session.m_undoRedoShown) {
        m_session.m_undoRedoShown = undoRedo;
        emit m_session.UndoRedoChanged(undoRedo.first, undoRedo.second);
    }
}

Colouring GameSession::Host::CurrentColouring() const
{
    return m_session.Choices().colouring == 1 ? Colouring::Plain : Colouring::ByElement;
}

// --- choices, options, tables, font ---------------------------------------------------------

void GameSession::SetChoices(DealChoices choices)
{
    auto inList = [](int index, int count) { return index >= 0 && index < count ? index : 0; };
    choices.heightIndex = inList(choices.heightIndex, HeightChoices);
    choices.widthIndex = inList(choices.widthIndex, WidthChoices);
    choices.symbolSets &= 7;
    choices.colouring = choices.colouring == 1 ? 1 : 0;
    DealChoices& held = m_model.Deal();
    if (choices == held)
        return;
    const bool recolour = choices.colouring != held.colouring;
    held = choices;
    emit ChoicesChanged(held);
    if (recolour)
        Recolour();
}

QString GameSession::ReadChoices(RegOpen mode)
{
    const DealChoices before = Choices();
    const QString unread = m_model.ReadSettings(Keys::Owner::MainWindow, mode);
    const DealChoices read = std::exchange(m_model.Deal(), before);
    SetChoices(read);
    return unread;
}

QString GameSession::WriteChoices()
{
    return m_model.WriteSettings(Keys::Owner::MainWindow);
}

DealSettings GameSession::DealFromChoices() const
{
    const DealChoices& c = Choices();
    DealSettings s;
    s.rows = 3 + c.heightIndex;
    s.cols = 4 + 2 * c.widthIndex;
    for (int i = 0; i < 3; ++i)
        s.sets[size_t(i)] = (c.symbolSets >> i) & 1;
    s.solvable = m_model.Options().solvableDeals;
    return s;
}

void GameSession::SetBoardFont(const QFont& font, quint32 color)
{
    LiveOptions& options = m_model.Options();
    options.boardFont = font;
    options.boardFontColor = color;
    emit BoardFontChanged(font, color);
}

void GameSession::WatchTables()
{
    // A table loaded from its file changes row by row: the whole load is one report.
    auto changed = [this] {
        if (std::exchange(m_tablesReportQueued, true))
            return;
        QTimer::singleShot(0, this, [this] {
            m_tablesReportQueued = false;
            emit ScoreTablesChanged();
        });
    };
    for (int kind = 1; kind <= 3; ++kind) {
        const TextGrid* table = m_model.ScoreTable(kind);
        connect(table, &QAbstractItemModel::dataChanged, this, changed);
        connect(table, &QAbstractItemModel::rowsInserted, this, changed);
        connect(table, &QAbstractItemModel::rowsRemoved, this, changed);
        connect(table, &QAbstractItemModel::modelReset, this, changed);
    }
}
