#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Orbilo with its tests and runs every test with ctest. Installs what is missing on a
# Debian 12 machine. Options:
#   --sanitize   build into build-asan with AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
orbilo_install_deps

dir=build-test
extra=()
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-asan
    extra=(-DORBILO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    # Leaks are checked at every test's exit; only system libraries' are suppressed.
    export ASAN_OPTIONS=detect_leaks=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS=print_stacktrace=1
fi
# A compiler cache, when the machine has one, keyed by paths inside the tree, so that a fresh
# clone elsewhere builds from what an earlier build of the same sources left.
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR=$PWD
    extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBILO_BUILD_TESTS=ON "${extra[@]}"
cmake --build "$dir" -j2
cd "$dir"
ctest --output-on-failure -j2 --timeout 300
