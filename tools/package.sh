#!/usr/bin/env bash
# Builds the Debian package quillscan_VERSION-1_ARCH.deb (preset default) with CPack.
# Usage: tools/package.sh [--check] [build folder]   (default: build/default)
# --check also installs the package into this machine with apt, tries the installed programs and
# files, then purges it and checks that it left nothing behind. Needs root.
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
if [ "${1:-}" = --check ]; then
  check=true
  shift
fi
build="$(realpath -m "${1:-build/default}")"

tools/install-deps.sh
cmake --preset default -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/quillscan_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(echo "$build"/quillscan_*.deb)"
echo "Built $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Section Maintainer
$check || exit 0

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks Qt 6 Widgets"
if dpkg-query -W -f='${Status}' quillscan 2>/dev/null | grep -q "install ok"; then
  apt-get purge -y -qq quillscan >/dev/null
fi

# Folders of the package that exist before it comes must be left; the others must go with it.
mapfile -t paths < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|; s|/$||' | grep -v '^\.\?$')
existed=()
for path in "${paths[@]}"; do
  [ -e "$path" ] && existed+=("$path")
done

(cd "$(dirname "$deb")" && DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq "./$(basename "$deb")" >/dev/null)
for path in "${paths[@]}"; do
  [ -e "$path" ] || fail "$path not installed"
done
/usr/bin/quillscan-search --help >/dev/null || fail "quillscan-search --help"
index="$(mktemp)"
printf 'Installed title\nhttps://example.org/\n' >"$index"
[ "$(/usr/bin/quillscan-search --count --index "$index" TITLE)" = "共搜索到: 1 个结果。" ] ||
  fail "quillscan-search does not search"
rm -f "$index"
if ldd /usr/bin/quillscan | grep 'not found'; then fail "quillscan misses a library"; fi
desktop-file-validate /usr/share/applications/quillscan.desktop || fail "desktop entry"
man -w quillscan quillscan-search >/dev/null || fail "manual pages not found by man"
echo "Installed: $(dpkg-query -W -f='${Package} ${Version}' quillscan); programs, desktop entry and manual pages work"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq quillscan >/dev/null
left=()
for path in "${paths[@]}"; do
  if [ -e "$path" ] && ! printf '%s\n' "${existed[@]}" | grep -qxF -- "$path"; then
    left+=("$path")
  fi
done
[ ${#left[@]} -eq 0 ] || fail "left behind after purge: ${left[*]}"
echo "Purged: nothing of the package left behind"
