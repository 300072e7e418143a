#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The NSIS installer under Wine, silently, both ways: for the current user (their own
# programs folder, the entry in their Start menu) and for everyone (Program Files, the
# all-users Start menu). Each install must hold the program, its DLLs, its plugins and its
# default tables, say how to uninstall it, and go away whole with its uninstaller.
#   wine-installer.sh BUILD-DIR     (BUILD-DIR: a cross build with the installer made)
set -uo pipefail
build=$(cd "$1" && pwd)
wine_run=$build/wine-run.sh
setup=$(ls "$build"/Orbilo-*-win64-setup.exe 2>/dev/null | head -n 1)
[ -x "$wine_run" ] && [ -n "$setup" ] || { echo "no installer in $build; skipped"; exit 77; }

fail() { echo "FAIL: $*" >&2; exit 1; }
win() { "$wine_run" "$@" 2>/dev/null | tr -d '\r'; }
unix() { win winepath -u "$1"; }
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Orbilo'

check_install() { # MODE ROOT-KEY FOLDER START-MENU
    local mode=$1 root=$2 folder=$3 menu=$4
    win "$setup" /S "/$mode" || fail "the $mode install failed"
    local f
    for f in orbilo.exe orbilo_sound_win.dll Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll \
             libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll qt.conf Uninstall.exe \
             share/orbilo/SG1.dat share/orbilo/SG2.dat share/orbilo/SG3.dat; do
        [ -f "$folder/$f" ] || fail "$mode: $f is not in $folder"
    done
    [ -f "$menu/Orbilo.lnk" ] || fail "$mode: no Start-menu entry in $menu"
    win reg query "$root\\$uninstall_key" /v UninstallString | grep -q 'Uninstall.exe' ||
        fail "$mode: no uninstall entry under $root"
    win "$folder/Uninstall.exe" /S "/$mode" "_?=$(win winepath -w "$folder")" || fail "$mode: the uninstaller failed"
    # With _?= the uninstaller runs in place and leaves itself; a player's run removes it too.
    rm -f "$folder/Uninstall.exe" && rmdir "$folder" 2>/dev/null
    [ -e "$folder/orbilo.exe" ] && fail "$mode: the uninstaller left the program"
    [ -e "$menu/Orbilo.lnk" ] && fail "$mode: the uninstaller left the Start-menu entry"
    win reg query "$root\\$uninstall_key" >/dev/null 2>&1 && fail "$mode: the uninstall entry is still there"
    echo "$mode install and uninstall: ok"
}

local_programs=$(unix "$(win cmd /c echo %LOCALAPPDATA%)")/Programs/Orbilo
user_menu=$(unix "$(win cmd /c echo %APPDATA%)")/Microsoft/Windows/Start\ Menu/Programs
check_install CurrentUser HKCU "$local_programs" "$user_menu"
program_files=$(unix "$(win cmd /c echo %ProgramW6432%)")/Orbilo
all_menu=$(unix "$(win cmd /c echo %ProgramData%)")/Microsoft/Windows/Start\ Menu/Programs
check_install AllUsers HKLM "$program_files" "$all_menu"
echo "2 passed, 0 failed"
