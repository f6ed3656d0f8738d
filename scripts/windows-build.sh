#!/usr/bin/env bash
# Builds the console and the simulator for Windows with mingw against the Windows
# SDK (scripts/windows-sdk.sh), without Qt WebEngine, into build-windows/console,
# and packs, beside each other in build-windows/console, the portable folder as
# velmora-<version>-windows-x86_64.zip and the installer Velmora-<version>-win64-setup.exe
# (Debian's makensis; packaging/windows/).
# The same build makes tests/console_wine_driver.exe, which test_console_under_wine
# runs under Wine (scripts/windows-test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh cmake g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix qt6-base-dev-tools \
    qt6-tools-dev qt6-l10n-tools librsvg2-bin icoutils nsis
sdk=$(scripts/windows-sdk.sh build-windows)
cmake -S . -B build-windows/console -DCMAKE_BUILD_TYPE=Release -DVELMORA_BENCHMARKS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DWINDOWS_SDK="$sdk" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
cmake --build build-windows/console -j"$(nproc)" --target velmora velmora-sim console_wine_driver
(cd build-windows/console && cpack)
