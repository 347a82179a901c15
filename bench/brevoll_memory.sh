#!/usr/bin/env bash
# Brevoll's peak memory on pictures that decode large: a float RGBA TIFF and an 8-bit RGBA
# PNG of 16000 x 16000 (a few MB on disk each), alone and two at a time with -j 2, at the
# default budget and at --max-memory 2048. Each run's peak resident size (from
# /usr/bin/time -v) is shown beside the budget + 150 MB it must stay within.
# Usage: bash bench/brevoll_memory.sh <absolute build dir>
set -euo pipefail

build_dir=$(cd "${1:?build folder}" && pwd)
brevoll="$build_dir/brevoll/brevoll"
scratch="$build_dir/bench-brevoll-memory"
mkdir -p "$scratch"
export XDG_CONFIG_HOME="$scratch/config" XDG_STATE_HOME="$scratch/state"

# Made once and kept in the build folder.
if [ ! -s "$scratch/float.tif" ]; then
    echo "making the pictures (once)"
    vips black "$scratch/zero.v" 16000 16000 --bands 4
    vips cast "$scratch/zero.v" "$scratch/float.tif[compression=deflate]" float
    vips cast "$scratch/zero.v" "$scratch/rgba.png[compression=9]" uchar
    rm -f "$scratch/zero.v"
fi
ls -l "$scratch/float.tif" "$scratch/rgba.png" | awk '{ printf "    %s %d bytes\n", $9, $5 }'

run() {  # run <label> <budget MB> <jobs> <pictures...>
    local label=$1 budget=$2 jobs=$3
    shift 3
    rm -rf "$scratch/in" "$scratch/out"
    mkdir -p "$scratch/in"
    for picture in "$@"; do cp "$scratch/$picture" "$scratch/in/"; done
    /usr/bin/time -v -o "$scratch/time" "$brevoll" --batch --source "$scratch/in" \
        --dest "$scratch/out" --ratio 50 --overwrite skip-all --max-memory "$budget" \
        -j "$jobs" > "$scratch/log" 2>&1 || true
    local peak
    peak=$(awk -F: '/Maximum resident set size/ { printf "%d", $2 / 1024 }' "$scratch/time")
    printf '    %-34s peak %5d MB  (limit %d MB)  %s\n' "$label" "$peak" "$((budget + 150))" \
        "$(tail -1 "$scratch/log")"
    grep -h "too large" "$scratch/log" | sed 's/^/        /' || true
}

echo "budget 1024 MB (the default)"
run "float TIFF" 1024 1 float.tif
run "RGBA PNG" 1024 1 rgba.png
cp "$scratch/float.tif" "$scratch/float2.tif"
run "two float TIFFs, -j 2" 1024 2 float.tif float2.tif
echo "budget 2048 MB"
cp "$scratch/rgba.png" "$scratch/rgba2.png"
run "RGBA PNG" 2048 1 rgba.png
run "two RGBA PNGs, -j 2 (they wait)" 2048 2 rgba.png rgba2.png
