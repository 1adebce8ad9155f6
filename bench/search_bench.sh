#!/usr/bin/env bash
# Times quillscan-search on a large generated index beside grep, rg and a bare read of the
# file. See bench/README.md for what it measures and how to read the table.
set -euo pipefail

usage() {
    cat <<'EOF'
usage: bench/search_bench.sh [--threads N] [--runs N]

  --threads N  size of the generated index (default 1000000, or $QUILLSCAN_BENCH_THREADS)
  --runs N     timed runs of each command per query (default 7, or $QUILLSCAN_BENCH_RUNS)

Environment:
  QUILLSCAN_BUILD_DIR  build directory to build and use (default build/default)
  QUILLSCAN_SEARCH     use this quillscan-search binary as it is, without building
EOF
}

threads=${QUILLSCAN_BENCH_THREADS:-1000000}
runs=${QUILLSCAN_BENCH_RUNS:-7}
while (($#)); do
    case $1 in
        --threads) threads=${2:?--threads needs a number}; shift 2 ;;
        --runs) runs=${2:?--runs needs a number}; shift 2 ;;
        -h | --help) usage; exit 0 ;;
        *) usage >&2; exit 2 ;;
    esac
done
[[ $threads =~ ^[0-9]+$ && $runs =~ ^[1-9][0-9]*$ ]] || { usage >&2; exit 2; }

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

for tool in grep rg dd python3; do
    command -v "$tool" >/dev/null || { echo "$tool not found (rg: apt-get install ripgrep)" >&2; exit 1; }
done

if [[ -n ${QUILLSCAN_SEARCH:-} ]]; then
    search=$QUILLSCAN_SEARCH
else
    build_dir=${QUILLSCAN_BUILD_DIR:-build/default}
    [[ -f $build_dir/CMakeCache.txt ]] || cmake --preset default -B "$build_dir"
    cmake --build "$build_dir" --target quillscan-search
    search=$(find "$build_dir" -name quillscan-search -type f -perm -u+x -print -quit)
fi
[[ -x $search ]] || { echo "no quillscan-search binary at '$search'" >&2; exit 1; }

# threads-1m.db5, threads-250k.db5, threads-1234.db5: generated once, then reused.
if ((threads > 0 && threads % 1000000 == 0)); then
    label=$((threads / 1000000))m
elif ((threads > 0 && threads % 1000 == 0)); then
    label=$((threads / 1000))k
else
    label=$threads
fi
index=bench/data/threads-$label.db5
if [[ ! -f $index ]]; then
    mkdir -p bench/data
    echo "generating $index ($threads threads) ..." >&2
    python3 tools/generate_index.py --threads "$threads" --seed 1 "$index.partial"
    mv "$index.partial" "$index"
fi

# Every command then reads from the page cache, so the table compares search work, not disk.
cat "$index" >/dev/null

# grep -i folds case by the locale; a UTF-8 locale makes it fold beyond ASCII as quillscan does.
export LC_ALL=C.UTF-8
python3 bench/time_queries.py --search "$search" --index "$index" --runs "$runs" \
    python Windows 破解 教程 zzqxj
