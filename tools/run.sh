#!/usr/bin/env bash
# Builds Quillscan and starts it on the bundled sample index (examples/threads.db5).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target quillscan
cd examples
exec ../build/default/src/window/quillscan
