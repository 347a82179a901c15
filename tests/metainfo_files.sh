#!/usr/bin/env bash
# Each program's AppStream metainfo validates offline; its id is lower-case reverse-DNS and
# names the file; it carries an English and a Korean summary, a screenshot, a bug tracker,
# and a release of the program's own version (the one `--version` prints).
# Usage: metainfo_files.sh <program>... --files <metainfo>...
set -u
programs=()
while [ $# -gt 0 ] && [ "$1" != --files ]; do programs+=("$1"); shift; done
shift
command -v appstreamcli >/dev/null || { echo "FAIL: appstreamcli absent (make deps)"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for file in "$@"; do
    appstreamcli validate --no-net "$file" || fail "$file does not validate"
    id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$file")
    [[ "$id" =~ ^[a-z0-9]+(\.[a-z0-9_-]+){2,}$ ]] || fail "$file: id '$id' is not lower-case reverse-DNS"
    [ "$(basename "$file")" = "$id.metainfo.xml" ] || fail "$file is not named after its id $id"
    grep -q '<summary>' "$file" || fail "$file has no English summary"
    grep -q '<summary xml:lang="ko">' "$file" || fail "$file has no Korean summary"
    grep -q '<screenshot type="default">' "$file" || fail "$file has no screenshot"
    grep -q '<url type="bugtracker">https://' "$file" || fail "$file has no bug tracker"
    release=$(sed -n 's:.*<release version="\([^"]*\)".*:\1:p' "$file" | head -n 1)
    name=${id##*.}
    for program in "${programs[@]}"; do
        [ "$(basename "$program")" = "$name" ] || continue
        version=$(env -u DISPLAY "$program" --version | head -n 1 | grep -oE '[0-9]+(\.[0-9]+)+' | head -n 1)
        [ -n "$release" ] && [ "$release" = "$version" ] ||
            fail "$file: release '$release', but $name --version says '$version'"
    done
done
echo "$(( $# - failures > 0 ? $# - failures : 0 )) passed, $failures failed"
[ "$failures" -eq 0 ]
