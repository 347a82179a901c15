#!/usr/bin/env bash
# Each program's AppStream metainfo validates offline and carries an English and a Korean
# summary and a screenshot.
set -u
command -v appstreamcli >/dev/null || { echo "FAIL: appstreamcli absent (make deps)"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for file in "$@"; do
    appstreamcli validate --no-net "$file" || fail "$file does not validate"
    grep -q '<summary>' "$file" || fail "$file has no English summary"
    grep -q '<summary xml:lang="ko">' "$file" || fail "$file has no Korean summary"
    grep -q '<screenshot type="default">' "$file" || fail "$file has no screenshot"
done
echo "$(( $# - failures > 0 ? $# - failures : 0 )) passed, $failures failed"
[ "$failures" -eq 0 ]
