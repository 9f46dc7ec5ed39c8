# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Cross-building the programs for 64-bit Windows with Debian's MinGW-w64 (the posix thread model,
# which std::thread needs). Libraries built for Windows are looked for under
# BRASVEL_WINDOWS_PREFIX (tools/build-windows.sh puts libdeflate, libpng, FFmpeg and GoogleTest
# there), under BRASVEL_WINDOWS_QT (Qt) and in MinGW's own tree; programs of the build machine are
# looked for on the build machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRASVEL_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRASVEL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRASVEL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${BRASVEL_MINGW}-windres)

if(NOT BRASVEL_WINDOWS_PREFIX)
    set(BRASVEL_WINDOWS_PREFIX "$ENV{BRASVEL_WINDOWS_PREFIX}")
endif()
# The static Qt for Windows (tools/windows-qt.sh), where the window is built.
if(NOT BRASVEL_WINDOWS_QT)
    set(BRASVEL_WINDOWS_QT "$ENV{BRASVEL_WINDOWS_QT}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${BRASVEL_MINGW} ${BRASVEL_WINDOWS_PREFIX} ${BRASVEL_WINDOWS_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe with nothing beside it: the C and C++ runtimes and winpthreads linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# The tests run the programs under wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
