#!/usr/bin/env bash
# Builds the console and starts it. Without a display it runs under Xvfb, saves a
# screenshot of the window after start-up and exits.
#   VELMORA_SCREENSHOT  where the screenshot goes (default: build/velmora-screenshot.png)
#   VELMORA_SETTLE      seconds to wait before the screenshot (default: 5)
set -euo pipefail
cd "$(dirname "$0")/.."
headless_packages=()
[ -n "${DISPLAY:-}" ] || headless_packages=(xvfb xauth imagemagick)
scripts/install-deps.sh $(cat scripts/build-deps.txt) "${headless_packages[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target velmora
console=build/src/velmora
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1

if [ -n "${DISPLAY:-}" ]; then
    exec "$console"
fi

screenshot=${VELMORA_SCREENSHOT:-build/velmora-screenshot.png}
xvfb-run --auto-servernum --server-args="-screen 0 1920x1080x24" bash -c '
    "$1" & console=$!
    sleep "$2"
    import -window root "$3"
    kill "$console"; wait "$console" 2>/dev/null || true
' _ "$console" "${VELMORA_SETTLE:-5}" "$screenshot"
echo "Screenshot of the console: $screenshot"
