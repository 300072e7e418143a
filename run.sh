#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Orbilo (Release) and starts it. Installs what is missing on a Debian 12 machine.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
orbilo_install_deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DORBILO_BUILD_TESTS=OFF
cmake --build build -j2
if [ -x build/bin/orbilo ]; then
    exec build/bin/orbilo "$@"
else
    echo "Built; the default score tables are in build/bin."
fi
