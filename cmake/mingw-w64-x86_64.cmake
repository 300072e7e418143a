# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compilers. The -posix flavour:
# its libstdc++ has std::thread, which the best-score analysis runs on.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORBILO_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ORBILO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORBILO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORBILO_MINGW_TRIPLE}-windres)

# Headers, libraries and CMake packages come from the MinGW root (and from the prefixes the
# caller adds, such as the cross-built Qt); programs run during the build are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${ORBILO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
