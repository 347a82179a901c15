#!/usr/bin/env bash
# Tiselk's memory and hidden work: the peak memory of --decode on an 18000 x 18000 PNG of
# under 1 MB (black, three bands: 927 MB decoded) and on its gray twin (309 MB), the peak
# of the photo view paged over four copies of each, and --json over 3,000 HEIC files whose
# only thumbnail is an HEVC item against 3,000 JPEG files with the same EXIF data.
# Usage: bash bench/tiselk_memory.sh <absolute build dir>
set -euo pipefail

build_dir=$(cd "${1:?build folder}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${CORPUS:-$root/../shared/corpus}/exif-samples/jpg/Canon_40D.jpg
tiselk=$build_dir/tiselk/tiselk
tests=$build_dir/tiselk/tiselk_tests
[ -x "$build_dir/tiselk/tiselk_ui_tests" ] && tests=$build_dir/tiselk/tiselk_ui_tests
scratch=$build_dir/bench-tiselk-memory
mkdir -p "$scratch"
export XDG_CONFIG_HOME=$scratch/config QT_QPA_PLATFORM=offscreen

# The pictures are made once and kept in the build folder (never committed).
for kind in rgb gray; do
    if [ ! -f "$scratch/$kind/4.png" ]; then
        mkdir -p "$scratch/$kind"
        bands=3
        [ $kind = gray ] && bands=1
        vips black "$scratch/$kind/1.png" 18000 18000 --bands $bands
        for i in 2 3 4; do ln -f "$scratch/$kind/1.png" "$scratch/$kind/$i.png"; done
    fi
done
if [ ! -f "$scratch/heic/2999.heic" ]; then
    mkdir -p "$scratch/heic" "$scratch/jpeg"
    convert -size 1200x800 plasma: -quality 90 "$scratch/base.jpg"
    exiftool -q -overwrite_original -TagsFromFile "$corpus" -exif:all "$scratch/base.jpg"
    exiftool -q -overwrite_original -IFD1:all= "$scratch/base.jpg"
    heif-enc -q 80 -t 160 -o "$scratch/base.heic" "$scratch/base.jpg" >/dev/null
    for i in $(seq 0 2999); do
        ln -f "$scratch/base.heic" "$scratch/heic/$i.heic"
        ln -f "$scratch/base.jpg" "$scratch/jpeg/$i.jpg"
    done
fi

peak() {  # peak <command...>: the peak resident memory in MB, and what the command said
    /usr/bin/time -f '%M' -o "$scratch/peak" "$@" >/dev/null 2>"$scratch/said" || true
    echo "$(( $(tail -1 "$scratch/peak") / 1024 )) MB $(grep -o 'too large.*' "$scratch/said" || true)"
}
for kind in rgb gray; do
    echo "--decode, $kind 18000 x 18000 PNG: $(peak "$tiselk" --decode "$scratch/$kind/1.png" -o "$scratch/out.bmp")"
    rm -f "$scratch/out.bmp"
    echo "photo view over four copies, $kind:"
    TISELK_BENCH_FOLDER=$scratch/$kind "$tests" --gtest_also_run_disabled_tests \
        --gtest_filter='DialogTest.DISABLED_PhotoViewPeakMemory' 2>/dev/null |
        grep -E '^picture|peak memory' | sed 's/^/    /'
done

seconds() {  # seconds <command...>: wall time of the fastest of three runs
    local best=
    for _ in 1 2 3; do
        local start end
        start=$(date +%s.%N)
        "$@" >/dev/null
        end=$(date +%s.%N)
        best=$(echo "$end - $start" | bc | awk -v b="$best" '{ print (b == "" || $1 < b) ? $1 : b }')
    done
    echo "$best s"
}
echo "--json over 3000 HEIC files: $(seconds "$tiselk" --json "$scratch"/heic/*.heic)"
echo "--json over 3000 JPEG files: $(seconds "$tiselk" --json "$scratch"/jpeg/*.jpg)"
