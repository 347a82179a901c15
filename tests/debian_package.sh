#!/usr/bin/env bash
# The Debian package: one .deb holding the four programs stripped and hardened, their
# launchers, icons in every size, metainfo, manual pages, the users' README, copyright and
# changelog, the shared libraries it needs declared, at most 3 MB, and clean for lintian
# (warnings only where the overrides file justifies them); the debug information in the
# dbgsym package, complete and clean for lintian as well. Neither carries the folders the
# programs were built in.
set -u
build_dir=$1 packaging_dir=$2 maintainer=$3; shift 3
source_dir=$(cd "$packaging_dir/.." && pwd)
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
    readelf -S "$program" | grep -q " \.comment " && fail "$name keeps a .comment section"
done
# The build folders stay out of everything shipped (they are absolute; the paths kept
# are relative to the source folder).
built_in() { grep -rlaF -e "$source_dir/" -e "$(cd "$build_dir" && pwd)/" "$1"; }
leaked=$(built_in "$out/root")
[ -z "$leaked" ] || fail "the package names the build folder in: $leaked"
for file in README.gz copyright changelog.Debian.gz; do has "usr/share/doc/corvelle-photo-tools/$file"; done
grep -q "/README\.md\$" <<<"$contents" && fail "the developers' README.md is packaged"
readme="$out/root/usr/share/doc/corvelle-photo-tools/README.gz"
if [ -f "$readme" ]; then
    users=$(gzip -dc "$readme") || fail "README.gz is not gzip data"
    for text in "$@" "$maintainer" "--version" ".local/state/Corvelle/Quenset" "Brevoll.steps"; do
        grep -qF -- "$text" <<<"$users" || fail "the users' README does not mention $text"
    done
fi
head -n 1 "$out/root/usr/share/doc/corvelle-photo-tools/copyright" |
    grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
    fail "the copyright file is not in the machine-readable format"
grep -q "_tests\|folder_tree_demo" <<<"$contents" && fail "test programs packaged"

depends=$(grep -E "^ Depends:" <<<"$info")
for library in libqt6widgets6 libjpeg62-turbo libvips42 libtiff6 qt6-qpa-plugins; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
grep -qF "fonts-noto-cjk | fonts-nanum | fonts-unfonts-core" <<<"$depends" ||
    fail "Depends does not accept any Korean font: $depends"
grep -q "qt6-translations-l10n" <<<"$depends" && fail "qt6-translations-l10n is a Depends"
grep -qx " Recommends: xdg-utils, qt6-translations-l10n" <<<"$info" ||
    fail "Recommends is not xdg-utils, qt6-translations-l10n"
grep -qxF " Maintainer: $maintainer" <<<"$info" || fail "Maintainer is not $maintainer"
long=$(dpkg-deb --field "$deb" Description | awk 'length($0) > 80')
[ -z "$long" ] || fail "Description lines longer than 80 columns: $long"

# The debug package: its files data (mode 0644), md5sums that dpkg can check (paths relative
# to the root, each one there with its sum), and its documents those of the main package.
if [ -z "$ddeb" ]; then
    fail "no corvelle-photo-tools-dbgsym_*.ddeb"
else
    debug_contents=$(dpkg-deb --contents "$ddeb")
    grep "/usr/lib/debug/.build-id/.*\.debug$" <<<"$debug_contents" >/dev/null ||
        fail "the dbgsym package holds no debug information"
    executable=$(grep "\.debug$" <<<"$debug_contents" | grep -v "^-rw-r--r--")
    [ -z "$executable" ] || fail "debug files not of mode 0644: $executable"
    grep -q "\./usr/share/doc/corvelle-photo-tools-dbgsym -> corvelle-photo-tools\$" <<<"$debug_contents" ||
        fail "the dbgsym package's documents do not lead to corvelle-photo-tools'"
    dpkg-deb --field "$ddeb" Depends | grep -qx "corvelle-photo-tools (= $(dpkg-deb --field "$deb" Version))" ||
        fail "the dbgsym package does not depend on its very version of corvelle-photo-tools"
    mkdir "$out/debug"
    dpkg-deb --raw-extract "$ddeb" "$out/debug"
    grep -q "^[0-9a-f]*  /" "$out/debug/DEBIAN/md5sums" && fail "md5sums list absolute paths"
    (cd "$out/debug" && md5sum --quiet --check DEBIAN/md5sums) || fail "md5sums do not match the files"
    listed=$(wc -l <"$out/debug/DEBIAN/md5sums")
    files=$(cd "$out/debug" && find usr -type f | wc -l)
    [ "$listed" -eq "$files" ] || fail "md5sums list $listed files of $files"
    leaked=$(built_in "$out/debug/usr")
    [ -z "$leaked" ] || fail "the debug files name the build folder: $leaked"
fi

# Errors and warnings fail; what remains is listed for the reader.
for package in "$deb" ${ddeb:+"$ddeb"}; do
    if ! lintian --fail-on error,warning --display-info "$package"; then
        fail "lintian reports errors or warnings on $(basename "$package")" \
             "(justify an override in $packaging_dir/lintian-overrides)"
    fi
done
echo "$(( failures == 0 ? 1 : 0 )) passed, $failures failed"
[ "$failures" -eq 0 ]
