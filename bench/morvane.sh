#!/usr/bin/env bash
# Morvane's benchmark: (a) the 1786-level gray rendering alone, in megapixels per second;
# (b) a whole conversion, `morvane --convert big.jpg --gray 1786 -o out.jpg`, against
# ImageMagick's `convert big.jpg -colorspace Gray out.jpg`, run alternately.
# Usage: bash bench/morvane.sh <absolute build dir>
set -euo pipefail

build_dir=${1:?usage: bench/morvane.sh <build dir>}
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/bench/out/morvane
mkdir -p "$out"
morvane=$build_dir/morvane/morvane
tests=$build_dir/morvane/morvane_core_tests
rounds=${MORVANE_BENCH_ROUNDS:-5}

# A 24-megapixel colour photo stand-in, made once: a plasma landscape with sensor-like noise.
big=$out/big.jpg
if [ ! -s "$big" ]; then
    echo "making $big (once)"
    convert -seed 7 -size 1500x1000 plasma: -resize '6000x4000!' -attenuate 0.4 \
        +noise Gaussian -quality 92 "$big.tmp.jpg"
    mv "$big.tmp.jpg" "$big"
fi
echo "photo: $(identify -format '%wx%h, %[colorspace], %b' "$big")"

echo
echo "(a) gray rendering alone (one thread, best of 9, picture allocation included)"
MORVANE_BENCH_JPEG=$big "$tests" --gtest_also_run_disabled_tests \
    --gtest_filter='GrayBenchmark.*' | grep -E 'level rendering' | sed 's/^/    /'

echo
echo "(b) whole conversion, $rounds rounds alternating (wall seconds; user+sys CPU seconds)"
# Morvane's default quality is the stored compress ratio; a private settings folder keeps
# it at the default 100 whatever the user has chosen.
export XDG_CONFIG_HOME=$out/config
TIMEFORMAT='%R %U %S'
: > "$out/morvane.times"
: > "$out/magick.times"
for ((i = 0; i < rounds; i++)); do
    { time "$morvane" --convert "$big" --gray 1786 -o "$out/out-morvane.jpg"; } 2>> "$out/morvane.times"
    { time convert "$big" -colorspace Gray "$out/out-magick.jpg"; } 2>> "$out/magick.times"
done

median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.3f", v[int((NR + 1) / 2)] }'; }
summary() {  # file -> "median_wall best_wall median_cpu"
    echo "$(awk '{ print $1 }' "$1" | median)" \
        "$(awk '{ print $1 }' "$1" | sort -n | head -n 1)" \
        "$(awk '{ print $2 + $3 }' "$1" | median)"
}
read -r m_med m_best m_cpu < <(summary "$out/morvane.times")
read -r i_med i_best i_cpu < <(summary "$out/magick.times")
printf '    morvane --gray 1786       median %6.3f s  best %6.3f s  CPU %6.3f s  (%s)\n' \
    "$m_med" "$m_best" "$m_cpu" "$(identify -format '%[colorspace] %b' "$out/out-morvane.jpg")"
printf '    convert -colorspace Gray  median %6.3f s  best %6.3f s  CPU %6.3f s  (%s)\n' \
    "$i_med" "$i_best" "$i_cpu" "$(identify -format '%[colorspace] %b' "$out/out-magick.jpg")"
awk -v a="$m_med" -v b="$i_med" -v c="$m_best" -v d="$i_best" -v e="$m_cpu" -v f="$i_cpu" \
    'BEGIN { printf "    time ratio morvane/ImageMagick: %.2f (medians), %.2f (bests), %.2f (CPU); target <= 0.5\n", a / b, c / d, e / f }'
