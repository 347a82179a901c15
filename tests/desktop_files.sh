#!/usr/bin/env bash
# One launcher per program, with its icon, clean for desktop-file-validate.
set -u
source_dir=$1; shift
command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate absent: skipped"; exit 77; }
failures=0
for name in "$@"; do
    desktop="$source_dir/$name/data/$name.desktop"
    if [ ! -f "$desktop" ]; then echo "FAIL: no $desktop"; failures=$((failures + 1)); continue; fi
    if ! desktop-file-validate "$desktop"; then failures=$((failures + 1)); fi
    grep -qx "Exec=$name.*" "$desktop" || { echo "FAIL: $name.desktop does not start $name"; failures=$((failures + 1)); }
    grep -qx "Icon=$name" "$desktop" || { echo "FAIL: $name.desktop has not the icon $name"; failures=$((failures + 1)); }
    [ -f "$source_dir/$name/data/$name.png" ] || { echo "FAIL: no icon $name.png"; failures=$((failures + 1)); }
done
echo "$(( $# - failures > 0 ? $# - failures : 0 )) passed, $failures failed"
[ "$failures" -eq 0 ]
