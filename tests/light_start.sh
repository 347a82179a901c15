#!/usr/bin/env bash
# What each command-line mode loads, in every process it runs: --help and --version load no
# Qt at all; the metadata modes neither Qt's window libraries nor libvips; the modes that
# decode or convert pictures load libvips (where they use it) but not Qt's window
# libraries. The dynamic linker names every library it loads (LD_DEBUG=files).
# Usage: light_start.sh <folder of the built programs' folders>
set -u
build_dir=$1
failures=0
checked=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/pictures" "$work/out" "$work/config" "$work/state"
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
picture=$work/pictures/a.jpg
: >"$picture"

window="libQt6Widgets|libQt6Gui"
# command ; libraries it must not load (extended regex) ; a library it must load (or -)
cases=(
    "morvane --version;libQt6|libvips;-"
    "tiselk --version;libQt6|libvips;-"
    "brevoll --version;libQt6|libvips;-"
    "quenset --version;libQt6|libvips;-"
    "morvane --help;libQt6|libvips;-"
    "tiselk --help;libQt6|libvips;-"
    "brevoll --help;libQt6|libvips;-"
    "quenset --help;libQt6|libvips;-"
    "tiselk --json $picture;$window|libvips;-"
    "tiselk --info $picture;$window|libvips;-"
    "quenset --preview $work/pictures;$window|libvips;-"
    "quenset --rename $work/pictures --type nef;$window|libvips;-"
    "quenset --undo --list $work/pictures;$window|libvips;-"
    "quenset --undo $work/pictures;$window|libvips;-"
    "tiselk --decode $picture -o $work/out/a.bmp;$window;libvips"
    "tiselk --histogram $picture;$window;libvips"
    "brevoll --batch --source $work/pictures --dest $work/out;$window;libvips"
    "morvane --convert $picture -o $work/out/b.jpg;$window;-"
)
for case in "${cases[@]}"; do
    IFS=';' read -r command forbidden required <<<"$case"
    read -r name arguments <<<"$command"
    # shellcheck disable=SC2086  # the arguments are split on purpose
    loaded=$(env -u DISPLAY -u WAYLAND_DISPLAY LD_DEBUG=files timeout 60 \
                 "$build_dir/$name/$name" $arguments 2>&1 >/dev/null |
             sed -n 's/.*file=\([^ ]*\) .*needed by.*/\1/p' | sort -u)
    checked=$((checked + 1))
    found=$(grep -E "$forbidden" <<<"$loaded" | tr '\n' ' ')
    [ -z "$found" ] || fail "$command loads $found"
    if [ "$required" != - ]; then
        grep -q "$required" <<<"$loaded" || fail "$command does not load $required"
    fi
done
echo "$((checked - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
