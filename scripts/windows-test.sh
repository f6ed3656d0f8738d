#!/usr/bin/env bash
# The Windows stage of CI: builds the console for Windows (scripts/windows-build.sh)
# and runs its window under Wine on an Xvfb of the test's own against the Linux
# simulator (test_console_under_wine, label windows). The serial core's Wine tests
# run with the test command. Without the Windows SDK (its tarball is not beside
# the repository and none was built here) the window tests are skipped, as
# building the SDK takes about an hour on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."
sdk_status=0
scripts/windows-sdk.sh --no-build build-windows >/dev/null || sdk_status=$?
if [ "$sdk_status" -eq 3 ]; then
    echo "windows: the console's window under Wine is SKIPPED: no Windows SDK. Put velmora-windows-sdk.tar.xz"
    echo "into ../shared/toolchains/ beside the repository, or build it once with scripts/windows-sdk.sh"
    echo "(from Debian's sources, about an hour on two cores)."
    exit 0
fi
[ "$sdk_status" -eq 0 ] || exit "$sdk_status"
scripts/windows-build.sh
scripts/install-deps.sh $(cat scripts/build-deps.txt) g++-mingw-w64-x86-64 wine64 fonts-wine xvfb
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WINDOWS_CONSOLE="$PWD/build-windows/console"
cmake --build build -j"$(nproc)" --target test_console_under_wine velmora-sim
ctest --test-dir build -R '^test_console_under_wine$' --output-on-failure
