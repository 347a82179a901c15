#!/usr/bin/env bash
# Runs every fuzz target for a bounded time, each on its own growing corpus.
set -euo pipefail
build_dir=$1
seconds=${2:-60}
jobs=${3:-1}
status=0
for target in "$build_dir"/fuzz/*_fuzz; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="fuzz/corpus-run/$name"
    mkdir -p "$corpus"
    seeds="fuzz/seeds/${name%_fuzz}"
    args=("$corpus")
    [ -d "$seeds" ] && args+=("$seeds")
    if [ "$jobs" -gt 1 ]; then args=("-fork=$jobs" "${args[@]}"); fi
    echo "== $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=262144 \
        -print_final_stats=1 "${args[@]}" 2>&1 | tail -n 12 || status=1
done
exit $status
