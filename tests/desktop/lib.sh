#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Helpers for driving the real program under Xvfb: a private X server, a fresh program
# folder and configuration folder, waiting for windows and pixels, and screenshots.

desk_fail() {
    echo "FAIL: $*" >&2
    # What the screen showed, and what the program said, for whoever reads the failure.
    if [ -n "${DESK_SHOTS:-}" ] && [ -n "${DISPLAY:-}" ]; then
        mkdir -p "$DESK_SHOTS" && import -window root "$DESK_SHOTS/failure.png" 2>/dev/null
    fi
    [ -f "${DESK_WORK:-}/orbilo.log" ] && sed 's/^/  program: /' "$DESK_WORK/orbilo.log" | grep -v 'audio device' >&2
    # Called inside $(...), exit would end only that subshell and the script would go on
    # with an empty answer: end the script itself (its TERM trap exits through the cleanup).
    [ "${BASH_SUBSHELL:-0}" -gt 0 ] && kill -TERM $$
    exit 1
}

# desk_start_x: starts Xvfb on a free display and exports DISPLAY. -noreset: by default the
# server resets when its last client leaves, and a program started again at that moment
# (the restart check) cannot connect.
desk_start_x() {
    local fifo="$DESK_WORK/displayfd"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    DESK_XPID=$!
    local n=""
    for _ in $(seq 100); do
        n=$(cat "$fifo" 2>/dev/null | tr -d '\n')
        [ -n "$n" ] && break
        sleep 0.1
    done
    [ -n "$n" ] || desk_fail "Xvfb did not start"
    export DISPLAY=":$n"
}

# desk_setup EXE: a work folder with its own program folder (a copy of the executable and of
# its default tables, so the tables and ranking it writes stay there), configuration folder
# and data folder (where a kept game goes).
desk_setup() {
    DESK_WORK=$(mktemp -d)
    trap desk_cleanup EXIT
    trap 'exit 1' TERM
    mkdir -p "$DESK_WORK/prog" "$DESK_WORK/config"
    cp "$1" "$DESK_WORK/prog/orbilo"
    # The audio module the program loads at its first sound lives beside it, and so do the
    # default score tables a build writes (without them the program says so at start-up).
    cp "$(dirname "$1")"/liborbilo_sound_qt.so "$DESK_WORK/prog/"
    local kind
    for kind in 1 2 3; do
        cp "$(dirname "$1")/SG$kind.dat" "$DESK_WORK/prog/" || desk_fail "the build wrote no SG$kind.dat"
    done
    export XDG_CONFIG_HOME="$DESK_WORK/config"
    export XDG_DATA_HOME="$DESK_WORK/data"
    # The program shows on the private X server, whatever platform the caller's shell chose
    # (an exported QT_QPA_PLATFORM=offscreen would draw nothing to look at).
    export QT_QPA_PLATFORM=xcb
    export XDG_RUNTIME_DIR="$DESK_WORK/runtime"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    : > "$DESK_WORK/displayfd"
    desk_start_x
}

desk_cleanup() {
    [ -n "${DESK_PID:-}" ] && kill "$DESK_PID" 2>/dev/null
    [ -n "${DESK_XPID:-}" ] && kill "$DESK_XPID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$DESK_WORK"
}

# desk_launch [ARG...]: starts the program with those arguments.
desk_launch() {
    "$DESK_WORK/prog/orbilo" "$@" >"$DESK_WORK/orbilo.log" 2>&1 &
    DESK_PID=$!
}

# desk_window TITLE-PATTERN: waits for a window and prints its id; DESK_WINDOW_WAIT tenths of
# a second at most (10 s unless a script needs longer).
desk_window() {
    local id=""
    for _ in $(seq "${DESK_WINDOW_WAIT:-100}"); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    desk_fail "no window named $1"
}

# desk_message_box MAIN-ID WHAT: waits for a window with the main window's title that is not
# the main window (a message box: a notice, a warning) and prints its id; fails saying no WHAT.
desk_message_box() {
    local id=""
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name '^OrbiloVer1\.10$' 2>/dev/null | grep -v "^$1\$" | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    desk_fail "no $2"
}

# desk_tick_branches WIN BOARD_Y: clicks the "支" box of the set choice (the second of the
# group at the bottom of the side panel) and waits until it is drawn ticked. BOARD_Y: the
# top of the board panel, below the menu bar.
desk_tick_branches() {
    desk_geometry "$1"
    local bx=$((WX + 392 + 1 + 1 + 1 + 60 + 7)) by=$(($2 + 1 + 64 + 1 + 206 + 15)) box
    box=$(desk_region $((bx - 6)) $((by - 6)) 12 12)
    xdotool mousemove "$bx" "$by" click 1
    desk_wait_change $((bx - 6)) $((by - 6)) 12 12 "$box" || desk_fail "the click on 支 did not tick it"
}

# desk_sound_server DIR: starts a sound server of the test's own in DIR, whose only output is
# a null sink "orbilo" (record its monitor, orbilo.monitor), sets PA_PID and PULSE_SERVER,
# and waits up to 5 s for it to answer; fails (returns 1) when it does not.
desk_sound_server() {
    mkdir -p "$1/home"
    HOME="$1/home" pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --system=no \
        -L "module-null-sink sink_name=orbilo rate=44100 channels=1" \
        -L "module-native-protocol-unix socket=$1/native auth-anonymous=1" \
        --log-target=stderr >"$1/server.log" 2>&1 &
    PA_PID=$!
    export PULSE_SERVER="unix:$1/native"
    for _ in $(seq 50); do
        pactl info >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    pactl info >/dev/null 2>&1
}

# desk_geometry ID: sets WX, WY (position of the client area).
desk_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    WX=$X
    WY=$Y
}

desk_shot() {
    mkdir -p "$DESK_SHOTS"
    import -window root "$DESK_SHOTS/$1.png"
}

# desk_pixel X Y: the pixel's colour as "r,g,b" from a fresh screenshot.
desk_pixel() {
    import -window root "$DESK_WORK/pix.png"
    convert "$DESK_WORK/pix.png" -crop "1x1+$1+$2" -depth 8 txt:- | tail -n 1 | sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}

# desk_wait_pixel X Y COLOUR: waits until the pixel shows the colour.
desk_wait_pixel() {
    for _ in $(seq 100); do
        [ "$(desk_pixel "$1" "$2")" = "$3" ] && return 0
        sleep 0.1
    done
    desk_fail "pixel $1,$2 never became $3 (is $(desk_pixel "$1" "$2"))"
}

# desk_file_menu ID KEY: opens the File menu of the main window ID, as a player would with
# Alt+F, and chooses the item with the accelerator KEY (x: Exit, h: high scores).
desk_file_menu() {
    xdotool windowfocus --sync "$1"
    xdotool key alt+f
    sleep 0.3
    xdotool key "$2"
}

# desk_wait_exit: waits up to ten seconds for the program to end.
desk_wait_exit() {
    for _ in $(seq 100); do
        kill -0 "$DESK_PID" 2>/dev/null || { wait "$DESK_PID" 2>/dev/null; DESK_PID=""; return 0; }
        sleep 0.1
    done
    desk_fail "the program did not end"
}

# desk_menu_height ID: the height of the main window's menu bar, found as the first row of
# the top strip's gradient (pure blue at its left end), which lies below the strip's
# one-pixel lowered bevel, once the window has been painted.
desk_menu_height() {
    for _ in $(seq 50); do
        import -window "$1" "$DESK_WORK/win.png" 2>/dev/null
        local col
        col=$(convert "$DESK_WORK/win.png" -crop 1x60+3+0 -depth 8 txt:- 2>/dev/null | tail -n +2 |
              awk -F'[(),]' '$3 < 10 && $4 < 10 && $5 > 200 { print $2 + 0; exit }')
        if [ -n "$col" ]; then
            echo $((col - 1))
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# desk_region X Y W H: a fingerprint of a screen region, to wait for it to change.
desk_region() {
    import -window root "$DESK_WORK/region.png"
    convert "$DESK_WORK/region.png" -crop "$3x$4+$1+$2" -depth 8 rgb:- | md5sum | cut -d' ' -f1
}

# desk_wait_change X Y W H BEFORE: waits until the region's fingerprint differs from BEFORE.
desk_wait_change() {
    for _ in $(seq 50); do
        [ "$(desk_region "$1" "$2" "$3" "$4")" != "$5" ] && return 0
        sleep 0.1
    done
    return 1
}

# desk_wait_gone TITLE-PATTERN: waits until no visible window has that title.
desk_wait_gone() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    desk_fail "the window $1 did not close"
}
