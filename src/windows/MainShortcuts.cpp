// SPDX-License-Identifier: MIT
#include "MainShortcuts.h"

// Qt
#include <QApplication>
#include <QKeySequence>
#include <QShortcut>

// own
#include "Main.h"

namespace {

void Bind(TMainF& main, const QKeySequence& keys, void (TMainF::*command)())
{
    auto* shortcut = new QShortcut(keys, &main);
    shortcut->setContext(Qt::WindowShortcut);
    // A modal dialog normally keeps the keys from the main window, but not every window
    // system honours that (the main window can hold the focus behind a box that is up).
    QObject::connect(shortcut, &QShortcut::activated, &main, [&main, command] {
        if (!QApplication::activeModalWidget())
            (main.*command)();
    });
}

} // namespace

void InstallMainShortcuts(TMainF& main)
{
    Bind(main, QKeySequence(Qt::CTRL | Qt::Key_Z), &TMainF::ReBtnClick);
    Bind(main, QKeySequence(Qt::Key_F2), &TMainF::StartBtnClick);
    Bind(main, QKeySequence(Qt::CTRL | Qt::Key_N), &TMainF::StartBtnClick);
    Bind(main, QKeySequence(Qt::Key_F1), &TMainF::Contents1Click);
    Bind(main, QKeySequence(Qt::CTRL | Qt::Key_Q), &TMainF::Exit1Click);
}
