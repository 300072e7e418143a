#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Orbilo (Release, installed under /usr) and its Debian package with CPack into
# build-package/. Installs what is missing on a Debian 12 machine. The package's library
# dependencies are found by dpkg-shlibdeps. Only what the package ships is built.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
orbilo_install_deps
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DORBILO_BUILD_TESTS=OFF -DORBILO_BUILD_TOOLS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr
cmake --build build-package -j2
(cd build-package && cpack -G DEB)
ls -1 build-package/*.deb
