// SPDX-License-Identifier: MIT
// The desktop's standard keys for the main window's commands, held by the menu's own items
// so that the menus show them and assistive tools read them: Ctrl+Z undoes as "<<" does,
// Ctrl+Shift+Z and Ctrl+Y redo as ファイル → やり直し does, F2 and Ctrl+N deal anew as
// "Start!!" does, F1 opens the help's contents, Ctrl+Q ends the program as ファイル → 終了
// does, saving the settings on the way. They act while the main window is the active
// window, so not while a modal dialog is up. With nothing to redo the redo item is
// disabled, and its keys beep as undo does with nothing to undo. H for a hint belongs to
// the board's own keys.
//
// A menu closed with Esc gives the keys back to the window at once: the menu bar does not
// stay in its keyboard mode, unseen, taking the arrows, Space and letters from the board.
#pragma once

class TMainF;

void InstallMainShortcuts(TMainF& main);
