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
# Orbilo does not use is off; the third-party libraries are the tarball's own. Fonts go
# through GDI: in 6.4.2 the DirectWrite font database is only built with Direct2D, which
# is off, and the Windows plugin would not link against a Qt without it. The
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
    mkdir -p "$qt_prefix"
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
        -DFEATURE_directwrite=OFF -DFEATURE_directwrite3=OFF \
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

# Orbilo against that Qt, into build-win (with the tests when asked). Its own programs (the
# default tables' writer, the tests) run under Wine, in a prefix kept beside the Qt.
build_orbilo() {
    local tests=$1
    local launcher=()
    if command -v ccache >/dev/null 2>&1; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
        export CCACHE_BASEDIR="$src"
    fi
    export WINEPREFIX=$cache/wine
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Making the Wine prefix $WINEPREFIX"
        WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >/dev/null 2>&1 || true
        wineserver -w || true
    fi
    "$qt_prefix/bin/qt-cmake" -S "$src" -B "$src/build-win" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DORBILO_BUILD_TESTS="$tests" -DORBILO_BUILD_TOOLS=OFF \
        -DORBILO_WINEPREFIX="$WINEPREFIX" \
        -DCMAKE_INSTALL_PREFIX="$src/build-win/stage" "${launcher[@]}" >/dev/null
    cmake --build "$src/build-win" -j"$jobs"
}

# The zip (a portable copy: the default tables beside the executable, so it keeps its tables
# and ranking in its own folder wherever it is unpacked and can write) and the installer.
package() {
    local b=$src/build-win
    local name
    name=Orbilo-$(sed -n 's/^project(Orbilo VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")-win64
    rm -rf "$b/stage" "$b/$name" "$b/$name.zip"
    cmake --install "$b" --prefix "$b/stage" --strip >/dev/null
    cp -r "$b/stage" "$b/$name"
    mv "$b/$name/share/orbilo/"SG*.dat "$b/$name/"
    rm -r "$b/$name/share"
    (cd "$b" && zip -qr9 -X "$name.zip" "$name")
    (cd "$b" && cpack -G NSIS >/dev/null)
    ls -l "$b/$name.zip" "$b/$name-setup.exe" | awk '{ printf "%s  %.1f MB\n", $NF, $5 / 1048576 }'
}

# Every suite under Wine, the program under Wine and Xvfb, and the installer.
run_tests() {
    (cd "$src/build-win" && ctest --output-on-failure -j"$jobs" --timeout 300 "$@")
}

# Qt remembers the toolchain file it was built with, and hands it on to every build against
# it: a copy in the cache, kept up to date.
mkdir -p "$cache"
cmp -s "$src/cmake/mingw-w64-x86_64.cmake" "$cache/mingw-w64-x86_64.cmake" ||
    cp "$src/cmake/mingw-w64-x86_64.cmake" "$cache/mingw-w64-x86_64.cmake"

mode=${1:-}
case "$mode" in
    ""|--qt|--test|--ci) ;;
    *) echo "usage: $0 [--qt|--test|--ci]" >&2; exit 2 ;;
esac
if [ "$mode" = "--ci" ]; then
    # CI builds no Qt: an hour of two cores is more than its run may take.
    if [ ! -f "$qt_prefix/.complete" ]; then
        echo "Windows build skipped: no Qt for MinGW in $qt_prefix. ./windows.sh builds it once (about an hour)."
        exit 0
    fi
    install_packages "${win_packages[@]}" xvfb xdotool imagemagick
    build_orbilo ON
    # The game logic, the analysis and the platform suite (the registry against Wine's
    # registry, settings, files, code page 932, sounds): about two minutes from a clean
    # clone with a warm compiler cache, the Qt above being there. The fuzz seeds, the
    # desktop check and the installer are ./windows.sh --test's (about a minute more).
    run_tests -R '^(core|solver|platform)-tests\.'
    exit 0
fi
install_packages "${win_packages[@]}"
build_qt
[ "$mode" = "--qt" ] && exit 0
if [ "$mode" = "--test" ]; then
    install_packages xvfb xdotool imagemagick
    build_orbilo ON
    package
    run_tests
    bash "$src/tests/desktop/wine-installer.sh" "$src/build-win"
else
    build_orbilo OFF
    package
fi
