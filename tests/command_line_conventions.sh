#!/usr/bin/env bash
# Every program: an unknown option is named on stderr with the usage and exits 2, with or
# without a display and before any window opens; --help shows every form, the window's too,
# with the same "Usage:" shape; --version names the program and its licence.
set -u
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for program in "$@"; do
    name=$(basename "$program")
    for display in none offscreen; do
        if [ "$display" = none ]; then
            run=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
        else
            run=(env QT_QPA_PLATFORM=offscreen)
        fi
        err=$(timeout 20 "${run[@]}" "$program" --bogus 2>&1 >/dev/null)
        status=$?
        [ "$status" -eq 2 ] || fail "$name --bogus ($display display) exits $status, not 2"
        first=$(printf '%s\n' "$err" | head -n 1)
        [[ "$first" == *"--bogus"* ]] || fail "$name --bogus: first line does not name it: $first"
        printf '%s\n' "$err" | grep -qi "usage" || fail "$name --bogus: no usage on stderr"
    done
    out=$(timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY "$program" --help 2>/dev/null)
    status=$?
    [ "$status" -eq 0 ] || fail "$name --help exits $status"
    # The window form: the bare name, optionally followed by [ARGUMENT...], on a line of its own.
    printf '%s\n' "$out" | grep -Eq "(^|[[:space:]])$name( \[[A-Z.]+\])?([[:space:]]{2,}.*|[[:space:]]*)$" ||
        fail "$name --help does not show the window form '$name ...'"
    [[ "$(head -n 1 <<<"$out")" == "Usage: $name"* ]] || fail "$name --help does not begin 'Usage: $name'"
    for line in "Options:" "  -h, --help " "  --version "; do
        grep -qF -- "$line" <<<"$out" || fail "$name --help lacks '$line'"
    done
    version=$(timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version 2>/dev/null)
    status=$?
    [ "$status" -eq 0 ] || fail "$name --version exits $status"
    grep -Eq "^$name [0-9]" <<<"$version" || fail "$name --version does not begin '$name <version>'"
    grep -q "GPL-3.0-or-later" <<<"$version" || fail "$name --version does not name the licence"
done

# A negative number is an option's value; a number out of range is kept in it with a warning.
for program in "$@"; do
    case $(basename "$program") in
        morvane)
            err=$(timeout 20 "$program" --convert /nonexistent.jpg --trim 2 --trim-offset -39,0 \
                  -o /nonexistent/out.jpg 2>&1 >/dev/null)
            status=$?
            [ "$status" -eq 1 ] || fail "morvane --trim-offset -39,0 exits $status, not 1: $err" ;;
        brevoll)
            err=$(timeout 20 "$program" --batch --ratio 500 --source /nonexistent --dest /nonexistent \
                  2>&1 >/dev/null)
            [[ "$(head -n 1 <<<"$err")" == "brevoll: warning: --ratio 500 is outside 1..100; 100 is used" ]] ||
                fail "brevoll --ratio 500 warns: $err" ;;
    esac
done
echo "$(( $# - failures > 0 ? $# - failures : 0 )) passed, $failures failed"
[ "$failures" -eq 0 ]
