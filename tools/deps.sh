#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages the build, the tests and the game need, when any is missing.
# Sourced by run.sh and test.sh. Works as root, or through sudo for a desktop user.
# qt6-translations-l10n holds Qt's own Japanese texts for the stock dialogs; the game runs
# without it, in English there. qt6-tools-dev (Qt6LinguistTools for CMake) and qt6-l10n-tools
# (lupdate, lrelease) build the program's own catalogues of its other languages. at-spi2-core, python3-pyatspi and dbus carry the desktop
# check of what a screen reader finds (a private session bus and accessibility bus).
orbilo_packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev libpulse-dev
                 googletest libgtest-dev libbenchmark-dev fonts-ipafont-gothic fonts-ipafont-mincho
                 xvfb x11-utils xdotool imagemagick appstream pulseaudio pulseaudio-utils
                 qt6-translations-l10n qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
                 at-spi2-core python3-pyatspi dbus)

orbilo_install_deps() {
    local missing=()
    local p
    for p in "${orbilo_packages[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "Missing packages (${missing[*]}) and no sudo: install them as root." >&2
            return 1
        fi
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q &&
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}
