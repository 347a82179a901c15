#!/usr/bin/env bash
# Each program's manual page renders with man(1) without a warning, and documents every
# option its --help lists.
set -u
programs=()
while [ $# -gt 0 ] && [ "$1" != --pages ]; do programs+=("$1"); shift; done
shift
command -v man >/dev/null || { echo "FAIL: man absent (make deps)"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for page in "$@"; do
    name=$(basename "$page" .1)
    warnings=$(MANWIDTH=80 man -l --warnings "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$name(1) renders with warnings: $warnings"
    text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES; do
        grep -qx "$section" <<<"$text" || fail "$name(1) has no $section"
    done
    for program in "${programs[@]}"; do
        [ "$(basename "$program")" = "$name" ] || continue
        for option in $(env -u DISPLAY "$program" --help | grep -oE -- '(^|[ ,|])--?[a-z][a-z-]*' |
                        grep -oE -- '--?[a-z][a-z-]*' | sort -u); do
            grep -qF -- "$option" <<<"$text" || fail "$name(1) does not document $option"
        done
    done
done
echo "$(( $# - failures > 0 ? $# - failures : 0 )) passed, $failures failed"
[ "$failures" -eq 0 ]
