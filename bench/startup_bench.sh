#!/usr/bin/env bash
# Start-up time: from process start to the window shown with the focus in the search box, beside
# a minimal Qt Widgets program that shows one empty window. Both run on a real X server (Xvfb)
# in examples/, timed alternately by hyperfine.
#
# usage: bench/startup_bench.sh [runs]      (QUILLSCAN_BUILD_DIR, default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-30}"
build="$(realpath -m "${QUILLSCAN_BUILD_DIR:-build/default}")"

[ -d "$build" ] || cmake --preset default -B "$build" >/dev/null
cmake --build "$build" --target startup_quillscan startup_minimal_qt >/dev/null
command -v hyperfine >/dev/null || { echo "hyperfine is needed: apt-get install hyperfine" >&2; exit 1; }

display=":97"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb' EXIT
sleep 1

cd examples
DISPLAY="$display" QT_QPA_PLATFORM=xcb hyperfine --warmup 3 --runs "$runs" -N \
  --command-name "quillscan" "$build/bench/startup_quillscan" \
  --command-name "minimal Qt window" "$build/bench/startup_minimal_qt"
