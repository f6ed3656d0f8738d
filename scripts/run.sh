#!/usr/bin/env bash
# Builds the console and the robot simulator, prepares a demo program directory
# whose settings point both links at the simulator, and starts both; the
# simulator stops when the console exits. Without a display the console runs
# under Xvfb: both links are connected through the window, a screenshot with
# live telemetry is saved and the script exits. Arguments go to the console
# (scripts/run.sh --lang en: the console in English).
#   VELMORA_BUILD_DIR   build directory (default: build)
#   VELMORA_SCREENSHOT  where the screenshot goes (default: <build dir>/velmora-screenshot.png)
#   VELMORA_SETTLE      seconds of telemetry before the screenshot (default: 5)
#   VELMORA_SCENE       telemetry (default), or kinematics: the window "Kinematik"
#                       beside the console, the arm on its way to a target
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELMORA_BUILD_DIR:-build}
headless_packages=()
[ -n "${DISPLAY:-}" ] || headless_packages=(xvfb xauth imagemagick xdotool)
scripts/install-deps.sh $(cat scripts/build-deps.txt) qt6-translations-l10n "${headless_packages[@]}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target velmora velmora-sim

# The console looks up RFS/ and info.htm beside its executable, and a symlink
# would lead it back to the build tree, so the demo gets a copy of the program.
demo=$build/demo
mkdir -p "$demo/RFS"
# Unlinked first: a console still running from an earlier demo keeps its own copy.
rm -f "$demo/velmora"
cp "$build/src/velmora" "$build/src/info.htm" "$demo/"
cp -r "$build/src/RFS/." "$demo/RFS/"

# Ports 0: the simulator takes free ones and prints them before "ready".
sim_output=$demo/velmora-sim.out
sim_log=$demo/velmora-sim.log
sim_args=(--arm-port 0 --chassis-port 0 --log "$sim_log")
[ -z "${DISPLAY:-}" ] || sim_args+=(--window)
"$build/sim/velmora-sim" "${sim_args[@]}" >"$sim_output" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    grep -qx ready "$sim_output" && break
    kill -0 "$sim" 2>/dev/null || { cat "$sim_output" >&2; exit 1; }
    sleep 0.1
done
grep -qx ready "$sim_output" || { echo "velmora-sim did not get ready" >&2; exit 1; }
sim_port() { sed -n "s/^$1-tcp 127\.0\.0\.1:\([0-9]*\)$/\1/p" "$sim_output"; }
arm_port=$(sim_port arm)
chassis_port=$(sim_port chassis)
echo "velmora-sim: arm on 127.0.0.1:$arm_port, chassis on 127.0.0.1:$chassis_port (status: $sim_output)"

# Default joints, both links at the simulator, the default webcam address; CR LF.
printf '%s\r\n' "16 751 2251 " "17 752 2252 " "18 753 2253 " "19 754 2254 " "20 1175 1825 " \
    "127.0.0.1 $arm_port " "127.0.0.1 $chassis_port " "192 168 100 5 " >"$demo/RFS/STARTW2.stw"

if [ -n "${DISPLAY:-}" ]; then
    "$demo/velmora" "$@"
    exit 0
fi

screenshot=${VELMORA_SCREENSHOT:-$build/velmora-screenshot.png}
xvfb-run --auto-servernum --server-args="-screen 0 1920x1080x24" \
    scripts/connect-and-screenshot.sh "$demo/velmora" "$screenshot" "${VELMORA_SETTLE:-5}" "$sim_log" "$@"
echo "Screenshot of the console talking to the simulator: $screenshot"
