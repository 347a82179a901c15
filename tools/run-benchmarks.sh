#!/usr/bin/env bash
# Runs each program's benchmark script (bench/*.sh) against the given build folder.
set -euo pipefail
build_dir=$(cd "$1" && pwd)
for script in bench/*.sh; do
    [ -f "$script" ] || continue
    echo "== $(basename "$script" .sh)"
    bash "$script" "$build_dir"
done
