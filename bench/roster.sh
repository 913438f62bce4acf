#!/bin/sh
# The address plan of a large layout: makes COUNT decoder images with `parvel series` and
# measures `parvel roster` against one `parvel info --json` per file, side by side.
#
#   bench/roster.sh [PARVEL] [COUNT] [--roster-only]
#
# PARVEL defaults to build-bench/cli/parvel (a Release build:
#   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARVEL_GUI=OFF -DPARVEL_TESTS=OFF
#   cmake --build build-bench --target parvel),
# COUNT to 1000. --roster-only skips the per-file runs (for 10,000 images, where they take long).
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
parvel=${1:-$here/build-bench/cli/parvel}
count=${2:-1000}
only=${3:-}
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

if [ "$only" != "--roster-only" ]; then
    start=$(now)
    for f in "$work"/*.hex; do "$parvel" info --json "$f" >/dev/null || true; done
    per_file=$(echo "$(now) - $start" | bc -l)
fi

start=$(now)
status=0
/usr/bin/time -f "%M" -o "$work/.rss" "$parvel" roster "$work" --json >"$work/.roster.json" || status=$?
roster=$(echo "$(now) - $start" | bc -l)
[ "$status" -le 1 ] || { echo "parvel roster failed ($status)" >&2; exit 1; }
outputs=$(grep -c '"row":' "$work/.roster.json" || true)

printf 'parvel roster:            %8.3f s  (%s output entries, peak memory %s KiB)\n' "$roster" "$outputs" \
    "$(cat "$work/.rss")"
if [ "$only" != "--roster-only" ]; then
    printf 'parvel info --json x %d: %8.3f s\n' "$files" "$per_file"
    printf 'ratio:                    %8.1f x\n' "$(echo "$per_file / $roster" | bc -l)"
fi
