#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Redo, the kept game and numbered deals on the real program under Xvfb. With "終了時のゲーム
# を次に続ける" on: three pairs played on the board of number 1 (3 x 4 stems, where any
# neighbours pair; the third empties a column), two taken back with "<<", one put again with
# Ctrl+Y, closed through the
# menu, started again: the same board and log come back, and Ctrl+Y still redoes the last
# pair. Then numbered deals: --deal N twice gives the same board, and the numbered-deal
# dialog gives it too. Screenshots go to the folder given second.
set -uo pipefail
here=$(dirname "$0")
. "$here/lib.sh"
DESK_SHOTS=${2:-$PWD/shots}
export LANG=C.UTF-8 LC_ALL=C.UTF-8
desk_setup "$1"
reg="$XDG_CONFIG_HOME/Orbilo/registry.reg"
saved="$XDG_DATA_HOME/Orbilo/SavedGame.dat"
mkdir -p "$(dirname "$reg")"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\Set]\r\n"Resume"="1"\r\n\r\n' > "$reg"

# start [ARG...]: launches, waits for the painted window, sets win, WX, WY and top (the
# client area's first row below the menu bar).
start() {
    desk_launch "$@"
    win=$(desk_window '^OrbiloVer1\.10$')
    desk_geometry "$win"
    local menu
    menu=$(desk_menu_height "$win") || desk_fail "the main window was never painted"
    top=$((WY + menu))
    # The elapsed-time label shows its first caption until the first tick hides it.
    sleep 1.5
}
quit() {
    desk_file_menu "$win" x
    desk_wait_exit
}
tile() { # column row -> "x y" of the tile's centre
    echo "$((WX + 17 + 30 * $1 + 15)) $((top + 20 + 17 + 30 * $2 + 15))"
}
click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.25; }
# The board, the side panel with the log, and the points and tiles left: everything below
# the menu bar, with the pointer out of the way.
screen() {
    xdotool mousemove 1010 750
    sleep 0.3
    desk_region "$WX" "$top" 564 352
}
keys() {
    xdotool windowfocus --sync "$win"
    xdotool key "$@"
    sleep 0.3
}

# --- redo, and the game kept at close
start --deal 1
dealt=$(screen)
click_at $(tile 0 9)
click_at $(tile 1 9)
click_at $(tile 2 9)
click_at $(tile 3 9)
click_at $(tile 0 9)
click_at $(tile 0 8)
three=$(screen)
[ "$three" != "$dealt" ] || desk_fail "the clicks removed nothing"
desk_shot resume-01-three-pairs

# "<<" twice, far enough apart not to make a double click.
undo_at="$((WX + 392 + 2 + 8 + 13)) $((top + 20 + 2 + 24 + 8 + 12))"
click_at $undo_at
sleep 0.5
click_at $undo_at
one=$(screen)
[ "$one" != "$three" ] || desk_fail "\"<<\" took nothing back"
keys ctrl+y
two=$(screen)
[ "$two" != "$one" ] && [ "$two" != "$three" ] || desk_fail "Ctrl+Y did not put one pair back"
desk_shot resume-02-undone-and-redone
quit
[ -f "$saved" ] || desk_fail "no game was kept at close"
head -c 20 "$saved" | grep -q '^ORBILO-SAVED-GAME 1 ' || desk_fail "the kept game has no header: $(head -c 40 "$saved")"

start
desk_shot resume-03-restarted
[ "$(screen)" = "$two" ] || desk_fail "the board and log did not come back as they were"
keys ctrl+y
[ "$(screen)" = "$three" ] || desk_fail "the last pair could not be redone after the restart"
keys ctrl+y # nothing left to redo: only a beep
[ "$(screen)" = "$three" ] || desk_fail "a redo with nothing to redo changed the board"
quit

# --- numbered deals: 5 x 8, all three sets, nothing kept
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\Set]\r\n"Resume"="0"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\Sys]\r\n"CBH"="2"\r\n"CBW"="2"\r\n"CG1"="7"\r\n\r\n' > "$reg"
start --deal 20240601
first=$(screen)
desk_shot resume-04-deal-20240601
quit
[ ! -f "$saved" ] || desk_fail "the kept game was left with the switch off"
start --deal 20240601
[ "$(screen)" = "$first" ] || desk_fail "--deal 20240601 gave another board the second time"
# Another board, then the same number through the dialog (ファイル, the second item).
keys F2
[ "$(screen)" != "$first" ] || desk_fail "F2 dealt the same board"
keys alt+f
keys Down Return
dialog=$(desk_window '^番号を指定して配る$')
xdotool windowfocus --sync "$dialog"
xdotool type --delay 40 '20240601'
desk_shot resume-05-dialog
xdotool key Return
desk_wait_gone '^番号を指定して配る$'
[ "$(screen)" = "$first" ] || desk_fail "the dialog's 20240601 gave another board"
quit
"$DESK_WORK/prog/orbilo" --deal 4294967296 >/dev/null 2>&1
[ $? -eq 2 ] || desk_fail "--deal out of range did not end with exit code 2"
echo "1 passed, 0 failed"
