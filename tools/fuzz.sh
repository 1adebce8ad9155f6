#!/usr/bin/env bash
# Builds the fuzz preset and fuzzes the reader and the title search for a while.
# Usage: tools/fuzz.sh [seconds]  (default 60). Fails on any crash, leak or mismatch; the input
# that caused it is left in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

tools/install-deps.sh
cmake --preset fuzz
cmake --build --preset fuzz -j "$(nproc)" --target search_fuzzer

# The fuzzer adds the inputs it finds to its first corpus folder: keep the committed one clean.
corpus=build/fuzz/corpus
artifacts=build/fuzz/artifacts
mkdir -p "$corpus" "$artifacts"
cp tests/fuzz/corpus/* "$corpus"/

build/fuzz/tests/fuzz/search_fuzzer \
  -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -dict=tests/fuzz/search.dict -artifact_prefix="$artifacts/" -print_final_stats=1 \
  "$corpus"
