#!/usr/bin/env bash
# Runs inside an X server without a window manager (scripts/run.sh starts it
# under Xvfb): starts the console, connects both links through its window as an
# operator would, lets telemetry come in and saves a screenshot of the screen.
#   connect-and-screenshot.sh CONSOLE SCREENSHOT SETTLE_SECONDS
set -euo pipefail
console=$1 screenshot=$2 settle=$3

# Where the connect buttons sit in the window's content (the form's fixed layout),
# and how far the menu bar pushes the content down.
connect1=(780 72)
connect2=(780 251)
menu_bar_height=19

"$console" & pid=$!
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
    xdotool windowfocus --sync "$box" key Return
    timeout 15 bash -c 'while xdotool search --onlyvisible --name "^Velmora Projekt$" >/dev/null; do sleep 0.2; done'
}

connect_link "${connect1[@]}"
connect_link "${connect2[@]}"
sleep "$settle"
import -window root "$screenshot"
