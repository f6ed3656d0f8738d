#!/usr/bin/env bash
# Installs the build into a scratch prefix and packs both packages, checks what a
# desktop and dpkg expect of them, and starts the installed program and the
# unpacked portable folder, each with a home of its own, to see where each keeps
# its files.
#   test_install.sh BUILD_DIR
set -euo pipefail
build=$1 id=io.github.velmora.Velmora
scratch=$(realpath "$(mktemp -d)") program=""
trap '[ -z "$program" ] || kill "$program" 2>/dev/null || true; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts a program with HOME and XDG_DATA_HOME in a home of its own, reads into
# line what it says about where its files lie, and ends it.
read_files_line() {
    mkdir -p "$2" && mkfifo "$2/log"
    HOME=$2 XDG_DATA_HOME=$2/data QT_LOGGING_RULES=velmora.files.info=true "$1" 2>"$2/log" &
    program=$!
    while IFS= read -r -t 60 line && [[ $line != velmora.files:* ]]; do :; done <"$2/log"
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=""
}

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
installed=(bin/velmora bin/velmora-sim share/velmora/info.htm share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg share/doc/velmora/LICENSE
    lib/python3/dist-packages/velmora.py share/doc/velmora/api.md share/doc/velmora/examples/pick_and_place.py
    share/doc/velmora/examples/drive_until_close.py)
for size in 16 24 32 48 64 128 256; do installed+=("share/icons/hicolor/${size}x$size/apps/$id.png"); done
(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) >"$scratch/installed"
printf '%s\n' "${installed[@]}" | sort | diff -u - "$scratch/installed" || fail "cmake --install installed other files"
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null || fail "appstreamcli validate"

cpack --config "$build/CPackConfig.cmake" -B "$scratch/packages" >/dev/null
deb=$(echo "$scratch"/packages/velmora_*.deb)
dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$scratch/deb"
sed 's|^|usr/|' "$scratch/installed" | diff -u - "$scratch/deb" || fail "the Debian package holds other files"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "dpkg-shlibdeps filled in no dependencies"
dpkg-deb -f "$deb" Depends | grep -q libqt6webenginecore6-bin || fail "the web engine's helper program is no dependency"

mkdir "$scratch/unpacked" && tar -xzf "$scratch"/packages/velmora-*.tar.gz -C "$scratch/unpacked"
portable=$(echo "$scratch"/unpacked/*)
[ "$(ls "$portable" | tr '\n' ' ')" = "LICENSE RFS info.htm python velmora velmora-sim " ] && [ -d "$portable/RFS" ] ||
    fail "the portable folder is not a program directory: $(ls "$portable" | tr '\n' ' ')"

home=$scratch/home-installed
read_files_line "$prefix/bin/velmora" "$home"
[ "$line" = "velmora.files: RFS/ in $home/data/velmora/, info.htm at $prefix/share/velmora/info.htm" ] ||
    fail "installed program: '$line'"
[ -d "$home/data/velmora/RFS" ] || fail "the installed program made no RFS/ in the user's data directory"

home=$scratch/home-portable
read_files_line "$portable/velmora" "$home"
[ "$line" = "velmora.files: RFS/ in $portable/, info.htm at $portable/info.htm" ] || fail "portable folder: '$line'"
[ ! -e "$home/data" ] || fail "the portable folder wrote to the user's data directory"
# The client imports from where it was installed, with the system's python3 alone.
PYTHONPATH="$prefix/lib/python3/dist-packages" /usr/bin/python3 -c 'import velmora' || fail "velmora.py does not import"
[ -f "$portable/python/velmora.py" ] && [ -x "$portable/python/examples/pick_and_place.py" ] ||
    fail "the portable folder lacks the Python client"
echo "installed tree, Debian package, portable folder: as expected"
