#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows build under Wine and Xvfb, as a player meets it: the portable copy (the zip's
# layout, made from the build's install rules) starts, shows "OrbiloVer1.10", scores a pair
# by mouse, takes a changed set choice, and quits through the menu; the settings are then
# read back from Wine's registry with "reg query" as any Windows tool would see them. An
# installed copy (share\orbilo beside it) keeps its tables in %LOCALAPPDATA%\Orbilo instead,
# and plays its sounds through PlaySound into a sound server of the test's own; without any
# sound device the game goes on in silence.
# Screenshots of the main window and the options dialog go to the folder given second.
#   wine.sh BUILD-DIR [SHOTS-DIR]      (BUILD-DIR: a cross build with wine-run.sh in it)
set -uo pipefail
here=$(dirname "$0")
. "$here/lib.sh"
build=$(cd "$1" && pwd)
DESK_SHOTS=${2:-$PWD/shots}
wine_run=$build/wine-run.sh
[ -x "$wine_run" ] || { echo "no $wine_run: not a cross build with Wine; skipped"; exit 77; }
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "Xvfb or xdotool missing; skipped"; exit 77; }

DESK_WORK=$(mktemp -d)
trap desk_cleanup EXIT
trap 'exit 1' TERM
: > "$DESK_WORK/displayfd"
# The X server before any Wine program of the session: its first one starts Wine's desktop
# process, whose display every later window of the session uses: a session of the suites is
# ended first.
"$wine_run" --end-session
desk_start_x
# Wine reads its locale from the environment: a Japanese desktop, whose code page is 932.
export LANG=ja_JP.UTF-8 LC_ALL=
unset QT_QPA_PLATFORM

# The portable copy: everything installed, with the default tables beside the executable.
cmake --install "$build" --prefix "$DESK_WORK/installed" >/dev/null || desk_fail "cmake --install failed"
cp -r "$DESK_WORK/installed" "$DESK_WORK/prog"
mv "$DESK_WORK/prog/share/orbilo/"SG*.dat "$DESK_WORK/prog/" && rm -r "$DESK_WORK/prog/share" ||
    desk_fail "the install has no default tables in share/orbilo"

reg() { "$wine_run" reg "$@" 2>/dev/null | tr -d '\r'; }
key='HKCU\Software\Brimwell\TESRIK'
reg delete "$key" /f >/dev/null
localdata=$("$wine_run" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
localdata_unix=$("$wine_run" winepath -u "$localdata" 2>/dev/null | tr -d '\r')
[ -n "$localdata_unix" ] || desk_fail "no %LOCALAPPDATA% in the Wine prefix"
rm -rf "$localdata_unix/Orbilo"

# The command line answers without a window, through a pipe as from a console.
version=$("$wine_run" "$DESK_WORK/prog/orbilo.exe" --version 2>/dev/null | tr -d '\r')
echo "$version" | grep -q '^Orbilo 1\.10$' || desk_fail "--version said: $version"
"$wine_run" "$DESK_WORK/prog/orbilo.exe" --no-such-option >/dev/null 2>&1
rc=$?
[ "$rc" = 2 ] || desk_fail "an unknown option ended with $rc, not 2"

# A program's first start in a Wine prefix reads every font: give its window a minute.
DESK_WINDOW_WAIT=600
# A window that came up besides the main one. Wine names its X windows in a way that
# xdotool's search cannot match Japanese titles in, so dialogs are found as the new window.
other_window() {
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -v "^$win\$" | tail -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    desk_fail "no $1 window"
}
other_gone() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qv "^$win\$" || return 0
        sleep 0.1
    done
    desk_fail "the $1 window did not close"
}
# First without any sound device: a sound server address where nothing answers. The game
# plays on in silence.
export PULSE_SERVER="unix:$DESK_WORK/no-server"
launch() {
    "$wine_run" "$1" >"$DESK_WORK/orbilo.log" 2>&1 &
    DESK_PID=$!
}

launch "$DESK_WORK/prog/orbilo.exe"
win=$(desk_window '^OrbiloVer1\.10$')
desk_geometry "$win"
menu=$(desk_menu_height "$win") || desk_fail "the main window was never painted"
desk_geometry "$win"
echo "main window ${WIDTH}x$HEIGHT, menu bar $menu pixels"
# Without a window manager Wine draws no frame (it reports one narrower than the client, which
# the game takes for none): the client area is the designed 564 wide, as on Linux (Wine's X
# window is one pixel taller than the client asked for).
[ "$WIDTH" = 564 ] && [ "$HEIGHT" -ge 370 ] && [ "$HEIGHT" -le 371 ] ||
    desk_fail "window ${WIDTH}x$HEIGHT, not 564x370"
sleep 0.5
desk_shot wine-main
board_y=$((WY + menu + 20))
tile() { echo "$((WX + 17 + 30 * $1 + 15)) $((board_y + 17 + 30 * $2 + 15))"; }
click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }

# The two bottom-left tiles of the first deal (stems only) always make a pair: they vanish,
# and each of the two columns is a tile shorter. The whole height of the two columns is
# watched: the tiles that fall into the pair's places may show the same two symbols.
read -r x0 y0 < <(tile 0 9)
columns="$((x0 - 15)) $((board_y + 17)) 60 300"
before=$(desk_region $columns)
click_at $(tile 0 9)
click_at $(tile 1 9)
desk_wait_change $columns "$before" || desk_fail "the pair was not removed"
kill -0 "$DESK_PID" 2>/dev/null || desk_fail "the program died on a click"
desk_shot wine-scored

# The options dialog, for a look at its first page.
xdotool windowfocus --sync "$win"
xdotool key alt+s
setu=$(other_window options)
sleep 0.6
desk_shot wine-options
xdotool windowfocus --sync "$setu"
xdotool key Escape
other_gone options

# The help, from F1.
xdotool windowfocus --sync "$win"
xdotool key F1
help=$(other_window help)
sleep 0.8
desk_shot wine-help
xdotool windowfocus --sync "$help"
xdotool key Escape
other_gone help

# Tick "支" in the set choice, as full.sh does on Linux.
desk_tick_branches "$win" "$board_y"
desk_file_menu "$win" x
desk_wait_exit

# What Windows tools see: REG_SZ settings under the sections, the font as REG_BINARY.
sys=$(reg query "$key\\Sys")
echo "$sys" | grep -Eq '^ +CG1 +REG_SZ +3$' || desk_fail "Sys\\CG1 is not the string 3: $sys"
echo "$sys" | grep -Eq '^ +CBH +REG_SZ +0$' || desk_fail "Sys\\CBH is not the string 0: $sys"
reg query "$key\\Wav" /v CB1 | grep -Eq '^ +CB1 +REG_SZ +1$' || desk_fail "Wav\\CB1 is not the string 1"
reg query "$key" /v FontInfo1 | grep -Eq '^ +FontInfo1 +REG_BINARY +[0-9A-F]{94}$' ||
    desk_fail "FontInfo1 is not a 47-byte REG_BINARY: $(reg query "$key" /v FontInfo1)"
[ -f "$DESK_WORK/prog/SG1.dat" ] || desk_fail "the portable copy lost its tables"

# A setting stored with another type (by hand, or by another program): the game starts with
# the default, says which value it was, and stores the setting as a string again at close.
reg add "$key\\Sys" /v CG1 /t REG_DWORD /d 7 /f >/dev/null
launch "$DESK_WORK/prog/orbilo.exe"
win=$(desk_window '^OrbiloVer1\.10$')
notice=$(desk_message_box "$win" "notice of the REG_DWORD value")
sleep 0.5
desk_shot wine-wrong-type
xdotool windowfocus --sync "$notice"
xdotool key Return
sleep 0.5
desk_file_menu "$win" x
desk_wait_exit
reg query "$key\\Sys" /v CG1 | grep -Eq '^ +CG1 +REG_SZ +1$' ||
    desk_fail "CG1 was not stored as the string 1: $(reg query "$key\\Sys" /v CG1)"
[ -e "$localdata_unix/Orbilo/SG1.dat" ] && desk_fail "the portable copy wrote into %LOCALAPPDATA%\\Orbilo"

# The installed layout keeps the tables in the player's folder, copied from share\orbilo.
# This time with a sound device: a sound server of our own with a null sink, recorded from
# its monitor, that Wine plays into; the pick and the removal must be heard there.
pulse=$DESK_WORK/pulse
PA_PID="" PAREC_PID="" PACAT_PID=""
wine_cleanup() {
    local p
    for p in "$PACAT_PID" "$PAREC_PID" "$PA_PID"; do [ -n "$p" ] && kill "$p" 2>/dev/null; done
    mountpoint -q "$DESK_WORK/readonly" 2>/dev/null && umount "$DESK_WORK/readonly"
    desk_cleanup
}
trap wine_cleanup EXIT
sound_checked=no
if command -v pulseaudio >/dev/null && command -v parec >/dev/null && command -v python3 >/dev/null; then
    if desk_sound_server "$pulse"; then
        # Silence played all along keeps the sink running, so its monitor records from the start.
        pacat --playback --raw --format=s16le --rate=44100 --channels=1 /dev/zero 2>/dev/null &
        PACAT_PID=$!
        parec -d orbilo.monitor --rate=44100 --channels=1 --format=s16le --raw >"$pulse/rec.raw" 2>/dev/null &
        PAREC_PID=$!
        sound_checked=yes
    fi
fi
launch "$DESK_WORK/installed/orbilo.exe"
win=$(desk_window '^OrbiloVer1\.10$')
desk_geometry "$win"
menu=$(desk_menu_height "$win") || desk_fail "the installed copy's window was never painted"
board_y=$((WY + menu + 20))
if [ "$sound_checked" = yes ]; then
    sleep 0.5
    recorded=$(stat -c %s "$pulse/rec.raw")
    click_at $(tile 0 9)
    sleep 0.6
    click_at $(tile 1 9)
    sleep 1.2
    # The loudest sample and how long sound lasted (over a tenth of full scale), from the clicks on.
    heard=$(python3 - "$pulse/rec.raw" "$recorded" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()[int(sys.argv[2]) // 2 * 2:]
s = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])
loud = [i for i, v in enumerate(s) if abs(v) > 3276]
print(max(map(abs, s)) if s else 0, round((loud[-1] - loud[0]) / 44100, 2) if loud else 0)
PY
)
    echo "sound device: loudest sample and seconds of sound after the pair: $heard"
    [ "${heard%% *}" -gt 3276 ] || desk_fail "nothing was heard from the pick and the pair"
fi
desk_file_menu "$win" x
desk_wait_exit
for n in 1 2 3; do
    cmp -s "$DESK_WORK/installed/share/orbilo/SG$n.dat" "$localdata_unix/Orbilo/SG$n.dat" ||
        desk_fail "SG$n.dat was not copied to %LOCALAPPDATA%\\Orbilo"
done
[ -e "$DESK_WORK/installed/SG1.dat" ] && desk_fail "the installed copy wrote its tables beside itself"

# A portable copy in a folder it cannot write (unpacked under Program Files): it keeps its
# tables in %LOCALAPPDATA%\Orbilo, copied from its own folder. The folder is made read-only
# with a read-only bind mount, which binds root (and so Wine run as root) too.
ro=$DESK_WORK/readonly
mkdir -p "$ro"
if mount --bind "$DESK_WORK/prog" "$ro" 2>/dev/null && mount -o remount,bind,ro "$ro" 2>/dev/null; then
    rm -rf "$localdata_unix/Orbilo"
    launch "$ro/orbilo.exe"
    win=$(desk_window '^OrbiloVer1\.10$')
    desk_menu_height "$win" >/dev/null || desk_fail "the read-only copy's window was never painted"
    desk_file_menu "$win" x
    desk_wait_exit
    for n in 1 2 3; do
        cmp -s "$DESK_WORK/prog/SG$n.dat" "$localdata_unix/Orbilo/SG$n.dat" ||
            desk_fail "the read-only copy did not copy SG$n.dat to %LOCALAPPDATA%\Orbilo"
    done
    umount "$ro"
    echo "read-only program folder: tables copied to %LOCALAPPDATA%\Orbilo"
else
    umount "$ro" 2>/dev/null
    echo "no read-only bind mount here (needs root): the read-only folder is not checked"
fi
rm -rf "$localdata_unix/Orbilo"
reg delete "$key" /f >/dev/null
echo "1 passed, 0 failed"
