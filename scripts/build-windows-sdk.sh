#!/usr/bin/env bash
# Builds the Windows SDK for Velmora from Debian 12's source packages with Debian's
# mingw-w64 (posix threads): Qt 6.4.2 (Core, Gui, Widgets, Network, PrintSupport, Test,
# the windows platform plugin), SDL2 2.26.5 and QCustomPlot 2.1.0, installed into one
# prefix and packed as WORKDIR/velmora-windows-sdk.tar.xz.
#   build-windows-sdk.sh PREFIX WORKDIR     (about an hour on two cores; scripts/windows-sdk.sh calls it)
# Needs: a deb-src entry for bookworm, and the Debian packages qt6-base-dev qt6-base-dev-tools
# mingw-w64 cmake ninja-build (Debian's Qt 6.4.2 serves as the host tools).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 2 ] || { sed -n '2,8p' "$0" >&2; exit 2; }
prefix=$1   # its last folder name is the tarball's top folder
work=$2
toolchain=$(cd "$here/../cmake" && pwd)/mingw-w64-x86_64.cmake
jobs=$(nproc)
mkdir -p "$work" && cd "$work"
[ -f qt6-base_6.4.2+dfsg.orig.tar.xz ] || apt-get source --download-only qt6-base libsdl2 qcustomplot
if [ ! -d qtbase-everywhere-src-6.4.2 ]; then
  tar xf qt6-base_6.4.2+dfsg.orig.tar.xz
  # Qt 6.4.2 leaves dynamic GL on when OpenGL is off; the windows plugin then names GL types it lacks.
  sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
    qtbase-everywhere-src-6.4.2/src/plugins/platforms/windows/qwindowswindow.cpp
fi

cmake -S qtbase-everywhere-src-6.4.2 -B build-qt -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF \
  -DFEATURE_tabletevent=OFF   # Debian's source leaves out the Wintab headers
cmake --build build-qt --parallel "$jobs"
cmake --install build-qt

[ -d SDL2-2.26.5 ] || tar xf libsdl2_2.26.5+dfsg.orig.tar.gz
cmake -S SDL2-2.26.5 -B build-sdl -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DSDL_TEST=OFF -DSDL_STATIC=OFF
cmake --build build-sdl --parallel "$jobs"
cmake --install build-sdl

if [ ! -d qcp ]; then
  mkdir qcp && tar xf qcustomplot_2.1.0+dfsg1.orig.tar.gz -C qcp && tar xf qcustomplot_2.1.0+dfsg1-3.1.debian.tar.xz -C qcp
  (cd qcp/qcustomplot-2.1.0+dfsg1 && for p in $(cat ../debian/patches/series); do patch -p1 < "../debian/patches/$p"; done)
fi
cmake -S qcp/qcustomplot-2.1.0+dfsg1 -B build-qcp -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_PREFIX_PATH="$prefix" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DUSE_QT_VERSION=6
cmake --build build-qcp --parallel "$jobs"
cmake --install build-qcp

# the mingw runtime the DLLs need at run time
for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do
  cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$prefix/bin/"
done
cp /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$prefix/bin/"
# relocatable: Qt's own toolchain file chains to the copy of ours inside the SDK, and the
# qmake metadata names no build directory
cp "$toolchain" "$prefix/lib/cmake/velmora-mingw-posix.cmake"
sed -i 's#^set(__qt_initially_configured_toolchain_file .*#set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/../velmora-mingw-posix.cmake")#' \
  "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
sed -i 's#^set(QT_SOURCE_TREE "[^"]*"#set(QT_SOURCE_TREE ""#' "$prefix/lib/cmake/Qt6BuildInternals/QtBuildInternalsExtra.cmake"
grep -rl "$work" --include=*.prl --include=*.pri "$prefix" | xargs -r sed -i "s#$work/#../#g"
tar cJf "$work/velmora-windows-sdk.tar.xz" -C "$(dirname "$prefix")" --exclude="$(basename "$prefix")/doc" "$(basename "$prefix")"
echo "SDK in $prefix, packed as $work/velmora-windows-sdk.tar.xz"
