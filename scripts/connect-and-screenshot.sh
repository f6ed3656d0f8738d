#!/usr/bin/env bash
# Runs inside an X server without a window manager (scripts/run.sh starts it
# under Xvfb): starts the console, connects both links through its window as an
# operator would, waits until telemetry requests reach the simulator, lets the
# readings come in and saves a screenshot of the screen. With VELMORA_SCENE=kinematics
# it then opens the window "Kinematik" beside the main window, types a target and
# clicks "Anfahren", and the screenshot shows the arm on its way there (this scene
# finds its menu and window by their German names: the console in German).
#   connect-and-screenshot.sh CONSOLE SCREENSHOT SETTLE_SECONDS SIM_LOG [CONSOLE ARGUMENTS]
# The window's and the boxes' titles carry the program's name in every language.
set -euo pipefail
console=$1 screenshot=$2 settle=$3 sim_log=$4 scene=${VELMORA_SCENE:-telemetry}
shift 4

# Where the connect buttons sit in the window's content, and how far the menu bar
# pushes the content down. The form places its controls at fixed positions (no
# layouts), so these hold at any window size; moving a button in the form means
# changing them here.
connect1=(780 72)
connect2=(780 251)
menu_bar_height=19

"$console" "$@" & pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Velmora Projekt: ' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT

# Clicks a connect button and confirms the identification box that answers it.
connect_link() {
    local x=$((X + $1)) y=$((Y + menu_bar_height + $2)) box
    xdotool mousemove "$x" "$y" click 1
    if ! box=$(timeout 15 xdotool search --sync --onlyvisible --name '^Velmora Projekt$' | head -n 1); then
        echo "no identification box after clicking at $x,$y" >&2
        return 1
    fi
    # Without a window manager the focus change may never be reported: bounded.
    timeout 10 xdotool windowfocus --sync "$box" || echo "focus on the identification box not confirmed" >&2
    xdotool key Return
    timeout 15 bash -c 'while xdotool search --onlyvisible --name "^Velmora Projekt$" >/dev/null; do sleep 0.2; done'
}

connect_link "${connect1[@]}"
connect_link "${connect2[@]}"

# The simulator logs every line it receives; the console's temperature request on
# the chassis link shows that its telemetry rotation is running.
telemetry_seen=0
for _ in $(seq 75); do
    grep -qE '^[0-9]+ chassis T1$' "$sim_log" && { telemetry_seen=1; break; }
    sleep 0.2
done
sleep "$settle"
if [ "$scene" = kinematics ]; then
    # "&Ansicht" -> "&Kinematik...": the window comes up where it covers no control,
    # with the focus on itself. The target's X field sits near its top right
    # corner; Tab goes on from there to Y, Z, Neigung and Greifer.
    xdotool windowfocus "$window" key alt+a
    sleep 0.5
    xdotool key k
    kinematik=$(timeout 15 xdotool search --sync --onlyvisible --name '^Kinematik$' | head -n 1)
    timeout 10 xdotool windowfocus --sync "$kinematik" || echo "focus on Kinematik not confirmed" >&2
    eval "$(xdotool getwindowgeometry --shell "$kinematik" | sed 's/^/K_/')"
    xdotool mousemove $((K_X + K_WIDTH - 58)) $((K_Y + 60)) click 1
    xdotool key ctrl+a type --delay 50 "220"
    for value in 120 150 -20 8; do
        xdotool key Tab type --delay 50 -- "$value"
    done
    xdotool key Tab key alt+a # "&Anfahren": about 150 mm at 50 mm/s
    sleep 1.5
fi
import -window root "$screenshot"
if [ "$telemetry_seen" -eq 0 ]; then
    echo "no telemetry requests reached the simulator within 15 s (see $sim_log)" >&2
    exit 1
fi
