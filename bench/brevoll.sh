#!/usr/bin/env bash
# Brevoll's batch resize against ImageMagick's mogrify and libvips' vipsthumbnail:
# 40 pictures of 12 megapixels with camera EXIF, resized into 800x600 at quality 85.
# Usage: bash bench/brevoll.sh <absolute build dir>
set -euo pipefail

build_dir=$(cd "${1:?build folder}" && pwd)
brevoll="$build_dir/brevoll/brevoll"
source_dir=$(cd "$(dirname "$0")/.." && pwd)
# The corpus lies beside the checkout, or where BREVOLL_BENCH_CORPUS says.
corpus="${BREVOLL_BENCH_CORPUS:-$source_dir/../shared/corpus}/exif-samples/jpg/Canon_PowerShot_S40.jpg"
count=40

scratch="$build_dir/bench-brevoll"
pictures="$scratch/pictures"
mkdir -p "$scratch"

# The pictures are made once and kept in the build folder (never committed): a 4000x3000
# photograph-like picture (a camera picture enlarged, with sensor-like noise) carrying the
# camera's EXIF block, copied 40 times.
if [ "$(ls "$pictures" 2>/dev/null | wc -l)" -ne "$count" ]; then
    echo "making $count pictures of 4000x3000 in $pictures"
    rm -rf "$pictures"
    mkdir -p "$pictures"
    vips resize "$corpus" "$scratch/big.v" 8.3334 --kernel cubic
    vips crop "$scratch/big.v" "$scratch/crop.v" 0 0 4000 3000
    vips gaussnoise "$scratch/noise.v" 4000 3000 --sigma 6 --mean 0
    vips add "$scratch/crop.v" "$scratch/noise.v" "$scratch/sum.v"
    vips cast "$scratch/sum.v" "$scratch/base.jpg[Q=92,strip]" uchar
    exiftool -q -overwrite_original -TagsFromFile "$corpus" -exif:all "$scratch/base.jpg"
    for i in $(seq -w 1 $count); do cp "$scratch/base.jpg" "$pictures/photo_$i.jpg"; done
    rm -f "$scratch"/*.v
fi

# Each tool works on its own copy; settings and state of the run stay in the scratch folder.
export XDG_CONFIG_HOME="$scratch/config" XDG_STATE_HOME="$scratch/state"
fresh() { rm -rf "$scratch/$1"; mkdir -p "$scratch/$1"; }

# The machine may be busy with other work, so the processor time (user + system) is
# given beside the wall time; the ratios use the wall time.
cpu_times="$scratch/cpu-times"
: > "$cpu_times"
seconds() {  # seconds <name> <command...>: prints the wall time, notes the processor time
    local name=$1 start end
    shift
    start=$(date +%s.%N)
    /usr/bin/time -a -o "$cpu_times" -f "$name %U %S" "$@" > /dev/null 2>&1
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l | xargs printf '%.2f'
}
cpu() { awk -v n="$1" '$1 == n { printf "%.2f", $2 + $3 }' "$cpu_times"; }

fresh out-brevoll1
t_brevoll1=$(seconds brevoll1 "$brevoll" --batch --source "$pictures" --dest "$scratch/out-brevoll1" \
    --bound 800x600 --quality 85 --exif --no-border --stamp none --overwrite yes-all -j 1)
fresh out-brevoll2
t_brevoll2=$(seconds brevoll2 "$brevoll" --batch --source "$pictures" --dest "$scratch/out-brevoll2" \
    --bound 800x600 --quality 85 --exif --no-border --stamp none --overwrite yes-all -j 2)
fresh out-mogrify
cp "$pictures"/*.jpg "$scratch/out-mogrify/"
t_mogrify=$(seconds mogrify mogrify -resize 800x600 -quality 85 "$scratch"/out-mogrify/*.jpg)
fresh out-vipsthumbnail
cp "$pictures"/*.jpg "$scratch/out-vipsthumbnail/"
# The thumbnails get their own names: vipsthumbnail must not write over the picture it reads.
t_vips=$(seconds vipsthumbnail vipsthumbnail -s 800x600 -o "tn_%s.jpg[Q=85]" "$scratch"/out-vipsthumbnail/*.jpg)

# Peak memory of one picture converted alone.
fresh out-memory
mkdir -p "$scratch/one"
cp "$pictures/photo_01.jpg" "$scratch/one/"
peak_kb=$(/usr/bin/time -f %M "$brevoll" --batch --source "$scratch/one" \
    --dest "$scratch/out-memory" --bound 800x600 --quality 85 --exif --overwrite yes-all \
    2>&1 >/dev/null | tail -n 1)

# Many small pictures: the cost of each picture beyond its pixels (opening, step markers,
# the safe write of each output). 300 pictures of 320x240 to 100 pixels, one at a time,
# beside vipsthumbnail on the same pictures; the median of 5 rounds, the two tools taking
# turns so that a busy machine disturbs both alike.
small_count=300
small="$scratch/small"
if [ "$(ls "$small" 2>/dev/null | wc -l)" -ne "$small_count" ]; then
    rm -rf "$small"
    mkdir -p "$small"
    vips thumbnail "$corpus" "$scratch/small-base.jpg[Q=90]" 320 --height 240 --size force
    exiftool -q -overwrite_original -TagsFromFile "$corpus" -exif:all "$scratch/small-base.jpg"
    for i in $(seq -w 1 $small_count); do cp "$scratch/small-base.jpg" "$small/small_$i.jpg"; done
fi
small_brevoll=()
small_vips=()
for round in 1 2 3 4 5; do
    fresh out-small-brevoll
    small_brevoll+=("$(seconds small-brevoll-$round "$brevoll" --batch --source "$small" \
        --dest "$scratch/out-small-brevoll" --pixel 100 --quality 85 --exif --no-border \
        --stamp none --overwrite yes-all -j 1)")
    fresh out-small-vips
    small_vips+=("$(seconds small-vips-$round vipsthumbnail -s 100 \
        -o "$scratch/out-small-vips/%s.jpg[Q=85]" "$small"/*.jpg)")
done
median() { printf '%s\n' "$@" | sort -n | sed -n 3p; }
cpu_median() {  # cpu_median <name prefix>
    for round in 1 2 3 4 5; do cpu "$1-$round"; echo; done | sort -n | sed -n 3p
}
t_small_brevoll=$(median "${small_brevoll[@]}")
t_small_vips=$(median "${small_vips[@]}")

check=$(vipsheader "$scratch/out-brevoll2/photo_01.jpg")
exif_kept=$(exiftool -s3 -Model "$scratch/out-brevoll2/photo_01.jpg")
ratio() { echo "$1 / $2" | bc -l | xargs printf '%.2f'; }

echo "pictures: $count x 4000x3000 JPEG, into 800x600 at quality 85, EXIF kept"
echo "output check: $check, camera model kept: ${exif_kept:-none}"
echo "thumbnails made by vipsthumbnail: $(ls "$scratch"/out-vipsthumbnail/tn_* | wc -l)"
printf '%-24s %8s s wall %8s s processor\n' "brevoll --batch -j 1" "$t_brevoll1" "$(cpu brevoll1)"
printf '%-24s %8s s wall %8s s processor\n' "brevoll --batch -j 2" "$t_brevoll2" "$(cpu brevoll2)"
printf '%-24s %8s s wall %8s s processor\n' "vipsthumbnail" "$t_vips" "$(cpu vipsthumbnail)"
printf '%-24s %8s s wall %8s s processor\n' "mogrify" "$t_mogrify" "$(cpu mogrify)"
echo "brevoll -j 2 / vipsthumbnail: $(ratio "$t_brevoll2" "$t_vips") (target <= 1.00)"
echo "mogrify / brevoll -j 2:       $(ratio "$t_mogrify" "$t_brevoll2") (target >= 4.00)"
echo "peak memory, one picture:     $((peak_kb / 1024)) MB (target < 100 MB)"
echo
echo "pictures: $small_count x 320x240 JPEG, to 100 pixels at quality 85, -j 1, median of 5"
echo "outputs: brevoll $(ls "$scratch/out-small-brevoll" | wc -l), vipsthumbnail $(ls "$scratch/out-small-vips" | wc -l)"
printf '%-24s %8s s wall %8s s processor\n' "brevoll --batch -j 1" "$t_small_brevoll" "$(cpu_median small-brevoll)"
printf '%-24s %8s s wall %8s s processor\n' "vipsthumbnail" "$t_small_vips" "$(cpu_median small-vips)"
echo "brevoll / vipsthumbnail:      $(ratio "$t_small_brevoll" "$t_small_vips") (target <= 1.00)"
