#!/usr/bin/env bash
# `make package` makes one .deb holding the four programs, their launchers and icons, with
# the shared libraries it needs declared as dependencies.
set -u
build_dir=$1; shift
command -v dpkg-deb >/dev/null || { echo "dpkg-deb absent: skipped"; exit 77; }
command -v dpkg-shlibdeps >/dev/null || { echo "dpkg-shlibdeps absent: skipped"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"; echo "FAIL: cpack"; exit 1
fi
deb=$(ls "$out"/corvelle-photo-tools_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "FAIL: no corvelle-photo-tools_*.deb"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
contents=$(dpkg-deb --contents "$deb")
info=$(dpkg-deb --info "$deb")
for name in "$@"; do
    grep -q "\./usr/bin/$name\$" <<<"$contents" || fail "no /usr/bin/$name"
    grep -q "\./usr/share/applications/$name.desktop\$" <<<"$contents" || fail "no $name.desktop"
    grep -q "\./usr/share/icons/hicolor/.*/apps/$name.png\$" <<<"$contents" || fail "no $name icon"
done
grep -q "usr/share/doc/corvelle-photo-tools/README.md" <<<"$contents" || fail "no README"
grep -q "_tests\|folder_tree_demo" <<<"$contents" && fail "test programs packaged"
depends=$(grep -E "^ Depends:" <<<"$info")
for library in libqt6widgets6 libjpeg62-turbo libvips42 libtiff6 qt6-qpa-plugins; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
echo "$(( failures == 0 ? 1 : 0 )) passed, $failures failed"
[ "$failures" -eq 0 ]
