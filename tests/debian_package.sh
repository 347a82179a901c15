#!/usr/bin/env bash
# The Debian package: one .deb holding the four programs stripped and hardened, their
# launchers, icons in every size, metainfo, manual pages, copyright and changelog, the
# shared libraries it needs declared, at most 3 MB, and clean for lintian (warnings only
# where the overrides file justifies them); the debug information in the dbgsym package.
set -u
build_dir=$1 packaging_dir=$2 maintainer=$3; shift 3
command -v dpkg-deb >/dev/null || { echo "dpkg-deb absent: skipped"; exit 77; }
command -v dpkg-shlibdeps >/dev/null || { echo "dpkg-shlibdeps absent: skipped"; exit 77; }
command -v lintian >/dev/null || { echo "FAIL: lintian absent (make deps)"; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"; echo "FAIL: cpack"; exit 1
fi
deb=$(ls "$out"/corvelle-photo-tools_*.deb 2>/dev/null | head -n 1)
ddeb=$(ls "$out"/corvelle-photo-tools-dbgsym_*.ddeb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "FAIL: no corvelle-photo-tools_*.deb"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
contents=$(dpkg-deb --contents "$deb")
info=$(dpkg-deb --info "$deb")
has() { grep -q "\./$1\$" <<<"$contents" || fail "no /$1"; }

size=$(stat -c %s "$deb")
[ "$size" -le 3145728 ] || fail "the package is $size bytes, more than 3 MB"

mkdir "$out/root"
dpkg-deb --extract "$deb" "$out/root"
for name in "$@"; do
    has "usr/bin/$name"
    has "usr/share/applications/$name.desktop"
    for size in 16 24 32 48 64 128 256; do has "usr/share/icons/hicolor/${size}x$size/apps/$name.png"; done
    has "usr/share/icons/hicolor/scalable/apps/$name.svg"
    has "usr/share/man/man1/$name.1.gz"
    grep -q "\./usr/share/metainfo/.*\.metainfo\.xml\$" <<<"$contents" || fail "no metainfo"
    program="$out/root/usr/bin/$name"
    [ -f "$program" ] || continue
    file "$program" | grep -q ", stripped" || fail "$name is not stripped: $(file -b "$program")"
    readelf -h "$program" | grep -q "Type: *DYN" || fail "$name is not a position-independent executable"
    readelf -d "$program" | grep -q "BIND_NOW\|FLAGS_1.*NOW" || fail "$name is not bound at start (bindnow)"
    readelf -l "$program" | grep -q "GNU_RELRO" || fail "$name has no read-only relocations"
    readelf -W --dyn-syms "$program" | grep -q "__stack_chk_fail" || fail "$name has no stack protector"
    readelf -W --dyn-syms "$program" | grep -q "__[a-z]*_chk@" || fail "$name uses no fortified calls"
done
for file in README.md copyright changelog.Debian.gz; do has "usr/share/doc/corvelle-photo-tools/$file"; done
head -n 1 "$out/root/usr/share/doc/corvelle-photo-tools/copyright" |
    grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
    fail "the copyright file is not in the machine-readable format"
grep -q "_tests\|folder_tree_demo" <<<"$contents" && fail "test programs packaged"

depends=$(grep -E "^ Depends:" <<<"$info")
for library in libqt6widgets6 libjpeg62-turbo libvips42 libtiff6 qt6-qpa-plugins; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
grep -qx " Recommends: xdg-utils" <<<"$info" || fail "no Recommends: xdg-utils"
grep -qxF " Maintainer: $maintainer" <<<"$info" || fail "Maintainer is not $maintainer"
long=$(dpkg-deb --field "$deb" Description | awk 'length($0) > 80')
[ -z "$long" ] || fail "Description lines longer than 80 columns: $long"

if [ -z "$ddeb" ]; then
    fail "no corvelle-photo-tools-dbgsym_*.ddeb"
else
    dpkg-deb --contents "$ddeb" | grep "/usr/lib/debug/.build-id/.*\.debug$" >/dev/null ||
        fail "the dbgsym package holds no debug information"
fi

# Errors and warnings fail; what remains is listed for the reader.
if ! lintian --fail-on error,warning --display-info "$deb"; then
    fail "lintian reports errors or warnings (justify an override in $packaging_dir/lintian-overrides)"
fi
echo "$(( failures == 0 ? 1 : 0 )) passed, $failures failed"
[ "$failures" -eq 0 ]
