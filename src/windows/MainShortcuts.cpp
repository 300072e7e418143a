// SPDX-License-Identifier: MIT
#include "windows/MainShortcuts.h"

// Qt
#include <QApplication>
#include <QKeySequence>
#include <QShortcut>

// own
#include "windows/Main.h"

namespace {

void Bind(TMainF& main, const QKeySequence& keys, void (TMainF::*command)())
{
    auto* shortcut = new QShortcut(keys, &main);
    shortcut->setContext(Qt::WindowShortcut);
    // Qt keeps keys from a window that a modal dialog blocks; asking here makes "nothing
    // while a dialog is up" the shortcuts' own rule rather than the focus handling's.
    QObject::connect(shortcut, &QShortcut::activated, &main, [&main, command] {
        if (!QApplication::activeModalWidget())
            (main.*command)();
    });
}

} // namespace

void InstallMainShortcuts(TMainF& main)
{
    Bind(main, QKeySequence(Qt::CTRL | Qt::Key_Z), &TMainF::ReBtnClick);
    Bind(main, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TMainF::RedoClick);
    Bind(main, QKeySequence(Qt::CTRL | Qt::Key_Y), &TMainF::RedoClick);
    Bind(main, QKeySequence(Qt::Key_F2), &TMainF::StartBtnClick);
    Bind(main, QKeySequence(Qt::CTRL | Qt::Key_N), &TMainF::StartBtnClick);
    Bind(main, QKeySequence(Qt::Key_F1), &TMainF::Contents1Click);
    Bind(main, QKeySequence(Qt::CTRL | Qt::Key_Q), &TMainF::Exit1Click);
}
