#!/bin/bash
# Measures the three start-up targets side by side in one run and prints them as ratios:
#   1. `parvel info FILE`, whole process, against an empty C++ program built with the same
#      flags (hyperfine), and the peak memory of both (/usr/bin/time -f %M);
#   2. load -> recognise -> write of the full image in process (parvel_bench);
#   3. `hexparvel FILE` to its first painted main window against a minimal Qt main window,
#      both under Xvfb and both ended by the same probe plugin right after the first paint;
#      a third window, built from the list of widgets hexparvel shows for this file (written by
#      the probe), splits the ratio into what the window's contents cost in Qt and what the
#      program adds.
#
# Usage: bench/startup.sh [BUILD_DIR]   (default: build-bench)
# The build dir must be a Release build with -DPARVEL_BENCHMARKS=ON (and the GUI for item 3):
#   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARVEL_BENCHMARKS=ON -DPARVEL_TESTS=OFF
#   cmake --build build-bench
# Needs hyperfine (Debian: apt-get install hyperfine), /usr/bin/time (package time) and Xvfb.
# CLI_RUNS and GUI_RUNS set the number of timed runs (300 and 60), ROUNDS the number of rounds
# they are spread over (10).
set -euo pipefail

BUILD=${1:-build-bench}
CLI_RUNS=${CLI_RUNS:-300}
GUI_RUNS=${GUI_RUNS:-60}
ROUNDS=${ROUNDS:-10}

for tool in hyperfine /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "startup.sh needs $tool (Debian: apt-get install ${tool##*/})" >&2; exit 2; }
done
for exe in cli/parvel bench/parvel_bench bench/parvel_empty bench/parvel_full_image; do
    [ -x "$BUILD/$exe" ] || { echo "missing $BUILD/$exe: build $BUILD first (see the head of this script)" >&2; exit 2; }
done

WORK=$(mktemp -d)
XVFB_PID=""
cleanup() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

FILE=$WORK/full.hex
"$BUILD/bench/parvel_full_image" "$FILE"
PARVEL=$BUILD/cli/parvel
EMPTY=$BUILD/bench/parvel_empty

# Column of the hyperfine CSV (command,mean,stddev,median,user,system,min,max) for row n.
csv() { awk -F, -v row="$2" -v col="$3" 'NR == row + 1 { print $col }' "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
ms() { awk -v s="$1" 'BEGIN { printf "%.2f ms", s * 1000 }'; }
# Times commands in ROUNDS rounds (default 10), each command taking its turn in every round with
# RUNS / ROUNDS timed runs, so that a slow spell of the shared machine does not fall on one
# command only. Writes OUT like hyperfine's CSV, one row per command in the order given:
# command, mean of all runs, (empty), median of the rounds' medians, mean user and system time.
#   interleaved OUT WARMUP RUNS [-i] COMMAND...
interleaved() {
    local out=$1 warmup=$2 runs=$3
    shift 3
    local ignore=()
    if [ "$1" = "-i" ]; then ignore=(-i); shift; fi
    local per=$(( (runs + ROUNDS - 1) / ROUNDS )) round k
    for round in $(seq "$ROUNDS"); do
        k=0
        for command in "$@"; do
            k=$((k + 1))
            # Its warnings about outliers would repeat in every round; its errors are shown.
            hyperfine -N "${ignore[@]}" --style none --warmup "$warmup" --runs "$per" \
                --export-csv "$WORK/round-$k-$round.csv" "$command" >/dev/null 2>"$WORK/hyperfine.err" ||
                { cat "$WORK/hyperfine.err" >&2; exit 1; }
        done
    done
    echo "command,mean,stddev,median,user,system" >"$out"
    k=0
    for command in "$@"; do
        k=$((k + 1))
        for round in $(seq "$ROUNDS"); do sed -n 2p "$WORK/round-$k-$round.csv"; done >"$WORK/rounds.csv"
        local mid
        mid=$(cut -d, -f4 "$WORK/rounds.csv" | sort -g |
              awk '{ m[NR] = $1 } END { print NR % 2 ? m[(NR + 1) / 2] : (m[NR / 2] + m[NR / 2 + 1]) / 2 }')
        awk -F, -v name="$command" -v mid="$mid" '
            { mean += $2; user += $5; sys += $6 }
            END { printf "%s,%.9f,,%s,%.9f,%.9f\n", name, mean / NR, mid, user / NR, sys / NR }' \
            "$WORK/rounds.csv" >>"$out"
    done
}
# Smallest of several peak-memory readings (kB), so a disturbed run does not count.
peak_kb() {
    local best=""
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        local kb
        kb=$(/usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1)
        if [ -z "$best" ] || [ "$kb" -lt "$best" ]; then best=$kb; fi
    done
    echo "$best"
}

echo "== 1. parvel info FILE against an empty C++ program ($CLI_RUNS runs each)"
interleaved "$WORK/cli.csv" 10 "$CLI_RUNS" "$PARVEL info $FILE" "$EMPTY"
P_MEAN=$(csv "$WORK/cli.csv" 1 2); P_MED=$(csv "$WORK/cli.csv" 1 4)
E_MEAN=$(csv "$WORK/cli.csv" 2 2); E_MED=$(csv "$WORK/cli.csv" 2 4)
P_KB=$(peak_kb "$PARVEL" info "$FILE"); E_KB=$(peak_kb "$EMPTY")
P_CPU=$(awk -F, 'NR == 2 { print $5 + $6 }' "$WORK/cli.csv"); E_CPU=$(awk -F, 'NR == 3 { print $5 + $6 }' "$WORK/cli.csv")
echo "   parvel info: mean $(ms "$P_MEAN"), median $(ms "$P_MED"), CPU $(ms "$P_CPU"), peak $P_KB kB"
echo "   empty:       mean $(ms "$E_MEAN"), median $(ms "$E_MED"), CPU $(ms "$E_CPU"), peak $E_KB kB"

echo "== 2. load -> recognise -> write in process"
"$BUILD/bench/parvel_bench" --benchmark_filter=BM_RoundTripInMemory --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null >"$WORK/rt.csv"
# CPU time of the benchmark thread: on a shared machine the wall time also counts the time
# slices of other processes.
RT_WALL=$(awk -F, '/_median"?,/ { printf "%.1f", $3 }' "$WORK/rt.csv")
RT_US=$(awk -F, '/_median"?,/ { printf "%.1f", $4 }' "$WORK/rt.csv")
echo "   round trip: median of 5 repetitions $RT_US µs CPU ($RT_WALL µs wall)"

GUI=""
if [ -x "$BUILD/app/hexparvel" ] && [ -x "$BUILD/bench/parvel_minimal_window" ] &&
   [ -x "$BUILD/bench/parvel_same_widgets_window" ] &&
   [ -f "$BUILD/bench/plugins/generic/libparvel_paintprobe.so" ] && command -v Xvfb >/dev/null; then
    echo "== 3. hexparvel FILE against a minimal Qt main window, to the first paint ($GUI_RUNS runs each)"
    exec 3>"$WORK/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    exec 3>&-
    for _ in $(seq 50); do [ -s "$WORK/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n 1 "$WORK/display")"
    export QT_QPA_PLATFORM=xcb QT_PLUGIN_PATH="$BUILD/bench/plugins" QT_QPA_GENERIC_PLUGINS=parvelpaintprobe
    export XDG_RUNTIME_DIR="$WORK/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    # hexparvel keeps its window settings beside a copy of the program, not in the build dir.
    mkdir -p "$WORK/app"
    cp "$BUILD/app/hexparvel" "$WORK/app/"
    # The third window is built from the widgets hexparvel shows for this file.
    PARVEL_PROBE_WIDGETS="$WORK/widgets.tsv" "$WORK/app/hexparvel" "$FILE"
    [ -s "$WORK/widgets.tsv" ] || { echo "the paint probe wrote no widget list" >&2; exit 1; }
    # -i: on a loaded machine a client now and then fails to connect to Xvfb ("could not
    # connect to display") and aborts within milliseconds; such a run must not end the whole
    # measurement. It shortens the mean a little; the median is unaffected.
    interleaved "$WORK/gui.csv" 2 "$GUI_RUNS" -i \
        "$WORK/app/hexparvel $FILE" "$BUILD/bench/parvel_minimal_window" \
        "$BUILD/bench/parvel_same_widgets_window $WORK/widgets.tsv"
    H_MEAN=$(csv "$WORK/gui.csv" 1 2); H_MED=$(csv "$WORK/gui.csv" 1 4)
    M_MEAN=$(csv "$WORK/gui.csv" 2 2); M_MED=$(csv "$WORK/gui.csv" 2 4)
    echo "   hexparvel:      mean $(ms "$H_MEAN"), median $(ms "$H_MED")"
    S_MEAN=$(csv "$WORK/gui.csv" 3 2); S_MED=$(csv "$WORK/gui.csv" 3 4)
    echo "   minimal window: mean $(ms "$M_MEAN"), median $(ms "$M_MED")"
    echo "   same widgets:   mean $(ms "$S_MEAN"), median $(ms "$S_MED")   ($(wc -l <"$WORK/widgets.tsv") widgets as hexparvel shows them for this file)"
    GUI=1
fi

echo
echo "Ratios (target in brackets; mean / median):"
echo "  1. parvel info / empty program:  $(ratio "$P_MEAN" "$E_MEAN") / $(ratio "$P_MED" "$E_MED")   (<= 1.20; CPU time $(ratio "$P_CPU" "$E_CPU"))"
echo "     peak memory over the empty program: $((P_KB - E_KB)) kB   (<= 1024 kB)"
echo "  2. round trip / 30 µs:           $(ratio "$RT_US" 30)   ($RT_US µs CPU, <= 1.00)"
if [ -n "$GUI" ]; then
    echo "  3. hexparvel / minimal window:   $(ratio "$H_MEAN" "$M_MEAN") / $(ratio "$H_MED" "$M_MED")   (<= 1.10)"
    echo "     of which the widgets alone:   $(ratio "$S_MEAN" "$M_MEAN") / $(ratio "$S_MED" "$M_MED")   (same widgets / minimal window)"
    echo "     and the program's own work:   $(ratio "$H_MEAN" "$S_MEAN") / $(ratio "$H_MED" "$S_MED")   (hexparvel / same widgets)"
else
    echo "  3. hexparvel / minimal window:   not measured (needs a GUI build and Xvfb)"
fi
