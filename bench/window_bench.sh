#!/usr/bin/env bash
# The window with a million rows: a query that matches every title of the 1,000,000-thread
# index, shown in the real window (offscreen) beside the same search into a counting view, ten
# searches in a row, with the memory they take.
#
# usage: bench/window_bench.sh [runs]      (QUILLSCAN_BUILD_DIR, default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-10}"
build="${QUILLSCAN_BUILD_DIR:-build/default}"

[ -d "$build" ] || cmake --preset default -B "$build" >/dev/null
cmake --build "$build" --target window_bench quillscan-search >/dev/null
mkdir -p bench/data
index=bench/data/threads-1m.db5
[ -f "$index" ] || python3 tools/generate_index.py --threads 1000000 --seed 1 "$index"

# Every title gets the word "全部" in front, so that one query matches them all.
all=bench/data/threads-1m-all.db5
[ -f "$all" ] || awk 'NR % 2 == 1 { print "全部 " $0; next } { print }' "$index" > "$all"
cat "$all" > /dev/null

echo "quillscan-search --count, best of 5:"
for _ in 1 2 3 4 5; do
  /usr/bin/time -f "%e s" "$build/src/cli/quillscan-search" --count --index "$all" 全部 2>&1 >/dev/null
done | sort | head -1
QT_QPA_PLATFORM=offscreen "$build/bench/window_bench" "$all" 全部 "$runs"
