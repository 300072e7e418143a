// SPDX-License-Identifier: MIT
#include "windows/Accessibility.h"

// Qt
#include <QAccessibleWidget>
#include <QEvent>
#include <QLabel>
#include <QPointer>

// own
#include "app/GameSession.h"
#include "controls/AccessibleEvents.h"
#include "controls/BrimBtn.h"
#include "controls/GridAccessible.h"
#include "windows/HelpViewer.h"
#include "windows/Main.h"
#include "windows/Setu.h"
#include "controls/NBAry.h"
#include "controls/Panel.h"
#include "controls/ShiftState.h"
#include "controls/StringGrid.h"
#include "game/Symbols.h"

// Qt
#include <QComboBox>
#include <QTimer>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace {

QPointer<QWidget> s_mainWidget;
// The main window, or null once it is gone or being destroyed: while its destructor runs
// only the QWidget part of it is left, and events sent then must not treat it as a TMainF.
TMainF* MainWindow() { return qobject_cast<TMainF*>(s_mainWidget.data()); }

// The part of the 12 x 10 frame a reader is shown: the bottom rows x the left columns of the
// board as dealt (and any tile in play outside it, which only a test's board has). The places
// outside it are not the board, whatever their hidden tiles still hold.
struct BoardArea
{
    int rows = 0;
    int cols = 0;

    static BoardArea Of(const Game& game)
    {
        BoardArea area { std::clamp(game.DealtWith().rows, 0, Game::Rows), std::clamp(game.DealtWith().cols, 0, Game::Cols) };
        for (int n = 1; n <= Game::TileCount; ++n)
            if (game.TileByNumber(n).visible) {
                area.rows = std::max(area.rows, Game::Rows - BoardSize::RowOf(n));
                area.cols = std::max(area.cols, BoardSize::ColumnOf(n) + 1);
            }
        return area;
    }
    int Top() const { return Game::Rows - rows; }
    bool Holds(int number) const
    {
        return Game::IsTileNumber(number) && BoardSize::ColumnOf(number) < cols && BoardSize::RowOf(number) >= Top();
    }
    int Count() const { return rows * cols; }
    // The tile number of the i-th place in reading order: the top row from the left first.
    int Place(int i) const { return Game::TileNumber(i % cols, Top() + i / cols); }
    int IndexOf(int number) const
    {
        return Holds(number) ? (BoardSize::RowOf(number) - Top()) * cols + BoardSize::ColumnOf(number) : -1;
    }
    bool operator==(const BoardArea&) const = default;
};

// What a reader has been told of the board: the area its tiles are in, and each tile's name
// as last told (kept only while someone listens).
struct ToldBoard
{
    BoardArea area;
    std::array<QString, Game::TileCount> names;
    bool namesKnown = false;
};
ToldBoard s_told;

TBrimBtn* TileWidget(int number)
{
    return MainWindow()->Tile(BoardSize::ColumnOf(number), BoardSize::RowOf(number));
}

// A tile's name as the game holds it: its symbol, place on the board and selection while it
// is in play; nothing for a place that is empty or off the board.
QString TileName(const Game& game, const BoardArea& area, int number)
{
    const ::Tile& tile = game.TileByNumber(number);
    if (!area.Holds(number) || !tile.visible)
        return QString();
    return Accessibility::TileName(tile.caption, BoardSize::ColumnOf(number), BoardSize::RowOf(number) - area.Top(),
                                   tile.zset != 0);
}

// After every change of the board: tiles that leave the board's area are taken from it and
// those that join are added, and each tile whose name changed says so, none other.
void SyncBoard(bool quiet = false)
{
    TMainF* main = MainWindow();
    if (!main || !main->Tile(0, 0))
        return;
    const Game& game = main->Session().State();
    const BoardArea area = BoardArea::Of(game);
    const bool listening = AccessibleEvents::Listening() && !quiet;
    if (!(area == s_told.area)) {
        const BoardArea old = s_told.area;
        if (listening)
            for (int i = 0; i < old.Count(); ++i)
                if (!area.Holds(old.Place(i))) {
                    QAccessibleEvent gone(TileWidget(old.Place(i)), QAccessible::ObjectDestroyed);
                    AccessibleEvents::Raise(gone);
                }
        s_told.area = area;
        if (listening)
            for (int i = 0; i < area.Count(); ++i)
                if (!old.Holds(area.Place(i))) {
                    QAccessibleEvent added(TileWidget(area.Place(i)), QAccessible::ObjectCreated);
                    AccessibleEvents::Raise(added);
                }
    }
    if (!AccessibleEvents::Listening()) {
        s_told.namesKnown = false;
        return;
    }
    for (int n = 1; n <= Game::TileCount; ++n) {
        QString name = TileName(game, area, n);
        QString& told = s_told.names[size_t(n - 1)];
        if (name == told)
            continue;
        told = std::move(name);
        if (s_told.namesKnown && listening && area.Holds(n)) {
            QAccessibleEvent changed(TileWidget(n), QAccessible::NameChanged);
            AccessibleEvents::Raise(changed);
        }
    }
    s_told.namesKnown = true;
}

// The move log's current row as the player reads it ("2手目 甲 乙 3点 主気"); while that row
// is still empty, the row of the last move.
QString MoveLogRow(const TextGrid& log)
{
    int row = log.Row();
    auto filled = [&log](int r) { return r >= 1 && !log.Cell(Game::LogSymbol1, r).isEmpty(); };
    if (!filled(row))
        --row;
    if (!filled(row))
        return QString();
    QStringList parts { QStringLiteral("%1手目").arg(row), log.Cell(Game::LogSymbol1, row) };
    if (!log.Cell(Game::LogSymbol2, row).isEmpty())
        parts << log.Cell(Game::LogSymbol2, row);
    const QString points = log.Cell(Game::LogPoints, row).trimmed();
    if (!points.isEmpty())
        parts << points + QStringLiteral("点");
    const QString text = log.Cell(Game::LogText, row).trimmed();
    if (!text.isEmpty())
        parts << text;
    return parts.join(QLatin1Char(' '));
}

// A gradient button of the main window: a tile, a cell of the element strip or a command
// button. The buttons are made (and a listening reader may ask about them) before the
// window is complete, so which one it is is found out when a question comes.
class ButtonAccessible : public QAccessibleWidget
{
public:
    explicit ButtonAccessible(TBrimBtn* button)
        : QAccessibleWidget(button, QAccessible::Button)
        , m_button(button)
    {
    }

    QAccessible::Role role() const override
    {
        return Kind() == Strip ? QAccessible::StaticText : QAccessible::Button;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const int n = m_button->Tag() - 1;
        switch (Kind()) {
        case Tile:
            return TileName(MainWindow()->Session().State(), s_told.area, n + 1);
        case Strip:
            return QStringLiteral("%1 %2枚").arg(Symbols::ElementNames.at(StripColumn()), m_button->Caption());
        case Undo:
            return QStringLiteral("元に戻す");
        case Hint:
            return QStringLiteral("ヒント");
        case Start:
            return QStringLiteral("スタート");
        case Other:
            break;
        }
        return m_button->Caption();
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (Kind() != Tile)
            return s;
        // The game's own view of the tile: in play, selected.
        const ::Tile& tile = MainWindow()->Session().State().TileByNumber(m_button->Tag());
        s.invisible = s.invisible || !tile.visible;
        s.selectable = true;
        s.selected = tile.zset != 0;
        s.focusable = true;
        // The board's focus, while the board has the keyboard's.
        s.focused = MainWindow()->CursorShown() && MainWindow()->CursorTile() == m_button->Tag()
            && MainWindow()->CursorFrame()->isVisible() && MainWindow()->BPnl()->hasFocus();
        return s;
    }

    QStringList actionNames() const override
    {
        const ButtonKind kind = Kind();
        return kind == Strip || kind == Other ? QStringList() : QStringList { pressAction() };
    }

    // Pressing a tile picks it as a left click would; a command button does its command.
    void doAction(const QString& action) override
    {
        if (action != pressAction() || !MainWindow())
            return;
        switch (Kind()) {
        case Tile:
            MainWindow()->Session().Pick(m_button->Tag(), PickMode::Remove);
            break;
        case Undo:
            MainWindow()->ReBtnClick();
            break;
        case Hint:
            MainWindow()->HintBtnClick();
            break;
        case Start:
            MainWindow()->StartBtnClick();
            break;
        case Strip:
        case Other:
            break;
        }
    }

private:
    enum ButtonKind { Tile, Strip, Undo, Hint, Start, Other };

    ButtonKind Kind() const
    {
        if (!MainWindow())
            return Other;
        if (m_button->parentWidget() == MainWindow()->BPnl())
            return Tile;
        if (StripColumn() >= 0)
            return Strip;
        if (m_button == MainWindow()->ReBtn())
            return Undo;
        if (m_button == MainWindow()->HintBtn())
            return Hint;
        if (m_button == MainWindow()->StartBtn())
            return Start;
        return Other;
    }

    // The column of the element strip the button stands in, -1 for none.
    int StripColumn() const
    {
        for (int j = 0; j < 5; ++j)
            if (MainWindow()->GSG()->Buttons(j, 0) == m_button)
                return j;
        return -1;
    }

    TBrimBtn* m_button;
};

// A total of the top strip: its number, said in words.
class TotalAccessible : public QAccessibleWidget
{
public:
    explicit TotalAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !MainWindow())
            return QAccessibleWidget::text(t);
        if (widget() == MainWindow()->PntL())
            return QStringLiteral("ポイント %1").arg(MainWindow()->Session().State().PointsTotal());
        return QStringLiteral("残り %1枚").arg(MainWindow()->Session().State().Remaining());
    }
};

// The board panel: its children are the tiles of the board's area in reading order, and only
// those; the gradient behind them and the cursor's frame are not for a reader.
class BoardAccessible : public QAccessibleWidget
{
public:
    explicit BoardAccessible(QWidget* panel)
        : QAccessibleWidget(panel, QAccessible::Pane)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QStringLiteral("盤面");
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return MainWindow() ? s_told.area.Count() : 0; }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return QAccessible::queryAccessibleInterface(TileWidget(s_told.area.Place(index)));
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        auto* tile = child ? qobject_cast<TBrimBtn*>(child->object()) : nullptr;
        if (!tile || !MainWindow() || tile->parentWidget() != widget())
            return -1;
        return s_told.area.IndexOf(tile->Tag());
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* tile = child(i);
            if (tile && tile->rect().contains(x, y) && !tile->state().invisible)
                return tile;
        }
        return nullptr;
    }
};

// The elapsed time: read as it stands whenever a reader asks, and told of its change only
// while it shows. The label itself would announce every second's new text, hidden or not.
class ElapsedAccessible : public QAccessibleWidget
{
public:
    explicit ElapsedAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        return static_cast<QLabel*>(widget())->text().trimmed();
    }
};

// The options dialog's font sample button: a panel the mouse opens the font dialog on, and
// the keyboard and a reader's press too.
class FontChooserAccessible : public QAccessibleWidget
{
public:
    FontChooserAccessible(QWidget* panel, TSetuF* setu)
        : QAccessibleWidget(panel, QAccessible::Button)
        , m_setu(setu)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QStringLiteral("盤面のフォント");
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return { pressAction() }; }

    void doAction(const QString& action) override
    {
        // The font dialog is modal: it opens after the reader's call has returned.
        if (action == pressAction() && m_setu)
            QTimer::singleShot(0, m_setu, [setu = m_setu] {
                if (setu)
                    setu->FontPnlMouseDown(0, ShiftState::ssLeft, 0, 0);
            });
    }

private:
    QPointer<TSetuF> m_setu;
};

// A board-size list: named by what it sets (縦, 横; its accessible name), with the number it
// shows as its value. Qt's own combo box takes the number for the name on this platform.
class SizeListAccessible : public QAccessibleWidget
{
public:
    explicit SizeListAccessible(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return Box()->currentText();
        return QAccessibleWidget::text(t);
    }

    // The drop-down list, as Qt's own combo box has it.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(Box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == Box()->view() ? 0 : -1;
    }

    QStringList actionNames() const override { return { showMenuAction(), pressAction() }; }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction())
            Box()->showPopup();
    }

private:
    QComboBox* Box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* Factory(const QString& /*className*/, QObject* object)
{
    if (auto* button = qobject_cast<TBrimBtn*>(object))
        return new ButtonAccessible(button);
    // A window of its own, not a part of one.
    if (auto* help = qobject_cast<HelpViewer*>(object))
        return new QAccessibleWidget(help, QAccessible::Window);
    if (auto* panel = qobject_cast<Panel*>(object)) {
        if (auto* setu = qobject_cast<TSetuF*>(panel->window()); setu && setu->FontPnl() == panel)
            return new FontChooserAccessible(panel, setu);
    }
    TMainF* main = MainWindow();
    if (!main)
        return nullptr;
    if (object == main->PntL() || object == main->ZanL())
        return new TotalAccessible(static_cast<QLabel*>(object));
    if (object == main->TimeL())
        return new ElapsedAccessible(main->TimeL());
    if (object == main->BPnl())
        return new BoardAccessible(main->BPnl());
    if (object == main->CBH() || object == main->CBW())
        return new SizeListAccessible(static_cast<QComboBox*>(object));
    return nullptr;
}

// Raises the focus event for the tile under the keyboard cursor whenever the cursor shows or
// moves.
class CursorWatch : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() == QEvent::Show || event->type() == QEvent::Move) && MainWindow()
            && static_cast<QWidget*>(watched)->isVisible()) {
            const int n = MainWindow()->CursorTile();
            if (n >= 1 && n <= Game::TileCount) {
                TBrimBtn* tile = MainWindow()->Tile((n - 1) % Game::Cols, (n - 1) / Game::Cols);
                QAccessibleEvent focus(tile, QAccessible::Focus);
                AccessibleEvents::Raise(focus);
            }
        }
        return false;
    }
};

} // namespace

namespace Accessibility {

QString TileName(const QString& symbol, int col, int row, bool selected)
{
    const int element = Symbols::SymbolElement(symbol);
    QString name = symbol;
    if (element >= 0 && element < Symbols::ElementNames.size())
        name += QLatin1Char(' ') + Symbols::ElementNames.at(element);
    name += QStringLiteral(" %1列 %2段").arg(col + 1).arg(row + 1);
    if (selected)
        name += QStringLiteral(" 選択中");
    return name;
}

void InstallFactory()
{
    static bool installed = false;
    if (!installed) {
        GridAccessible::InstallFactory();
        QAccessible::installFactory(Factory);
        installed = true;
    }
}

void Install(TMainF& main)
{
    InstallFactory();
    s_mainWidget = &main;
    s_told = {};
    main.CursorFrame()->installEventFilter(new CursorWatch(main.CursorFrame()));

    // The labels and the board were made with the window, and a listening reader may have
    // been given their generic interfaces already: those go, so that its next question gets
    // these.
    for (QObject* part : std::initializer_list<QObject*> { main.PntL(), main.ZanL(), main.TimeL(), main.BPnl(),
                                                           main.CBH(), main.CBW() })
        if (QAccessibleInterface* face = QAccessible::queryAccessibleInterface(part))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(face));

    // The tiles' names are more than their captions: the board tells of their changes.
    for (int n = 1; n <= Game::TileCount; ++n)
        TileWidget(n)->SetCaptionNameEvents(false);
    SyncBoard(true);
    QObject::connect(&main.Session(), &GameSession::BoardChanged, &main, [] { SyncBoard(); });

    // The size lists, by the labels beside them.
    main.CBH()->setAccessibleName(QStringLiteral("縦"));
    main.CBW()->setAccessibleName(QStringLiteral("横"));

    // The elapsed time. A label with a name of its own does not announce its text; the name
    // the reader gets is the text all the same (ElapsedAccessible), told of while it shows.
    QLabel* timeL = main.TimeL();
    timeL->setAccessibleName(QStringLiteral("経過時間"));
    auto toldTime = std::make_shared<QString>();
    auto tellTime = [timeL, toldTime] {
        if (!timeL->isVisible() || timeL->text() == *toldTime)
            return;
        *toldTime = timeL->text();
        QAccessibleEvent changed(timeL, QAccessible::NameChanged);
        AccessibleEvents::Raise(changed);
    };
    QObject::connect(main.Timer1(), &QTimer::timeout, timeL, tellTime);

    // The move log's current row is its description, kept as the log changes.
    TStringGrid* sg1 = main.SG1();
    sg1->setAccessibleName(QStringLiteral("手順"));
    auto describe = [sg1] {
        if (MainWindow())
            sg1->setAccessibleDescription(MoveLogRow(MainWindow()->Session().State().MoveLog()));
    };
    const TextGrid* log = &main.Session().State().MoveLog();
    QObject::connect(log, &TextGrid::CurrentRowChanged, sg1, describe);
    QObject::connect(log, &QAbstractItemModel::dataChanged, sg1, describe);
    QObject::connect(log, &QAbstractItemModel::modelReset, sg1, describe);
    describe();
}

} // namespace Accessibility
