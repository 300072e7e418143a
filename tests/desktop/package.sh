#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Debian package as an installed copy meets a player: built by CPack from the build
# folder given first, unpacked into a scratch root that is then made read-only, and run
# under Xvfb by an unprivileged user with a home of its own. The installed stem table is
# given 7 points for every pair first, so the six pairs of a 3 x 4 stem game must score 42:
# that proves the table was seeded from the installation into the player's data folder and
# scored from there. The ranking must land in that folder too, the settings in the player's
# configuration, and they must survive a restart. --help, --version and a wrong option are
# answered without a display. Screenshots go to the folder given second.
set -uo pipefail
here=$(dirname "$0")
build=$(cd "$1" && pwd)
DESK_SHOTS=${2:-$PWD/shots}
for tool in Xvfb dpkg-deb xdotool cpack; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed; the README's commands install it"
        exit 77
    fi
done
. "$here/lib.sh"
export LANG=C.UTF-8 LC_ALL=C.UTF-8

DESK_WORK=$(mktemp -d)
chmod 755 "$DESK_WORK"
player=""
package_cleanup() {
    desk_cleanup_program
    [ -n "$player" ] && userdel "$player" 2>/dev/null
    # The root was made read-only, which stops a user other than root from removing it.
    chmod -R u+w "$DESK_WORK" 2>/dev/null
    rm -rf "$DESK_WORK"
}
desk_cleanup_program() {
    [ -n "${DESK_PID:-}" ] && kill "$DESK_PID" 2>/dev/null
    [ -n "${DESK_XPID:-}" ] && kill "$DESK_XPID" 2>/dev/null
    wait 2>/dev/null
}
trap package_cleanup EXIT
trap 'exit 1' TERM

# --- the package ----------------------------------------------------------------------------
(cd "$DESK_WORK" && cpack -G DEB -B "$DESK_WORK/pkg" --config "$build/CPackConfig.cmake" >"$DESK_WORK/cpack.log" 2>&1) ||
    { cat "$DESK_WORK/cpack.log" >&2; desk_fail "CPack could not build the package"; }
deb=$(ls "$DESK_WORK"/pkg/orbilo_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || desk_fail "no package in $DESK_WORK/pkg"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 fonts-ipafont-gothic; do
    grep -q "$needed" <<<"$depends" || desk_fail "the package does not depend on $needed: $depends"
done
# The sound module plays through the PulseAudio library where it was built with it, through Qt
# Multimedia otherwise: the package must name the one this build uses.
grep -Eq 'libpulse0|libqt6multimedia6' <<<"$depends" ||
    desk_fail "the package names no library for the sound module: $depends"

root="$DESK_WORK/root"
dpkg-deb -x "$deb" "$root" || desk_fail "the package could not be unpacked"
program="$root/usr/games/orbilo"
for f in usr/games/orbilo usr/share/orbilo/SG1.dat usr/share/orbilo/SG2.dat usr/share/orbilo/SG3.dat \
         usr/share/applications/orbilo.desktop usr/share/icons/hicolor/48x48/apps/orbilo.png \
         usr/share/man/man6/orbilo.6.gz usr/share/man/ja/man6/orbilo.6.gz usr/share/doc/orbilo/copyright; do
    [ -f "$root/$f" ] || desk_fail "the package lacks /$f"
done
find "$root/usr/lib" -path '*/orbilo/liborbilo_sound_qt.so' | grep -q . || desk_fail "the package lacks the sound module"
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$DESK_WORK/appstream.log" 2>&1 ||
        { cat "$DESK_WORK/appstream.log" >&2; desk_fail "the metainfo file does not validate"; }
fi

# Every stem pair is worth 7 in the installed table (Shift-JIS never has "," in a character).
LC_ALL=C sed -i -E '2,$ s/^([^,]*,[^,]*,)[^,]*,/\17,/' "$root/usr/share/orbilo/SG1.dat"
chmod -R a-w "$root"

# --- the player ------------------------------------------------------------------------------
home="$DESK_WORK/home"
mkdir -p "$home" "$DESK_WORK/runtime"
as_player=()
if [ "$(id -u)" -eq 0 ]; then
    player="orbl$$"
    # Another test run may hold the user database's lock for a moment.
    for _ in $(seq 20); do
        useradd --no-create-home --home-dir "$home" --shell /usr/sbin/nologin "$player" 2>"$DESK_WORK/useradd.log" && break
        sleep 0.5
    done
    id "$player" >/dev/null 2>&1 || desk_fail "could not create the user $player: $(cat "$DESK_WORK/useradd.log")"
    chown "$player:" "$home" "$DESK_WORK/runtime"
    as_player=(setpriv --reuid="$(id -u "$player")" --regid="$(id -g "$player")" --clear-groups)
fi
chmod 700 "$DESK_WORK/runtime"
run_as_player() {
    "${as_player[@]}" env -i HOME="$home" USER="${player:-$(id -un)}" LANG=C.UTF-8 PATH=/usr/bin:/bin \
        XDG_RUNTIME_DIR="$DESK_WORK/runtime" ${DISPLAY:+DISPLAY=$DISPLAY} "$@"
}
"${as_player[@]}" test -w "$root/usr/games" && desk_fail "the player can write the unpacked program's folder"

# --- the command line, with no display -------------------------------------------------------
out=$(run_as_player "$program" --version) || desk_fail "--version failed"
grep -q '^Orbilo 1\.10$' <<<"$out" && grep -q '^Qt 6\.' <<<"$out" || desk_fail "--version said: $out"
out=$(run_as_player "$program" --help) || desk_fail "--help failed"
grep -q -- '--version' <<<"$out" || desk_fail "--help said: $out"
# An English desktop gets the English catalogue built into the program; a C locale Japanese.
out=$(run_as_player env LANG=en_US.UTF-8 "$program" --help) || desk_fail "--help in English failed"
grep -q '^Usage: orbilo' <<<"$out" || desk_fail "--help on an English desktop said: $out"
grep -q '^使い方: orbilo' <<<"$(run_as_player "$program" --help)" || desk_fail "--help in a C locale is not Japanese"
run_as_player "$program" --no-such-option 2>"$DESK_WORK/err.txt"
rc=$?
[ "$rc" -eq 2 ] || desk_fail "a wrong option ended with $rc, not 2"
grep -q -- '--no-such-option' "$DESK_WORK/err.txt" || desk_fail "a wrong option said: $(cat "$DESK_WORK/err.txt")"
# Started with no display at all: our message and exit code, not Qt's abort.
(unset DISPLAY; run_as_player "$program" 2>"$DESK_WORK/err.txt")
rc=$?
[ "$rc" -eq 3 ] || desk_fail "without a display the program ended with $rc, not 3"
grep -q '画面に接続できない' "$DESK_WORK/err.txt" || desk_fail "without a display it said: $(cat "$DESK_WORK/err.txt")"

# --- installed without recommendations -----------------------------------------------------------
# Every library the program, its sound module and Qt's X11 platform plugin load must come
# from a package that the package's dependencies bring without their recommendations
# (apt-get install --no-install-recommends).
if command -v apt-cache >/dev/null 2>&1; then
    deps=$(tr ',|' '\n\n' <<<"$depends" | sed -E 's/\(.*\)//; s/^ +//; s/ +$//' | grep . | sort -u)
    closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
                  --no-replaces --no-enhances $deps 2>/dev/null | grep -v '^ ' | sed 's/:.*//' | sort -u)
    plugin=$(ls /usr/lib/*/qt6/plugins/platforms/libqxcb.so 2>/dev/null | head -n 1)
    [ -n "$plugin" ] || desk_fail "Qt's X11 platform plugin is not installed here"
    module=$(find "$root/usr/lib" -name liborbilo_sound_qt.so | head -n 1)
    for binary in "$program" "$module" "$plugin"; do
        for lib in "$binary" $(ldd "$binary" | awk '/=> \//{ print $3 }'); do
            [ "$lib" = "$program" ] || [ "$lib" = "$module" ] && continue
            owner=$(dpkg -S "$(readlink -f "$lib")" 2>/dev/null | head -n 1 | sed 's/:.*//') ||
                owner=$(dpkg -S "$lib" 2>/dev/null | head -n 1 | sed 's/:.*//')
            [ -n "$owner" ] || continue
            grep -qx "$owner" <<<"$closure" ||
                desk_fail "$lib (from $owner, for $(basename "$binary")) does not come with the package's dependencies"
        done
    done
fi
# The package holds no compiler notes and binds its symbols at start.
for binary in "$program" "$(find "$root/usr/lib" -name liborbilo_sound_qt.so | head -n 1)"; do
    readelf -S "$binary" | grep -q '\.comment' && desk_fail "$(basename "$binary") still holds a .comment section"
    readelf -d "$binary" | grep -Eq 'BIND_NOW|FLAGS.*NOW' || desk_fail "$(basename "$binary") is not linked with bind-now"
done

# --- a game --------------------------------------------------------------------------------
: > "$DESK_WORK/displayfd"
desk_start_x
launch() {
    run_as_player "$program" >"$DESK_WORK/orbilo.log" 2>&1 &
    DESK_PID=$!
}
launch
win=$(desk_window '^OrbiloVer1\.10$')
desk_geometry "$win"
menu=$(desk_menu_height "$win") || desk_fail "the main window was never painted"
sleep 0.3
others=$(xdotool search --onlyvisible --name '^OrbiloVer1\.10$' | grep -vc "^$win\$")
[ "$others" -eq 0 ] || desk_fail "a notice came up at start-up"
desk_shot package-01-start
board_y=$((WY + menu + 20))
tile() { echo "$((WX + 17 + 30 * $1 + 15)) $((board_y + 17 + 30 * $2 + 15))"; }
click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.25; }
for move in 1 2 3 4 5 6; do
    click_at $(tile 0 9)
    click_at $(tile 1 9)
done
notice=$(desk_message_box "$win" "end-of-game notice")
xdotool windowfocus --sync "$notice"
xdotool key Return
# The name entry offers the player's login name; OK enters it.
name=$(desk_window '^ランキング登録の名前を入力してください$')
desk_geometry "$name"
click_at $((WX + 269)) $((WY + 21))
rank=$(desk_window '^RanKing Top 30$')
desk_geometry "$rank"
sleep 0.3
desk_shot package-02-ranking
click_at $((WX + 347)) $((WY + 258))
desk_wait_gone '^RanKing Top 30$'

data="$home/.local/share/Orbilo"
[ -f "$data/Rank.dat" ] || desk_fail "no ranking in the player's data folder: $(ls -la "$data" 2>&1)"
grep -q "^1,${player:-$(id -un)},42," "$data/Rank.dat" ||
    desk_fail "the game did not score 6 x 7 from the installed table: $(sed -n 2p "$data/Rank.dat")"
cmp -s "$data/SG2.dat" "$root/usr/share/orbilo/SG2.dat" || desk_fail "the branch table was not seeded as installed"

# --- settings kept --------------------------------------------------------------------------
# Tick "支" in the set choice, then Ctrl+Q, which saves as ファイル → 終了 does.
desk_tick_branches "$win" "$board_y"
xdotool windowfocus --sync "$win"
xdotool key ctrl+q
desk_wait_exit
reg="$home/.config/Orbilo/registry.reg"
grep -q '"CG1"="3"' "$reg" 2>/dev/null || desk_fail "the ticked set was not stored in $reg"
launch
win=$(desk_window '^OrbiloVer1\.10$')
desk_menu_height "$win" >/dev/null || desk_fail "the main window was never painted again"
desk_shot package-03-restarted
desk_file_menu "$win" x
desk_wait_exit
grep -q '"CG1"="3"' "$reg" || desk_fail "the sets were not remembered across the restart"
echo "1 passed, 0 failed"
