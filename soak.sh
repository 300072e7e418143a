#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The kill soak: builds orbilo_soak (build-soak) and has it kill a process that saves the
# score tables, the ranking and the settings through the program's own code N times, at a
# random moment of a table's first save (which makes its backup copy), of a table save, of
# the Rank.dat save or of a settings write, in turns. After every kill each file must hold
# one whole version that was saved, each backup the oldest contents, and the settings every
# value. Prints one table of kills per step and exits 1 when anything was lost. Linux only;
# not part of ./test.sh or CI.
#
#   ./soak.sh [N] [SEED]     N defaults to 200; SEED repeats a run
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
orbilo_install_deps

kills=${1:-200}
case "$kills" in
    '' | *[!0-9]* | 0) echo "usage: $0 [N] [SEED]" >&2; exit 2 ;;
esac
cmake -S . -B build-soak -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBILO_BUILD_TESTS=OFF >/dev/null
cmake --build build-soak -j2 --target orbilo_soak
exec build-soak/bin/orbilo_soak "$kills" ${2:+"$2"}
