// SPDX-License-Identifier: MIT
#include "windows/MainShortcuts.h"

// Qt
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>

// own
#include "windows/Main.h"

namespace {

// Ends the menu bar's keyboard mode after one of its menus was closed with Esc. Qt leaves
// the bar holding the focus with its item marked, which a player cannot see in every
// style; a second Esc to the bar ends that mode and gives the focus back where it was.
class MenuEscape : public QObject
{
public:
    MenuEscape(QMenuBar* bar) : QObject(bar), m_bar(bar) { }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape
            && qobject_cast<QMenu*>(watched)) {
            QTimer::singleShot(0, m_bar, [bar = m_bar] {
                if (bar->hasFocus() && !QApplication::activePopupWidget()) {
                    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                    QApplication::sendEvent(bar, &escape);
                }
            });
        }
        return false;
    }

private:
    QMenuBar* m_bar;
};

void SetKeys(TMainF& main, const char* action, const QList<QKeySequence>& keys)
{
    QAction* item = main.Action(QLatin1String(action));
    Q_ASSERT(item);
    item->setShortcuts(keys);
}

} // namespace

void InstallMainShortcuts(TMainF& main)
{
    SetKeys(main, "R1", { QKeySequence(Qt::CTRL | Qt::Key_Z) });
    const QList<QKeySequence> redoKeys { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
        QKeySequence(Qt::CTRL | Qt::Key_Y) };
    SetKeys(main, "Redo1", redoKeys);
    SetKeys(main, "New1", { QKeySequence(Qt::Key_F2), QKeySequence(Qt::CTRL | Qt::Key_N) });
    SetKeys(main, "Contents1", { QKeySequence(Qt::Key_F1) });
    SetKeys(main, "Exit1", { QKeySequence(Qt::CTRL | Qt::Key_Q) });

    // A disabled item takes no keys, so the beep comes from stand-ins that are live just
    // while the item is not: only one of the two ever holds a key.
    QAction* redo = main.Action(QStringLiteral("Redo1"));
    for (const QKeySequence& keys : redoKeys) {
        auto* beep = new QShortcut(keys, &main);
        beep->setContext(Qt::WindowShortcut);
        beep->setEnabled(!redo->isEnabled());
        QObject::connect(redo, &QAction::enabledChanged, beep, [beep](bool on) { beep->setEnabled(!on); });
        QObject::connect(beep, &QShortcut::activated, &main, [&main] {
            if (!QApplication::activeModalWidget())
                main.RedoClick();
        });
    }

    auto* escape = new MenuEscape(main.menuBar());
    for (QMenu* menu : main.menuBar()->findChildren<QMenu*>())
        menu->installEventFilter(escape);
}
