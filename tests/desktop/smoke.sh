#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the real program as a new user would, looks at it, picks a tile with the mouse,
# quits through the menu (Alt+F, X) and checks that the settings store was written.
set -uo pipefail
here=$(dirname "$0")
. "$here/lib.sh"
DESK_SHOTS=${2:-$PWD/shots}
desk_setup "$1"
desk_launch
win=$(desk_window '^OrbiloVer1\.10$')
desk_geometry "$win"
# The menu bar's height, from where the top strip's gradient starts (pure blue at its left).
menu=$(desk_menu_height "$win")
[ -n "$menu" ] || desk_fail "the window was never painted"
# Below the menu bar, the 20-pixel top strip and a board panel of exactly 10 x 30 + 4 x 8
# (its width 12 x 30 + 4 x 8 beside the 172 of the side panel), whatever the menu bar's height.
desk_geometry "$win"
[ "$WIDTH" = 564 ] && [ "$HEIGHT" = $((menu + 352)) ] ||
    desk_fail "client area ${WIDTH}x$HEIGHT under a $menu-pixel menu bar, not 564x$((menu + 352))"
desk_shot smoke-start

# Tile (0, 9), the bottom-left tile: its centre on the board panel below the top strip.
tx=$((WX + 17 + 15))
ty=$((WY + menu + 20 + 17 + 9 * 30 + 15))
before=$(desk_pixel "$tx" $((ty - 14)))
xdotool mousemove "$tx" "$ty" click 1
sleep 0.5
desk_shot smoke-picked
after=$(desk_pixel "$tx" $((ty - 14)))
# A picked tile (a pair partner exists on almost every board) shows its circle mark; a
# refused one shows nothing new. Either way the program must still be running.
kill -0 "$DESK_PID" 2>/dev/null || desk_fail "the program died on a click"
echo "tile top edge before $before after $after"

desk_file_menu "$win" x
desk_wait_exit
reg="$XDG_CONFIG_HOME/Orbilo/registry.reg"
[ -f "$reg" ] || desk_fail "no settings store at $reg"
grep -q '"CBH"="0"' "$reg" || desk_fail "Sys/CBH not written: $(cat "$reg")"
grep -q '"CG1"="1"' "$reg" || desk_fail "Sys/CG1 not written"
grep -q 'FontInfo1' "$reg" || desk_fail "the board font was not written"
echo "1 passed, 0 failed"
