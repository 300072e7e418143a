// SPDX-License-Identifier: MIT
#include "windows/Accessibility.h"

// Qt
#include <QAccessibleWidget>
#include <QEvent>
#include <QLabel>
#include <QPointer>

// own
#include "controls/AccessibleEvents.h"
#include "controls/BrimBtn.h"
#include "windows/Main.h"
#include "controls/NBAry.h"
#include "controls/Panel.h"
#include "controls/StringGrid.h"
#include "game/MouseArgs.h"
#include "game/Symbols.h"

#include <functional>

namespace {

QPointer<QWidget> s_mainWidget;
// The main window, or null once it is gone or being destroyed: while its destructor runs
// only the QWidget part of it is left, and events sent then must not treat it as a TMainF.
TMainF* MainWindow() { return qobject_cast<TMainF*>(s_mainWidget.data()); }

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
            return Accessibility::TileName(m_button->Caption(), n % Game::Cols, n / Game::Cols, m_button->ZSet() != 0);
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
        s.selectable = true;
        s.selected = m_button->ZSet() != 0;
        s.focusable = true;
        s.focused = MainWindow()->CursorShown() && MainWindow()->CursorTile() == m_button->Tag()
            && MainWindow()->CursorFrame()->isVisible();
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
            MainWindow()->GameState().TileMouseDown(m_button->Tag(), 0, ShiftState::ssLeft);
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
            return QStringLiteral("ポイント %1").arg(MainWindow()->PointsTotal());
        return QStringLiteral("残り %1枚").arg(MainWindow()->GameState().Remaining());
    }
};

QAccessibleInterface* Factory(const QString& /*className*/, QObject* object)
{
    if (auto* button = qobject_cast<TBrimBtn*>(object))
        return new ButtonAccessible(button);
    if (MainWindow() && (object == MainWindow()->PntL() || object == MainWindow()->ZanL()))
        return new TotalAccessible(static_cast<QLabel*>(object));
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
        QAccessible::installFactory(Factory);
        installed = true;
    }
}

void Install(TMainF& main)
{
    InstallFactory();
    s_mainWidget = &main;
    main.CursorFrame()->installEventFilter(new CursorWatch(main.CursorFrame()));

    // The totals were made with the window, and a listening reader may have been given their
    // generic interfaces already: those go, so that its next question gets these.
    for (QObject* total : { static_cast<QObject*>(main.PntL()), static_cast<QObject*>(main.ZanL()) })
        if (QAccessibleInterface* face = QAccessible::queryAccessibleInterface(total))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(face));

    // The move log's current row is its description, kept as the log changes.
    TStringGrid* sg1 = main.SG1();
    sg1->setAccessibleName(QStringLiteral("手順"));
    auto describe = [sg1] {
        if (MainWindow())
            sg1->setAccessibleDescription(MoveLogRow(MainWindow()->GameState().MoveLog()));
    };
    const TextGrid* log = &main.GameState().MoveLog();
    QObject::connect(log, &TextGrid::CurrentRowChanged, sg1, describe);
    QObject::connect(log, &QAbstractItemModel::dataChanged, sg1, describe);
    QObject::connect(log, &QAbstractItemModel::modelReset, sg1, describe);
    describe();
}

} // namespace Accessibility
