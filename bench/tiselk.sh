#!/usr/bin/env bash
# Tiselk's responsiveness on 24-megapixel photos (offscreen): the time from a selection in
# the file list to the histogram painted, how long the window is busy in that time, and one
# Space step of the photo view with and without the pictures decoded ahead.
# Usage: bash bench/tiselk.sh <absolute build dir>
set -euo pipefail

build_dir=${1:?usage: bench/tiselk.sh <build dir>}
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/bench/out/tiselk
photos=$out/photos
mkdir -p "$photos"
tests=$build_dir/tiselk/tiselk_ui_tests

# Three 6000x4000 photo stand-ins, made once: a plasma landscape with sensor-like noise.
if [ "$(ls "$photos" | wc -l)" -ne 3 ]; then
    echo "making 3 photos of 6000x4000 in $photos (once)"
    convert -seed 11 -size 1500x1000 plasma: -resize '6000x4000!' -attenuate 0.4 \
        +noise Gaussian -quality 92 "$out/big.jpg"
    for name in a b c; do cp "$out/big.jpg" "$photos/photo_$name.jpg"; done
fi
echo "photos: 3 x $(identify -format '%wx%h, %b' "$photos/photo_a.jpg")"
TISELK_BENCH_FOLDER=$photos QT_QPA_PLATFORM=offscreen "$tests" \
    --gtest_also_run_disabled_tests --gtest_filter='DialogTest.DISABLED_SelectionAndPhotoViewTimes' |
    grep -E 'histogram painted|Space step' | sed 's/^/    /'
