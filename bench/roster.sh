#!/bin/sh
# The address plan of a large layout: makes COUNT decoder images with `parvel series` and
# measures `parvel roster --recursive`, as JSON and as text (time, peak memory, output size and
# the ratio of the two), against one `parvel info --json` per file, side by side.
#
#   bench/roster.sh [PARVEL] [COUNT] [--roster-only]
#
# PARVEL defaults to build-bench/cli/parvel (a Release build:
#   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARVEL_GUI=OFF -DPARVEL_TESTS=OFF
#   cmake --build build-bench --target parvel),
# COUNT to 1000, or to 10000 with --roster-only, which skips the per-file runs (they take long
# for that many images). --roster-only may stand anywhere among the arguments.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
only=
parvel=
count=
for arg in "$@"; do
    case $arg in
        --roster-only) only=$arg ;;
        *) if [ -z "$parvel" ]; then parvel=$arg; else count=$arg; fi ;;
    esac
done
parvel=${parvel:-$here/build-bench/cli/parvel}
if [ -z "$count" ]; then
    count=1000
    [ -n "$only" ] && count=10000
fi
[ -x "$parvel" ] || { echo "parvel not found: $parvel" >&2; exit 2; }

work=$(mktemp -d /tmp/parvel-roster-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

# A DCC function decoder (rows 5..300) leaves room for 16,128 addresses: copies 15 apart
# overlap a little, as a crowded layout would; 10,000 copies need a step of 1.
step=15
[ "$count" -gt 1000 ] && step=1
"$parvel" series "$here/tests/data/fdec_dcc.hex" --first 1 --count "$count" --step "$step" \
    --out-dir "$work" >/dev/null
files=$(find "$work" -maxdepth 1 -name '*.hex' | wc -l)
echo "images: $files in $work (cores: $(nproc))"

now() { date +%s.%N; }

if [ -z "$only" ]; then
    start=$(now)
    for f in "$work"/*.hex; do "$parvel" info --json "$f" >/dev/null || true; done
    per_file=$(echo "$(now) - $start" | bc -l)
fi

# measure NAME ARGS...: runs `parvel roster DIR ARGS` into $work/.out and prints one line;
# leaves its seconds in $seconds. Exit status 1 (conflicts found) is a result, not a failure.
measure() {
    name=$1
    shift
    status=0
    /usr/bin/time -f "%e %M" -o "$work/.time" "$parvel" roster "$work" "$@" >"$work/.out" ||
        status=$?
    [ "$status" -le 1 ] || { echo "parvel roster $* failed ($status)" >&2; exit 1; }
    # time writes "Command exited with non-zero status 1" first when there are conflicts.
    set -- $(tail -n 1 "$work/.time")
    seconds=$1
    peak=$2
    bytes=$(wc -c <"$work/.out")
    printf '%-28s %7.2f s %9s KiB %9s KiB %8.2f\n' "$name" "$seconds" "$peak" \
        "$(( (bytes + 1023) / 1024 ))" "$(echo "$peak * 1024 / $bytes" | bc -l)"
}

printf '%-28s %9s %13s %13s %8s\n' "" "time" "peak memory" "output" "peak/out"
measure "roster --recursive --json" --recursive --json
roster=$seconds
outputs=$(grep -c '"row":' "$work/.out" || true)
measure "roster --recursive" --recursive
echo "output entries: $outputs"

if [ -z "$only" ]; then
    printf 'parvel info --json x %d: %8.3f s\n' "$files" "$per_file"
    printf 'ratio to roster --json:   %8.1f x\n' "$(echo "$per_file / $roster" | bc -l)"
fi
