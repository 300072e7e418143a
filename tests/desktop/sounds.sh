#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The four sounds as a player hears them. First without any sound server: the program plays
# on in silence and says nothing on the console. Then with a sound server of our own whose
# only output is a null sink, recorded from its monitor while the real program plays a game:
# a pick (1), a pick taken back by the hint (1), a refused pick (3), the removal of a pair
# (2), a whole game to its end and the name entry (4), and the over-play warning a minute
# after the start (4). orbilo_soundcheck then finds every sound in the recording, in order,
# by correlation with the compiled clips and by length.
#   sounds.sh EXE SOUNDCHECK CLIPFOLDER [SHOTS]
set -uo pipefail
here=$(dirname "$0")
. "$here/lib.sh"
exe=$1
check=$2
clips=$3
DESK_SHOTS=${4:-$PWD/shots}
export LANG=C.UTF-8 LC_ALL=C.UTF-8
for tool in pulseaudio pactl parec pacat; do
    command -v "$tool" >/dev/null 2>&1 ||
        { echo "SKIP: $tool is missing; tools/deps.sh installs pulseaudio and pulseaudio-utils"; exit 77; }
done
desk_setup "$exe"
PA_PID=""
PAREC_PID=""
PACAT_PID=""
sounds_cleanup() {
    [ -n "$PACAT_PID" ] && kill "$PACAT_PID" 2>/dev/null
    [ -n "$PAREC_PID" ] && kill "$PAREC_PID" 2>/dev/null
    [ -n "$PA_PID" ] && kill "$PA_PID" 2>/dev/null
    desk_cleanup
}
trap sounds_cleanup EXIT

# The main window, its board's top left and a tile's centre.
main_window() {
    win=$(desk_window '^OrbiloVer1\.10$')
    desk_geometry "$win"
    menu=$(desk_menu_height "$win") || desk_fail "the main window was never painted"
    board_y=$((WY + menu + 20))
}
tile() { echo "$((WX + 17 + 30 * $1 + 15)) $((board_y + 17 + 30 * $2 + 15))"; }
click_at() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.6}"; }
message_box() { desk_message_box "$win" "message box"; }

# --- No sound server: an address where nothing answers (so that none is started either).
export PULSE_SERVER="unix:$DESK_WORK/no-server"
desk_launch
main_window
click_at $(tile 0 9)
click_at $(tile 3 7) # refused: not next to the first pick
click_at $(tile 1 9) # the pair
desk_file_menu "$win" x
desk_wait_exit
if [ -s "$DESK_WORK/orbilo.log" ]; then
    desk_fail "without a sound server the program printed: $(head -c 600 "$DESK_WORK/orbilo.log")"
fi
echo "no sound server: silent, nothing printed"

# --- A sound server with a null sink, recorded from its monitor.
pulse="$DESK_WORK/pulse"
if ! desk_sound_server "$pulse"; then
    echo "SKIP: the sound server could not start:"
    sed 's/^/  /' "$pulse/server.log" | tail -n 5
    exit 77
fi
# A short latency: a monitor read in long blocks would hold the sink's playing back by as much.
parec --latency-msec=20 -d orbilo.monitor --rate=44100 --channels=1 --format=s16le --raw >"$pulse/rec.raw" 2>"$pulse/parec.log" &
PAREC_PID=$!
# Silence played all along keeps the sink running: an idle sink starts its monitor late, and
# the recording would miss the first sound.
pacat --playback --raw --format=s16le --rate=44100 --channels=1 --latency-msec=20 /dev/zero 2>/dev/null &
PACAT_PID=$!
# The recording runs once its file grows; what the program plays from then on is in it.
for _ in $(seq 50); do
    [ "$(stat -c %s "$pulse/rec.raw")" -gt 17640 ] && break
    sleep 0.1
done
[ "$(stat -c %s "$pulse/rec.raw")" -gt 17640 ] || desk_fail "the sink's monitor records nothing: $(cat "$pulse/parec.log")"

# The over-play warning one minute after the start.
mkdir -p "$XDG_CONFIG_HOME/Orbilo"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\Set]\r\n"TimeE"="1"\r\n\r\n' \
    >"$XDG_CONFIG_HOME/Orbilo/registry.reg"
rm -f "$DESK_WORK/prog/Rank.dat"
started=$(date +%s)
desk_launch
main_window
expected=()
click_at $(tile 0 9)                                        # a pick
expected+=(1)
click_at $((WX + 392 + 1 + 58)) $((board_y + 1 + 24 + 20)) # "!!" takes it back
expected+=(1)
click_at $(tile 0 9)
expected+=(1)
click_at $(tile 3 7)                                        # refused: not next to the pick
expected+=(3)
click_at $(tile 1 9)                                        # the pair goes
expected+=(2)
# The rest of the 3 x 4 board, bottom row first: five more pairs, the last ends the game.
for _ in 1 2 3 4 5; do
    click_at $(tile 0 9)
    click_at $(tile 1 9)
    expected+=(1 2)
done
notice=$(message_box)
xdotool windowfocus --sync "$notice"
xdotool key Return
name=$(desk_window '^ランキング登録の名前を入力してください$')
expected+=(4)
sleep 0.8
desk_shot sounds-name-entry
desk_geometry "$name"
click_at $((WX + 269)) $((WY + 21))
rank=$(desk_window '^RanKing Top 30$')
desk_geometry "$rank"
click_at $((WX + 347)) $((WY + 258))
desk_wait_gone '^RanKing Top 30$'

# The warning: its message box comes a minute after the start.
while [ $(($(date +%s) - started)) -lt ${SOUNDS_WARNING_WAIT:-58} ]; do sleep 1; done
warning=$(message_box)
expected+=(4)
sleep 0.8
desk_shot sounds-warning
xdotool windowfocus --sync "$warning"
xdotool key Return
sleep 0.3
desk_geometry "$win"
desk_file_menu "$win" x
desk_wait_exit
kill "$PAREC_PID" 2>/dev/null
wait "$PAREC_PID" 2>/dev/null
PAREC_PID=""

echo "expected, in order: ${expected[*]}"
mkdir -p "$DESK_SHOTS" && cp "$pulse/rec.raw" "$DESK_SHOTS/sounds-recording.raw"
"$check" "$pulse/rec.raw" 44100 "$clips" "${expected[@]}" ||
    desk_fail "not every sound was heard whole (the recording: $DESK_SHOTS/sounds-recording.raw)"
