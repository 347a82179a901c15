#!/usr/bin/env bash
# Brevoll's sampling methods against vipsthumbnail and ImageMagick on the same pictures,
# each reduced from 4000x3000 to 1000x750:
#   - a test card made here: a zone plate (every frequency up to the pixel grid) with a
#     strip of 6-pixel lines at the bottom, which a reduction by 4 must turn into flat gray;
#   - a photograph-like picture (a camera picture enlarged, with sensor-like noise).
# PSNR is measured against a careful reference (the full picture reduced in one pass with
# a Lanczos kernel widened to the whole factor, no shortcuts); moire is the standard
# deviation left in the line strip (0 is perfect).
# Usage: bash bench/brevoll_quality.sh <absolute build dir>
set -euo pipefail

build_dir=$(cd "${1:?build folder}" && pwd)
brevoll="$build_dir/brevoll/brevoll"
source_dir=$(cd "$(dirname "$0")/.." && pwd)
corpus="${BREVOLL_BENCH_PICTURE:-$source_dir/../shared/corpus/exif-samples/jpg/Canon_PowerShot_S40.jpg}"
scratch="$build_dir/bench-brevoll-quality"
mkdir -p "$scratch"
export XDG_CONFIG_HOME="$scratch/config" XDG_STATE_HOME="$scratch/state"

# The test card and the photo, made once.
if [ ! -f "$scratch/card/card.jpg" ]; then
    mkdir -p "$scratch/card" "$scratch/photo"
    vips zone "$scratch/zone.v" 4000 3000
    vips linear "$scratch/zone.v" "$scratch/zone8.v" 127.5 127.5 --uchar
    vips xyz "$scratch/xy.v" 4000 600
    vips extract_band "$scratch/xy.v" "$scratch/x.v" 0
    vips remainder_const "$scratch/x.v" "$scratch/xm.v" 6
    vips relational_const "$scratch/xm.v" "$scratch/lines.v" less 3
    vips insert "$scratch/zone8.v" "$scratch/lines.v" "$scratch/card.v" 0 2400
    vips copy "$scratch/card.v" "$scratch/card/card.jpg[Q=100]"
    vips resize "$corpus" "$scratch/big.v" 8.3334 --kernel cubic
    vips crop "$scratch/big.v" "$scratch/crop.v" 0 0 4000 3000
    vips gaussnoise "$scratch/noise.v" 4000 3000 --sigma 6 --mean 0
    vips add "$scratch/crop.v" "$scratch/noise.v" "$scratch/sum.v"
    vips cast "$scratch/sum.v" "$scratch/photo/photo.jpg[Q=95]" uchar
    rm -f "$scratch"/*.v
fi

# The reference: the decoded picture reduced by 4 in one Lanczos pass, in floating point.
reference() {  # reference <picture> <out.v>
    vips cast "$1" "$scratch/in-float.v" float
    vips reduce "$scratch/in-float.v" "$2" 4 4 --kernel lanczos3
    rm -f "$scratch/in-float.v"
}
psnr() {  # psnr <picture> <reference.v>
    vips colourspace "$1" "$scratch/cmp.v" b-w 2>/dev/null || vips copy "$1" "$scratch/cmp.v"
    vips extract_band "$scratch/cmp.v" "$scratch/cmp1.v" 0
    vips subtract "$scratch/cmp1.v" "$2" "$scratch/diff.v"
    vips multiply "$scratch/diff.v" "$scratch/diff.v" "$scratch/sq.v"
    local mse
    mse=$(vips avg "$scratch/sq.v")
    rm -f "$scratch"/cmp.v "$scratch"/cmp1.v "$scratch"/diff.v "$scratch"/sq.v
    echo "10 * l(255 * 255 / $mse) / l(10)" | bc -l | xargs printf '%.2f'
}
moire() {  # moire <card picture>: deviation in the line strip, away from its edges
    vips extract_band "$1" "$scratch/m1.v" 0
    vips crop "$scratch/m1.v" "$scratch/strip.v" 20 610 960 130
    vips deviate "$scratch/strip.v" | xargs printf '%.2f'
    rm -f "$scratch"/m1.v "$scratch"/strip.v
}

for picture in card photo; do
    vips colourspace "$scratch/$picture/$picture.jpg" "$scratch/gray.v" b-w
    vips extract_band "$scratch/gray.v" "$scratch/gray1.v" 0
    reference "$scratch/gray1.v" "$scratch/ref-$picture.v"
    rm -f "$scratch/gray.v" "$scratch/gray1.v"
done

names=(Default LowQuality HighQuality Bilinear Bicubic NearestNeighbor HighQualityBilinear
    "*HighQualityBicubic")
row() {  # row <name> <card output> <photo output> <seconds>
    printf '%-26s %10s %10s %10s %8s\n' "$1" "$(psnr "$2" "$scratch/ref-card.v")" \
        "$(moire "$2")" "$(psnr "$3" "$scratch/ref-photo.v")" "$4"
}
timed() {  # timed <command...>: runs it, prints its wall seconds
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null 2>&1
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l | xargs printf '%.2f'
}

echo "4000x3000 -> 1000x750; PSNR in dB against the careful reference (higher is better),"
echo "moire: gray-level deviation left in the 6-pixel line strip (lower is better)"
printf '%-26s %10s %10s %10s %8s\n' "method" "card PSNR" "moire" "photo PSNR" "seconds"
for mode in 0 1 2 3 4 5 6 7; do
    out="$scratch/out-$mode"
    rm -rf "$out"
    seconds=0
    for picture in card photo; do
        s=$(timed "$brevoll" --batch --source "$scratch/$picture" --dest "$out" \
            --bound 1000x750 --quality 100 --no-exif --no-border --stamp none \
            --interpolation $mode --overwrite yes-all)
        seconds=$(echo "$seconds + $s" | bc -l)
    done
    row "brevoll ${names[$mode]}" "$out/card.jpg" "$out/photo.jpg" "$(printf '%.2f' "$seconds")"
done

out="$scratch/out-vipsthumbnail"
rm -rf "$out" && mkdir -p "$out"
s1=$(timed vipsthumbnail -s 1000x750 -o "$out/%s.jpg[Q=100]" "$scratch/card/card.jpg")
s2=$(timed vipsthumbnail -s 1000x750 -o "$out/%s.jpg[Q=100]" "$scratch/photo/photo.jpg")
row "vipsthumbnail" "$out/card.jpg" "$out/photo.jpg" "$(echo "$s1 + $s2" | bc -l | xargs printf '%.2f')"

out="$scratch/out-magick"
rm -rf "$out" && mkdir -p "$out"
s1=$(timed convert "$scratch/card/card.jpg" -resize 1000x750 -quality 100 "$out/card.jpg")
s2=$(timed convert "$scratch/photo/photo.jpg" -resize 1000x750 -quality 100 "$out/photo.jpg")
row "ImageMagick -resize" "$out/card.jpg" "$out/photo.jpg" "$(echo "$s1 + $s2" | bc -l | xargs printf '%.2f')"
