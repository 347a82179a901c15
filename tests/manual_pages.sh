#!/usr/bin/env bash
# Each program's manual page renders with man(1) without a warning in a UTF-8 locale and in
# the plain C locale (where a reader sees only ASCII), keeps none of scdoc's markup in the
# text, and documents every option its --help lists.
set -u
programs=()
while [ $# -gt 0 ] && [ "$1" != --pages ]; do programs+=("$1"); shift; done
shift
command -v man >/dev/null || { echo "FAIL: man absent (make deps)"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for page in "$@"; do
    name=$(basename "$page" .1)
    for locale in C.UTF-8 C; do
        warnings=$(LC_ALL=$locale MANWIDTH=80 man -l --warnings=w "$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "$name(1) renders with warnings under LC_ALL=$locale: $warnings"
    done
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES; do
        grep -qx "$section" <<<"$text" || fail "$name(1) has no $section"
    done
    # An underscore inside italics is an underline scdoc did not close ("W_x_H"), and a
    # source line starting with "." followed by a word loses its dot to scdoc's list syntax.
    leftover=$(grep -oE '\\fI[^\\]*_[^\\]*\\fR' "$page")
    [ -z "$leftover" ] || fail "$name(1) shows scdoc markup: $leftover"
    source="${page%.1}.1.scd"
    [ -f "$source" ] || source=$(dirname "$0")/../$name/data/$name.1.scd
    dotted=$(grep -nE '^\s*\.[A-Za-z]' "$source")
    [ -z "$dotted" ] || fail "$name(1) source line starts with a dot: $dotted"
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
