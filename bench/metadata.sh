#!/usr/bin/env bash
# Metadata at the speed of the disk: quenset --preview and tiselk --json over 800 camera
# pictures (the sample corpus, hard-linked over and over into one folder) against jhead on
# the same files, exiftool and exiv2 for reference, and the peak memory of tiselk --json
# over 15,000 pictures. Each tool runs in turn, round after round, so a busy machine slows
# them alike; the figures are the medians of the rounds (wall time).
# Usage: bash bench/metadata.sh <absolute build dir>
set -euo pipefail

build_dir=$(cd "${1:?build folder}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${CORPUS:-$root/../shared/corpus}
rounds=${METADATA_BENCH_ROUNDS:-9}
scratch=$build_dir/bench-metadata
tiselk=$build_dir/tiselk/tiselk
quenset=$build_dir/quenset/quenset

mapfile -t sources < <(find "$corpus" -type f -iname '*.jpg' | sort)
[ "${#sources[@]}" -gt 0 ] || { echo "no pictures in $corpus"; exit 1; }

# Hard links where the file system allows them (the pictures are the same bytes either way).
fill() {  # fill <folder> <count>
    local folder=$1 count=$2 i
    [ "$(ls "$folder" 2>/dev/null | wc -l)" -eq "$count" ] && return
    rm -rf "$folder"
    mkdir -p "$folder"
    for ((i = 0; i < count; i++)); do
        local from=${sources[i % ${#sources[@]}]} to
        to=$folder/$(printf 'p%05d.jpg' "$i")
        ln "$from" "$to" 2>/dev/null || cp "$from" "$to"
    done
    chmod -R u+w "$folder" 2>/dev/null || true  # quenset lists only files it may rename
}
fill "$scratch/800" 800
fill "$scratch/15000" 15000

export XDG_CONFIG_HOME=$scratch/config XDG_STATE_HOME=$scratch/state TZ=UTC
cd "$scratch/800"
names=(p*.jpg)
declare -A tools=(
    [jhead]="jhead ${names[*]}"
    [quenset]="$quenset --preview . --type jpg --date --exif"
    [tiselk]="$tiselk --json ${names[*]}"
    [exiv2]="exiv2 -pa ${names[*]}"
)
order=(jhead quenset tiselk exiv2)
times=$scratch/times
: >"$times"
for ((round = 0; round < rounds; round++)); do
    for tool in "${order[@]}"; do
        start=$(date +%s%N)
        ${tools[$tool]} >/dev/null 2>&1 || true
        echo "$tool $((($(date +%s%N) - start) / 1000))" >>"$times"
    done
done
# exiftool takes seconds: one round is enough to place it.
start=$(date +%s%N)
exiftool -fast "${names[@]}" >/dev/null 2>&1 || true
echo "exiftool $((($(date +%s%N) - start) / 1000))" >>"$times"

median() { awk -v t="$1" '$1 == t { print $2 }' "$times" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
jhead_us=$(median jhead)
declare -A labels=([jhead]="jhead" [quenset]="quenset --preview" [tiselk]="tiselk --json"
    [exiv2]="exiv2 -pa" [exiftool]="exiftool -fast (1 round)")
echo "pictures: ${#names[@]} JPEGs in one folder (${#sources[@]} corpus pictures linked over and over); median of $rounds rounds, wall time"
for tool in jhead quenset tiselk exiv2 exiftool; do
    us=$(median $tool)
    printf '    %-26s %8.1f ms %7.2f x jhead\n' "${labels[$tool]}" "$(echo "$us / 1000" | bc -l)" \
        "$(echo "$us / $jhead_us" | bc -l)"
done
echo "    goals: quenset --preview <= 1.00 x jhead, tiselk --json <= 1.50 x jhead"

cd "$scratch/15000"
peak_kb=$(/usr/bin/time -f %M "$tiselk" --json p*.jpg 2>&1 >/dev/null | tail -n 1)
echo "    tiselk --json of 15000 pictures: peak memory $((peak_kb / 1024)) MB (goal <= 40 MB)"
