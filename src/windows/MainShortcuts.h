// SPDX-License-Identifier: MIT
// The desktop's standard keys for the main window's commands, beside its menu (whose
// captions stay as they are): Ctrl+Z undoes as "<<" does, Ctrl+Shift+Z and Ctrl+Y redo as
// ファイル → やり直し does (and beep, as undo does, when there is nothing to redo, whereas
// the menu item is then disabled), F2 and Ctrl+N deal anew as "Start!!" does, F1 opens the
// help's contents, Ctrl+Q ends the program as ファイル → 終了 does, saving the settings on
// the way. They act while the main window is the active window
// and do nothing while a modal dialog is up. H for a hint belongs to the board's own keys.
#pragma once

class TMainF;

void InstallMainShortcuts(TMainF& main);
