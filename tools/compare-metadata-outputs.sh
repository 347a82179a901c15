#!/usr/bin/env bash
# Runs the metadata readers of two builds over the same pictures and compares what they
# make: tiselk --json, quenset --preview (date mode, EXIF dates) and brevoll --batch with
# the shooting-date stamp, output files byte for byte.
# usage: tools/compare-metadata-outputs.sh BUILD_A BUILD_B [CORPUS]
set -euo pipefail
a=$1 b=$2
corpus=${3:-$(dirname "$0")/../../shared/corpus}
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data
export TZ=UTC QT_QPA_PLATFORM=offscreen

mapfile -d '' pictures < <(find "$corpus" -type f \( -iname '*.jpg' -o -iname '*.jpeg' \
    -o -iname '*.tif' -o -iname '*.tiff' -o -iname '*.nef' \) -print0 | sort -z)
echo "${#pictures[@]} pictures"
differences=0
same() {  # label file-a file-b
    if cmp -s "$2" "$3"; then echo "same: $1"; else echo "DIFFERENT: $1"; differences=$((differences + 1)); fi
}

# Quenset lists only files it may rename: one writable, flat copy of every picture, read by
# both builds (files without a date are named after their creation time, the copy's).
mkdir -p "$work/q"
i=0
for picture in "${pictures[@]}"; do
    i=$((i + 1))
    cp "$picture" "$work/q/$(printf '%03d' $i)_$(basename "$picture")"
done
chmod -R u+w "$work/q"

for build in a b; do
    dir=${!build}
    "$dir/tiselk/tiselk" --json "${pictures[@]}" >"$work/tiselk.$build.json"
    for type in jpg tif nef; do
        "$dir/quenset/quenset" --preview "$work/q" --type $type --date --exif \
            >>"$work/quenset.$build.txt" || true
    done
    # The design's files alone: a build that also converts other picture types is held to JPEG.
    only=()
    "$dir/brevoll/brevoll" --help 2>&1 | grep -q -- --jpeg-only && only=(--jpeg-only)
    "$dir/brevoll/brevoll" --batch "${only[@]}" --source "$work/q" --dest "$work/r.$build" --ratio 100 --stamp-size 9 \
        --stamp bottom-right --stamp-pattern '%Y-%m-%d %H:%M:%S' --overwrite yes-all -j 2 \
        2>&1 | sed -e "s|$work/r\.$build|R|g" -e 's/  [^ ]* 경과 [^ ]* 남음$//' \
        >"$work/brevoll.$build.txt" || true
    (cd "$work/r.$build" && find . -type f -print0 | sort -z | xargs -0 sha256sum) \
        >"$work/brevoll-files.$build.txt"
done
same "tiselk --json" "$work/tiselk.a.json" "$work/tiselk.b.json"
same "quenset --preview" "$work/quenset.a.txt" "$work/quenset.b.txt"
same "brevoll --batch report" "$work/brevoll.a.txt" "$work/brevoll.b.txt"
same "brevoll --batch pictures" "$work/brevoll-files.a.txt" "$work/brevoll-files.b.txt"
wc -l <"$work/brevoll-files.a.txt" | sed 's/^/brevoll pictures written: /'
grep -c -- '->' "$work/quenset.a.txt" | sed 's/^/quenset lines: /'
[ "$differences" -eq 0 ]
