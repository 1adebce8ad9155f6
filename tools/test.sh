#!/usr/bin/env bash
# Builds Quillscan and runs every test. Usage: tools/test.sh [preset]  (default or asan)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

tools/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
