#!/usr/bin/env bash
# Cross-compiles the index core and quillscan-search for Windows with mingw-w64 (preset mingw),
# checks the window program's resources, and runs the tests and a quillscan-search smoke test
# under wine. Usage: tools/test-windows.sh [build folder]   (default: build/mingw)
# Ends with success and a message, running nothing, when wine cannot start programs here.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/mingw}"

tools/install-deps.sh
cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"

# The resources that quillscan.exe gets: twelve icon images in one group, the manifest and the
# version information, as the resource compiler wrote them.
resources="$(x86_64-w64-mingw32-windres -J coff -O rc \
  -i "$build/CMakeFiles/quillscan_resources.dir/src/window/quillscan.rc.res")"
check_resource() {  # description, pattern, expected count
  local found
  found="$(grep -c -- "$2" <<<"$resources" || true)"
  if [ "$found" -ne "$3" ]; then
    echo "FAIL: resources: $found $1, expected $3" >&2
    exit 1
  fi
}
check_resource "icon images" "RT_ICON \*/" 12
check_resource "icon groups" "RT_GROUP_ICON \*/" 1
check_resource "manifests" "^1 24 " 1
check_resource "version blocks" "VERSIONINFO" 1
echo "Windows resources: 12 icon images in one group, manifest, version information"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
WINEPREFIX="$(mktemp -d)"
export WINEPREFIX
work="$(mktemp -d)"
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$work"
}
trap cleanup EXIT

if ! command -v wine >/dev/null || ! timeout 300 wineboot -i >/dev/null 2>&1 ||
  ! timeout 60 wine "$build/tests/index/utf8_test.exe" --gtest_list_tests >/dev/null 2>&1; then
  echo "SKIPPED: wine cannot run Windows programs here; the Windows build was compiled, not run"
  exit 0
fi

ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# quillscan-search.exe from a folder with an index: UTF-8 arguments and file names beyond the
# ANSI code page, output as UTF-8 with LF, and the exit codes.
search="$(realpath "$build/src/cli/quillscan-search.exe")"
printf '中文标题 Привет\nhttps://a.example/中\nEnglish title\nhttps://a.example/en\n' >"$work/threads.db5"
printf 'другой 中文\nhttps://b.example/\n' >"$work/索引.db5"
failures=0 cases=0
expect() {  # exit code, stdout, stderr, arguments...
  local code="$1" out="$2" err="$3" actual_code=0
  shift 3
  cases=$((cases + 1))
  (cd "$work" && wine "$search" "$@" >"$work/out" 2>"$work/err") || actual_code=$?
  if [ "$actual_code" -ne "$code" ] || [ "$(cat "$work/out"; echo .)" != "$out." ] ||
    [ "$(cat "$work/err"; echo .)" != "$err." ]; then
    failures=$((failures + 1))
    echo "FAIL: quillscan-search $*: exit $actual_code (expected $code)" >&2
    diff <(printf '%s' "$out") "$work/out" >&2 || true
    diff <(printf '%s' "$err") "$work/err" >&2 || true
  fi
}
expect 0 $'中文标题 Привет\thttps://a.example/中\n共搜索到: 1 个结果。\n' "" "привет"
expect 0 $'中文标题 Привет\thttps://a.example/中\n共搜索到: 1 个结果。\n' "" "  中文 "
expect 0 $'другой 中文\thttps://b.example/\n共搜索到: 1 个结果。\n' "" --index 索引.db5 ДРУГОЙ
expect 0 $'{"status": "共搜索到: 1 个结果。", "color": [0, 128, 0]}\n' "" --json --count TITLE
expect 0 $'{"status": "请输入搜索内容", "color": [255, 0, 0]}\n' "" --json " "
expect 1 "" $'当前文件夹里没有数据文件 缺少.db5\n' --index 缺少.db5 x
expect 2 "" $'用法: quillscan-search [--index 文件] [--json] [--count] [--] 查询\n' one two
cases=$((cases + 2))
if ! (cd "$work" && wine "$search" --help) | grep -q '^用法: quillscan-search'; then
  failures=$((failures + 1))
  echo "FAIL: quillscan-search --help" >&2
fi
if [ -e "$work/缺少.db5" ]; then
  failures=$((failures + 1))
  echo "FAIL: quillscan-search created a missing index" >&2
fi

echo "quillscan-search.exe under wine"
echo "wine: $((cases - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
