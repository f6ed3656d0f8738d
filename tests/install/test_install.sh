#!/usr/bin/env bash
# Installs the build into a scratch prefix and packs both packages, checks what a
# desktop and dpkg expect of them, and starts the installed program and the
# unpacked portable folder, each with a home of its own, to see where each keeps
# its files.
#   test_install.sh BUILD_DIR
set -euo pipefail
build=$1
id=io.github.velmora.Velmora
scratch=$(realpath "$(mktemp -d)")
program=""
trap '[ -z "$program" ] || kill "$program" 2>/dev/null || true; rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Width x height from a PNG's header.
png_size() { od -An -j16 -N8 -tu1 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'; }

# Starts a program with HOME and XDG_DATA_HOME in a home of its own, reads into
# line what it says about where its files lie, and ends it.
read_files_line() {
    local executable=$1 home=$2
    line=""
    mkdir -p "$home"
    mkfifo "$home/log"
    HOME=$home XDG_DATA_HOME=$home/data QT_LOGGING_RULES=velmora.files.info=true "$executable" 2>"$home/log" &
    program=$!
    while IFS= read -r -t 60 line && [[ $line != velmora.files:* ]]; do :; done <"$home/log"
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=""
}

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
installed=(bin/velmora bin/velmora-sim share/velmora/info.htm share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg share/doc/velmora/LICENSE)
for size in 16 24 32 48 64 128 256; do
    png=share/icons/hicolor/${size}x$size/apps/$id.png
    installed+=("$png")
    [ "$(png_size "$prefix/$png")" = "${size}x$size" ] || fail "$png is not ${size}x$size"
done
for file in "${installed[@]}"; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
[ ! -e "$prefix/bin/RFS" ] && [ ! -e "$prefix/bin/info.htm" ] || fail "a program directory was installed into bin/"
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null || fail "appstreamcli validate"

cpack --config "$build/CPackConfig.cmake" -B "$scratch/packages" >/dev/null
deb=$(echo "$scratch"/packages/velmora_*.deb)
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||' | grep -v '/$' | sort >"$scratch/deb-files"
printf 'usr/%s\n' "${installed[@]}" | sort | diff -u - "$scratch/deb-files" || fail "the Debian package holds other files"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "dpkg-shlibdeps filled no dependencies"

mkdir "$scratch/unpacked"
tar -xzf "$scratch"/packages/velmora-*.tar.gz -C "$scratch/unpacked"
portable=$(echo "$scratch"/unpacked/*)
[ "$(ls "$portable")" = "$(printf '%s\n' LICENSE RFS info.htm velmora velmora-sim)" ] && [ -d "$portable/RFS" ] ||
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
echo "installed tree, Debian package, portable folder: as expected"
