#!/usr/bin/env bash
# Builds Velmora with its tests and runs them all through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
# socat and ptys for the serial tests; the serial core built for Windows with
# mingw runs under wine64 (CTest label windows); the installed launcher and
# metadata are validated with desktop-file-utils and appstream; the companion
# windows are tried under a real window manager, openbox on an Xvfb display
# (xprop and xdotool ask it and move a window as a user would); Qt's own German
# texts come with qt6-translations-l10n.
scripts/install-deps.sh $(cat scripts/build-deps.txt) socat g++-mingw-w64-x86-64 wine64 desktop-file-utils appstream \
    openbox xvfb xauth x11-utils xdotool qt6-translations-l10n
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
# The web engine refuses to start as root unless its sandbox is off.
export QTWEBENGINE_DISABLE_SANDBOX=1
ctest --test-dir build --output-on-failure
