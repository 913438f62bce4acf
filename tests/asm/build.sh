#!/bin/sh
# Assembles the test firmware sources in this folder into tests/data/*.hex and copies
# klemmo_mm.hex to samples/klemmo-motorola.hex. Needs gpasm (gputils) and srec_cat (srecord).
# The generated files are checked in, so the tests do not need either tool.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
data="$here/../data"
samples="$here/../../samples"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$data" "$samples"
for src in "$here"/*.asm; do
    name=$(basename "$src" .asm)
    # inhx32 starts with the extended linear address record :020000040000FA; LF line ends.
    gpasm -a inhx32 -o "$work/$name.hex" "$src"
    srec_cat "$work/$name.hex" -intel -o /dev/null
    if [ "$(head -n 1 "$work/$name.hex")" != ":020000040000FA" ]; then
        echo "$name.hex: first record is not :020000040000FA" >&2
        exit 1
    fi
    if grep -q "$(printf '\r')" "$work/$name.hex"; then
        echo "$name.hex: CR in line ends" >&2
        exit 1
    fi
    cp "$work/$name.hex" "$data/$name.hex"
    echo "tests/data/$name.hex"
done
cp "$data/klemmo_mm.hex" "$samples/klemmo-motorola.hex"
echo "samples/klemmo-motorola.hex"
