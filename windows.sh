#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Orbilo for 64-bit Windows on Debian 12: MinGW-w64 cross compilers, Qt 6.4.2 built
# once from Debian's qt6-base source into the user's cache folder, then Orbilo against it,
# packaged as a zip and an NSIS installer. Installs what is missing (as root or through sudo).
#   ./windows.sh            Qt (once), Orbilo, build-win/Orbilo-*-win64.zip and the installer
#   ./windows.sh --qt       only Qt for MinGW (reused when present)
#   ./windows.sh --test     the above, then every cross-built suite and the desktop check
#                           under Wine
set -euo pipefail
cd "$(dirname "$0")"
src=$PWD

qt_version=6.4.2
cache=${XDG_CACHE_HOME:-$HOME/.cache}/orbilo-windows
qt_prefix=$cache/qt-$qt_version-mingw
jobs=${ORBILO_JOBS:-2}

win_packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
              mingw-w64-x86-64-dev cmake ninja-build qt6-base-dev qt6-base-dev-tools dpkg-dev
              xz-utils zip unzip nsis wine wine64 googletest)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# apt's source mechanism needs deb-src lines; add them for the Debian archive in use when
# the machine has none.
ensure_deb_src() {
    if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return 0
    fi
    local from=/etc/apt/sources.list.d/debian.sources
    if [ -f "$from" ]; then
        sed 's/^Types: deb$/Types: deb-src/' "$from" | as_root tee /etc/apt/sources.list.d/orbilo-deb-src.sources >/dev/null
    else
        grep -hE '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            as_root tee /etc/apt/sources.list.d/orbilo-deb-src.list >/dev/null
    fi
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
}

# Qt 6.4.2 for x86_64-w64-mingw32 from Debian's qt6-base source, into $qt_prefix. The host's
# moc, rcc and uic are the same version and stand in for the cross-built ones. Everything
# Orbilo does not use is off; the third-party libraries are the tarball's own. The
# compiling runs at the lowest CPU and disk priority: it is long and need not hurry others.
build_qt() {
    if [ -f "$qt_prefix/.complete" ]; then
        echo "Qt for MinGW: $qt_prefix"
        return 0
    fi
    ensure_deb_src
    mkdir -p "$cache/src"
    local srcdir=$cache/src/qtbase
    if [ ! -f "$srcdir/CMakeLists.txt" ]; then
        rm -rf "$cache/src/qt6-base"* "$srcdir"
        (cd "$cache/src" && apt-get source -q qt6-base)
        local got
        got=$(find "$cache/src" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n1)
        [ -n "$got" ] || { echo "apt-get source qt6-base gave no $qt_version tree" >&2; exit 1; }
        mv "$got" "$srcdir"
    fi
    # Qt remembers the toolchain file it was built with: keep a copy beside it.
    mkdir -p "$qt_prefix"
    cp "$src/cmake/mingw-w64-x86_64.cmake" "$cache/mingw-w64-x86_64.cmake"
    local t0=$SECONDS
    cmake -S "$srcdir" -B "$cache/qt-build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$cache/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_md4c=OFF
    echo "Qt configured in $((SECONDS - t0)) s; building (about 1,130 steps)"
    t0=$SECONDS
    nice -n 19 ionice -c3 cmake --build "$cache/qt-build" -j"$jobs"
    echo "Qt built in $((SECONDS - t0)) s"
    cmake --install "$cache/qt-build"
    date -u +%FT%TZ > "$qt_prefix/.complete"
}

mode=${1:-}
install_packages "${win_packages[@]}"
build_qt
[ "$mode" = "--qt" ] && exit 0
