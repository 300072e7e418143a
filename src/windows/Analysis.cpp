// SPDX-License-Identifier: MIT
#include "windows/Analysis.h"

// Qt
#include <QButtonGroup>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
// own
#include "app/GameSession.h"
#include "windows/AppInfo.h"
#include "controls/BrimBtn.h"
#include "controls/Canvas.h"
#include "windows/Main.h"
#include "solver/GameBridge.h"
#include "controls/StringGrid.h"

#include <algorithm>

using namespace SysColors;

namespace {

constexpr int PollMs = 100;
constexpr int Gap = 8; // between the main window and this one
constexpr int LineColumns = 4; // first, second, points, text: the move log's visible columns
const QString ProvenCaption = QStringLiteral("最高点（確定）");
const QString SearchingCaption = QStringLiteral("これ以上（探索中）");
const QString StoppedCaption = QStringLiteral("これ以上（止めました）");

// A frame over one tile of the main window's board, with the pick's number in its corner:
// black and white, so that it shows on every tile colour.
class PairMark : public QWidget
{
public:
    PairMark(QWidget* board, const QRect& tile, int number)
        : QWidget(board)
        , m_number(number)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(tile);
        raise();
        show();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        // Only a frame, so the tile shows through: black, two pixels of white, black.
        auto frame = [&](int inset, int thickness, Qt::GlobalColor color) {
            const QRect r = rect().adjusted(inset, inset, -inset, -inset);
            painter.fillRect(r.left(), r.top(), r.width(), thickness, color);
            painter.fillRect(r.left(), r.bottom() - thickness + 1, r.width(), thickness, color);
            painter.fillRect(r.left(), r.top(), thickness, r.height(), color);
            painter.fillRect(r.right() - thickness + 1, r.top(), thickness, r.height(), color);
        };
        frame(0, 1, Qt::black);
        frame(1, 2, Qt::white);
        frame(3, 1, Qt::black);
        const QRect badge(0, 0, 11, 12);
        painter.fillRect(badge, Qt::black);
        painter.setPen(Qt::white);
        painter.setFont(AppInfo::WindowFont(AppInfo::Gothic, -10, true));
        painter.drawText(badge, Qt::AlignCenter, QString::number(m_number));
    }

private:
    int m_number;
};

QString Points(int total)
{
    return QLocale::c().toString(total);
}

} // namespace

// --- opening and the title ------------------------------------------------------------------

TAnalysisF* TAnalysisF::Open(TMainF& main, GameSession& session)
{
    TAnalysisF* window = main.findChild<TAnalysisF*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new TAnalysisF(main, session);
        connect(&session, &GameSession::BoardChanged, window, &TAnalysisF::GameChanged);
        // An edited score table changes what every line is worth.
        connect(&session, &GameSession::ScoreTablesChanged, window, &TAnalysisF::GameChanged);
        window->PlaceBeside(main);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void TAnalysisF::PlaceBeside(const QWidget& main)
{
    // Right of the main window where the screen has room, else left of it, never off it.
    // Where neither side has room, the side with more: it covers the least of the main
    // window, and on a tie the right, which covers the side panel rather than the board.
    const QRect outer = main.frameGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    QPoint at(outer.right() + 1 + Gap, outer.top());
    if (const QScreen* screen = main.screen()) {
        const QRect area = screen->availableGeometry();
        const int needed = Gap + width() + frame.width();
        const int roomRight = area.right() - outer.right();
        const int roomLeft = outer.left() - area.left();
        if (roomRight < needed && roomLeft > roomRight)
            at.setX(outer.left() - Gap - width() - frame.width());
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width() - frame.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height() - frame.height())));
    }
    move(at);
}

QString TAnalysisF::Title(std::optional<quint32> number)
{
    const QString title = QStringLiteral("この盤面の最高点");
    return number ? title + QStringLiteral("（盤面番号 %1）").arg(*number) : title;
}

void TAnalysisF::SetDealNumber(std::optional<quint32> number)
{
    setWindowTitle(Title(number));
}

// --- layout ---------------------------------------------------------------------------------

TAnalysisF::TAnalysisF(TMainF& main, GameSession& session)
    : QWidget(&main, Qt::Window)
    , m_main(main)
    , m_session(session)
    , m_clock(std::make_unique<QElapsedTimer>())
{
    // Every deal has a number: the title names the board it looks at.
    SetDealNumber(session.State().DealNumber());
    setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    // Esc closes it as it closes a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);

    m_source = new QButtonGroup(this);
    auto* sources = new QHBoxLayout;
    const QString sourceNames[] = { QStringLiteral("今の局面から"), QStringLiteral("配られた盤面から") };
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(sourceNames[i], this);
        m_source->addButton(button, i);
        sources->addWidget(button);
    }
    m_source->button(int(Source::Position))->setChecked(true);
    // A click on either, the chosen one too, starts the search again.
    connect(m_source, &QButtonGroup::idClicked, this, [this] { Restart(); });
    sources->addStretch();
    layout->addLayout(sources);

    m_note = new QLabel(this);
    layout->addWidget(m_note);

    auto* totals = new QGridLayout;
    m_bestCaption = new QLabel(SearchingCaption, this);
    m_bestTotal = new QLabel(this);
    m_bestTotal->setFont(AppInfo::WindowFont(AppInfo::PGothic, -20, true));
    m_bestTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_playerTotal = new QLabel(this);
    m_playerTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totals->addWidget(m_bestCaption, 0, 0);
    totals->addWidget(m_bestTotal, 0, 1);
    totals->addWidget(new QLabel(QStringLiteral("あなたの点"), this), 1, 0);
    totals->addWidget(m_playerTotal, 1, 1);
    layout->addLayout(totals);

    m_status = new QLabel(this);
    layout->addWidget(m_status);

    m_line = new TStringGrid(LineColumns, 2, this);
    m_line->setFont(AppInfo::WindowFont(AppInfo::Mincho, -13));
    m_line->SetFontColor(clWindowText);
    // The colour of the cells, so that below the last row and right of the text the grid
    // shows no other (the move log never shows it: it has rows enough to fill its height).
    // The classic gray, and the palette's on the desktop's colours, as in the move log.
    m_line->SetColor(clBtnShadow);
    m_line->SetFixedColor(clTeal);
    m_line->SetDefaultRowHeight(16);
    m_line->SetLines(TStringGrid::glFixedHorz);
    m_line->SetRowSelect(true);
    m_line->SetFlat(true);
    m_line->SetEditing(false);
    m_line->SetColWidths({ 18, 18, 28, 150 });
    m_line->SetRowHeight(0, 5);
    m_line->SetDrawCell([this](QPainter& painter, int col, int row, const QRect& rect, TStringGrid::CellState state) {
        painter.fillRect(rect, TStringGrid::LogCellColor(state));
        const TAlignment alignment = col <= 1 ? taCenter : col == 2 ? taRightJustify : taLeftJustify;
        TStringGrid::DrawCellText(painter, rect, m_line->Grid()->Cell(col, row), alignment);
    });
    m_line->setMinimumHeight(16 * 12);
    layout->addWidget(m_line, 1);

    auto* buttons = new QHBoxLayout;
    m_nextBtn = new QPushButton(QStringLiteral("次の一手"), this);
    m_stopBtn = new QPushButton(QStringLiteral("止める"), this);
    connect(m_nextBtn, &QPushButton::clicked, this, &TAnalysisF::NextMoveClick);
    connect(m_stopBtn, &QPushButton::clicked, this, &TAnalysisF::StopClick);
    buttons->addWidget(m_nextBtn);
    buttons->addWidget(m_stopBtn);
    layout->addLayout(buttons);

    m_poll = new QTimer(this);
    m_poll->setInterval(PollMs);
    connect(m_poll, &QTimer::timeout, this, &TAnalysisF::Poll);
    resize(260, 420);
}

TAnalysisF::~TAnalysisF() = default;

bool TAnalysisF::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        GameChanged();
    return QWidget::event(event);
}

void TAnalysisF::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Restart();
}

void TAnalysisF::closeEvent(QCloseEvent* event)
{
    RetireRun();
    ClearMarks();
    QWidget::closeEvent(event);
}

void TAnalysisF::SetSource(Source source)
{
    m_source->button(int(source))->setChecked(true);
    Restart();
}

// --- following the game ---------------------------------------------------------------------

bool TAnalysisF::Snapshot::SameSearch(const Snapshot& other, bool fromDeal) const
{
    if (values != other.values)
        return false;
    return fromDeal ? deal == other.deal : position == other.position && completedPoints == other.completedPoints;
}

bool TAnalysisF::FromDeal() const
{
    return m_heldFinished || m_source->checkedId() == int(Source::Deal);
}

TAnalysisF::Snapshot TAnalysisF::TakeSnapshot() const
{
    const Game& game = m_session.State();
    Snapshot s;
    s.position = Solver::BoardOfGame(game);
    s.deal = Solver::DealOfGame(game);
    s.completedPoints = Solver::CompletedPoints(game);
    s.playerTotal = game.PointsTotal();
    s.movesMade = game.MoveRow() > 1;
    s.finished = s.position && !s.position->HasMove();
    s.values = Solver::ValuesOfGame(game);
    s.dealNumber = game.DealNumber();
    return s;
}

void TAnalysisF::GameChanged()
{
    if (!isVisible())
        return;
    ClearMarks();
    // The game is dealt again as soon as its end has been handled, which may come before
    // the restart below runs: the finished game is taken now, while it is still there.
    const Game& game = m_session.State();
    if (game.MoveRow() > 1 && game.FindMove() > Game::TileCount) {
        m_finishedGame = TakeSnapshot();
        m_finishedPending = true;
    }
    if (m_restartPending)
        return;
    m_restartPending = true;
    QTimer::singleShot(0, this, [this] {
        m_restartPending = false;
        const Snapshot now = TakeSnapshot();
        if (m_finishedPending && (now.finished || !now.movesMade)) {
            m_finishedPending = false;
            Begin(m_finishedGame, true);
            return;
        }
        m_finishedPending = false;
        // A finished game stays until the first move on the board after it.
        if (m_heldFinished && !now.movesMade)
            return;
        if (m_heldFinished || !now.SameSearch(m_analysed, FromDeal())) {
            Begin(now, false);
            return;
        }
        // A pick, a pair standing picked, or a move after the deal that is searched.
        m_playerTotal->setText(Points(now.playerTotal));
        m_nextBtn->setEnabled(LineStartsOnTheBoard());
    });
}

void TAnalysisF::Restart()
{
    m_finishedPending = false;
    Begin(TakeSnapshot(), false);
}

void TAnalysisF::Begin(const Snapshot& snapshot, bool finishedGame)
{
    RetireRun();
    ClearMarks();
    m_analysed = snapshot;
    m_heldFinished = finishedGame;
    // The title names the deal searched: a finished game held after the next deal keeps its own.
    SetDealNumber(snapshot.dealNumber);
    const bool fromDeal = FromDeal();
    const std::optional<Solver::Board>& board = fromDeal ? snapshot.deal : snapshot.position;
    m_base = fromDeal ? 0 : snapshot.completedPoints;
    m_note->setText(finishedGame ? QStringLiteral("終わったゲームを、配られた盤面から")
                        : fromDeal ? QStringLiteral("配られた盤面から")
                                   : QStringLiteral("今の局面から（ここまで %1 点）").arg(Points(m_base)));
    m_playerTotal->setText(Points(snapshot.playerTotal));
    m_shownLine = Solver::Line {};
    m_line->Grid()->SetRowCount(2);
    for (int c = 0; c < LineColumns; ++c)
        m_line->Grid()->SetCell(c, 1, QString());
    if (!board) {
        m_note->setText(QStringLiteral("この盤面は調べられません"));
        m_bestTotal->clear();
        m_status->clear();
        m_stopBtn->setEnabled(false);
        m_nextBtn->setEnabled(false);
        return;
    }
    Solver::Run::Options options;
    options.mode = Solver::Run::Mode::Both;
    options.threads = std::clamp(QThread::idealThreadCount(), 1, 4);
    options.background = true;
    m_run = std::make_unique<Solver::Run>(*board, snapshot.values, options);
    m_clock->start();
    m_stoppedAfterMs = -1;
    m_stopBtn->setEnabled(true);
    m_poll->start();
    Poll(); // the greedy line is there at once
}

void TAnalysisF::RetireRun()
{
    if (!m_run)
        return;
    m_run->RequestStop();
    m_retired.push_back(std::move(m_run));
}

// --- showing the search -----------------------------------------------------------------------

void TAnalysisF::Poll()
{
    std::erase_if(m_retired, [](const std::unique_ptr<Solver::Run>& run) { return run->Current().finished; });
    if (!m_run) {
        if (m_retired.empty())
            m_poll->stop();
        return;
    }
    const Solver::Run::State state = m_run->Current();
    if (state.finished && m_stoppedAfterMs < 0)
        m_stoppedAfterMs = m_clock->elapsed();
    ShowState(state);
    if (state.finished && m_retired.empty())
        m_poll->stop();
}

void TAnalysisF::ShowState(const Solver::Run::State& state)
{
    m_bestCaption->setText(state.proven ? ProvenCaption : state.finished ? StoppedCaption : SearchingCaption);
    m_bestTotal->setText(Points(m_base + state.best.total));
    const qint64 ms = m_stoppedAfterMs >= 0 ? m_stoppedAfterMs : m_clock->elapsed();
    m_status->setText(QStringLiteral("経過 %1 秒　%2 局面")
                          .arg(QString::number(double(ms) / 1000.0, 'f', 1), QLocale::c().toString(state.nodes)));
    m_stopBtn->setEnabled(!state.finished);
    if (state.best != m_shownLine)
        ShowLine(state.best);
    m_nextBtn->setEnabled(LineStartsOnTheBoard());
}

void TAnalysisF::ShowLine(const Solver::Line& line)
{
    m_shownLine = line;
    const std::vector<Solver::LogRow> rows
        = Solver::LogRowsOf(m_run->Start(), line.moves, m_run->Values(), m_session.State());
    m_line->Grid()->SetRowCount(std::max(2, int(rows.size()) + 1));
    for (int c = 0; c < LineColumns; ++c)
        m_line->Grid()->SetCell(c, 1, QString());
    for (size_t i = 0; i < rows.size(); ++i) {
        const int r = int(i) + 1;
        m_line->Grid()->SetCell(0, r, rows[i].first);
        m_line->Grid()->SetCell(1, r, rows[i].second);
        m_line->Grid()->SetCell(2, r, QString::number(rows[i].points));
        m_line->Grid()->SetCell(3, r, rows[i].text);
    }
}

void TAnalysisF::StopClick()
{
    if (m_run)
        m_run->RequestStop();
    m_stopBtn->setEnabled(false);
    Poll();
}

// --- the next move on the board -----------------------------------------------------------------

bool TAnalysisF::LineStartsOnTheBoard() const
{
    if (!m_run || m_heldFinished || m_shownLine.moves.empty())
        return false;
    const std::optional<Solver::Board> now = Solver::BoardOfGame(m_session.State());
    return now && *now == m_run->Start();
}

void TAnalysisF::NextMoveClick()
{
    if (!LineStartsOnTheBoard())
        return;
    ClearMarks();
    const Solver::Picks picks = Solver::PicksOf(m_run->Start(), m_shownLine.moves.front(), m_run->Values());
    int number = 1;
    for (const int tile : { picks.first, picks.second }) {
        const TBrimBtn* button = m_main.Tile((tile - 1) % Game::Cols, (tile - 1) / Game::Cols);
        m_marks.push_back(new PairMark(button->parentWidget(), button->geometry(), number++));
        m_marks.back()->setProperty("tile", tile);
    }
}

std::pair<int, int> TAnalysisF::MarkedTiles() const
{
    if (m_marks.size() != 2 || !m_marks[0] || !m_marks[1])
        return { 0, 0 };
    return { m_marks[0]->property("tile").toInt(), m_marks[1]->property("tile").toInt() };
}

void TAnalysisF::ClearMarks()
{
    for (const QPointer<QWidget>& mark : m_marks)
        delete mark.data();
    m_marks.clear();
}
