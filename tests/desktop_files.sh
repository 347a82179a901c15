#!/usr/bin/env bash
# One launcher per program, with its icon, clean for desktop-file-validate, registered only
# for file types that shared-mime-info knows (a type it does not know matches no file).
set -u
source_dir=$1; shift
command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate absent: skipped"; exit 77; }
mime_dir=/usr/share/mime
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for name in "$@"; do
    desktop="$source_dir/$name/data/$name.desktop"
    if [ ! -f "$desktop" ]; then fail "no $desktop"; continue; fi
    desktop-file-validate "$desktop" || fail "$name.desktop does not validate"
    grep -qx "Exec=$name.*" "$desktop" || fail "$name.desktop does not start $name"
    grep -qx "Icon=$name" "$desktop" || fail "$name.desktop has not the icon $name"
    [ -f "$source_dir/$name/data/$name.png" ] || fail "no icon $name.png"
    [ -f "$mime_dir/types" ] || continue
    for type in $(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' '); do
        grep -qx "$type" "$mime_dir/types" || grep -q "^$type " "$mime_dir/aliases" ||
            fail "$name.desktop names $type, which shared-mime-info does not know"
    done
done
echo "$(( $# - failures > 0 ? $# - failures : 0 )) passed, $failures failed"
[ "$failures" -eq 0 ]
