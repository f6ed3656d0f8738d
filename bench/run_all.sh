#!/usr/bin/env bash
# Builds the benchmarks in Release in their own build directory and runs them
# all, printing every figure: one line each, "name value unit", then the
# same-run reference and the ratio to it, then the goal and whether it was met.
# Takes about 10 minutes; run it on a machine as quiet as can be had.
#   VELMORA_BENCH_DIR    build directory (default: build-bench)
#   VELMORA_BENCH_QUICK  1 for a quick look: fewer rounds, shorter periods
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELMORA_BENCH_DIR:-build-bench}
scripts/install-deps.sh $(cat scripts/build-deps.txt)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target velmora_benchmarks >/dev/null
bin=$(cd "$build/bench" && pwd)

export QT_QPA_PLATFORM=offscreen
# The web engine refuses to start as root unless its sandbox is off.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1

if [ "${VELMORA_BENCH_QUICK:-0}" = 1 ]; then
    receive=(600) cadence=(10) arm=(60) player=(10) idle=(5) startup=(3) reconnect=(5) flood=(3) kinematics=(6) remote=(5)
else
    receive=() cadence=() arm=() player=() idle=() startup=() reconnect=() flood=() kinematics=() remote=()
fi

figures=$bin/figures.txt
echo "machine: $(nproc) cores, $(uname -sr), load average $(cut -d' ' -f1-3 /proc/loadavg) at start" | tee "$figures"
failed=0
run() {
    local name=$1
    shift
    echo "== $name" | tee -a "$figures"
    # Qt's own remarks go to a log beside the program, shown only if it fails.
    if ! "$bin/$name" "$@" 2>"$bin/$name.log" | tee -a "$figures"; then
        echo "$name failed:" >&2
        cat "$bin/$name.log" >&2
        failed=1
    fi
}
run bench_receive_latency "${receive[@]}"
run bench_chassis_cadence "${cadence[@]}"
run bench_arm_latency "${arm[@]}"
run bench_player_latency "${player[@]}"
run bench_idle_cpu "${idle[@]}"
run bench_log_append
run bench_startup "${startup[@]}"
run bench_telemetry_parser
run bench_telemetry_history
run bench_telemetry_flood "${flood[@]}"
run bench_kinematics
run bench_kinematics_window "${kinematics[@]}"
run bench_reconnect "${reconnect[@]}"
run bench_remote_api "${remote[@]}"
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) at end" | tee -a "$figures"
echo "goals missed: $(grep -c 'MISSED' "$figures" || true) (all figures in $figures)"
exit "$failed"
