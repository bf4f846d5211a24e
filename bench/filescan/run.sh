#!/usr/bin/env bash
# File-search benchmark: generates the tree under /tmp (once), builds
# FileScanBench.exe in $BUILD_DIR, then times on the same tree, hot cache,
# best of RUNS runs each:
#   - TmFileScan under Wine (mask "*.*", subfolders, a handler that counts);
#   - a bare FindFirstFileExW walk under Wine (the floor);
#   - find, native.
# Prints the times and the ratios.
#
# Env: BUILD_DIR (default build), BENCH_DIR (default /tmp/tarnholt-filescan),
#      RUNS (default 5), FILES (default 100000), FOLDERS (default 5000).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
cd "$repo"
export BUILD_DIR=${BUILD_DIR:-build}
bench=${BENCH_DIR:-/tmp/tarnholt-filescan}
runs=${RUNS:-5}
files=${FILES:-100000}
folders=${FOLDERS:-5000}
tree=$bench/tree-$files-$folders
mkdir -p "$bench"

if [ ! -f "$tree.stamp" ]; then
  rm -rf "$tree"
  python3 "$repo/bench/filescan/gen_tree.py" "$tree" --files "$files" --folders "$folders"
  touch "$tree.stamp"
fi

echo "== building FileScanBench.exe"
case $BUILD_DIR in /*) build=$BUILD_DIR ;; *) build=$repo/$BUILD_DIR ;; esac
# Configure (and build the dependencies) once; then only the bench target.
[ -f "$build/CMakeCache.txt" ] || scripts/build.sh >/dev/null
cmake --build "$build" --target filescan_bench >/dev/null

# Numbers are formatted with "." whatever locale Wine's environment sets.
calc() { LC_ALL=C awk "BEGIN { printf \"%.3f\", $1 }"; }

echo "== find (native)"
find "$tree" >/dev/null  # hot cache
best_find=""
for _ in $(seq "$runs"); do
  t0=$(date +%s.%N)
  n=$(find "$tree" -mindepth 1 | wc -l)
  t=$(calc "$(date +%s.%N) - $t0")
  if [ -z "$best_find" ] || [ "$(calc "$t < $best_find")" = 1.000 ]; then best_find=$t; fi
done
echo "find seconds=$best_find entries=$n"

export TARNHOLT_WINE_NO_AUTOSTART=1
# shellcheck source=../../scripts/wine-env.sh
. scripts/wine-env.sh "$BUILD_DIR"
trap tarnholt_wine_down EXIT
unset DISPLAY
tarnholt_wine_up

echo "== TmFileScan and the bare walk (Wine)"
out=$(wine "$build/bench/FileScanBench.exe" "Z:${tree//\//\\}" "$runs" | tr -d '\r')
echo "$out"
scan=$(echo "$out" | sed -n 's/^tmfilescan seconds=\([0-9.]*\).*/\1/p')
bare=$(echo "$out" | sed -n 's/^bare seconds=\([0-9.]*\).*/\1/p')
echo "tmfilescan / find = $(calc "$scan / $best_find")"
echo "bare / find       = $(calc "$bare / $best_find")"
