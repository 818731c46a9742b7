#!/usr/bin/env bash
# Runs the store benchmarks over a generated history of CLIPS clips (default 100,000), e.g.
#   scripts/bench.sh build 1000000 --benchmark_filter=Reload
# The history is generated once per size and kept in the build folder; each run reads a copy,
# since the edit round trips change it. Peak memory of a store holding it is printed last.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
clips=${2:-100000}
shift $(( $# > 2 ? 2 : $# ))
export QT_QPA_PLATFORM=offscreen
bench="$build_dir/bench/store_bench"
kept="$build_dir/bench-history-$clips.sqlite"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ ! -e "$kept" ]; then
    echo "Generating a history of $clips clips..."
    CORVANE_BENCH_HISTORY="$kept" "$bench" --clips="$clips" --hold-history
fi
cp "$kept" "$work/history.sqlite"
CORVANE_BENCH_HISTORY="$work/history.sqlite" "$bench" --clips="$clips" "$@"
cp "$kept" "$work/history.sqlite"
CORVANE_BENCH_HISTORY="$work/history.sqlite" /usr/bin/time -f "peak RSS holding $clips clips: %M KiB" \
    "$bench" --clips="$clips" --hold-history
