#!/usr/bin/env bash
# Prints the directory of the Windows SDK for the mingw build: Qt 6.4.2, SDL2 and
# QCustomPlot built for Windows from Debian 12's sources, with the mingw runtime DLLs.
# It is unpacked once under the build tree from ../shared/toolchains/velmora-windows-sdk.tar.xz
# beside the repository when that exists (and again when the tarball changes); otherwise
# it is built from Debian's source packages by scripts/build-windows-sdk.sh, which takes
# about an hour on two cores and needs a deb-src entry for bookworm.
#   scripts/windows-sdk.sh [--no-build] [BUILD_DIR]    (default: build-windows)
# With --no-build it exits with status 3 instead of building the SDK.
set -euo pipefail
no_build=false
if [ "${1:-}" = --no-build ]; then
    no_build=true
    shift
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-windows}")
sdk=$build/sdk/velmora-windows-sdk
marker=$sdk/.velmora-sdk-source
tarball=$root/../shared/toolchains/velmora-windows-sdk.tar.xz

if [ -f "$tarball" ]; then
    source_id="tarball $(stat -c '%s %Y' "$tarball")"
    if [ "$(cat "$marker" 2>/dev/null)" != "$source_id" ]; then
        rm -rf "$build/sdk" && mkdir -p "$build/sdk"
        tar xJf "$tarball" -C "$build/sdk"
        echo "$source_id" >"$marker"
    fi
elif [ ! -f "$marker" ]; then
    $no_build && exit 3
    if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version: 6.4.2'; then
        echo "No $tarball, and no deb-src entry to build the SDK from Debian's sources:" >&2
        echo "add 'deb-src' to the bookworm sources (Types: deb deb-src) and run apt-get update." >&2
        exit 1
    fi
    "$root/scripts/install-deps.sh" qt6-base-dev qt6-base-dev-tools mingw-w64 cmake ninja-build >&2
    echo "Building the Windows SDK from Debian's sources (about an hour on two cores)" >&2
    "$root/scripts/build-windows-sdk.sh" "$sdk" "$build/sdk-sources" >&2
    echo "built from Debian's sources" >"$marker"
fi
echo "$sdk"
