#!/usr/bin/env bash
# File finder benchmark: the tree of bench/filescan (generated once under
# /tmp), then on the same tree, hot cache, best of RUNS runs each:
#   - the finder's search under Wine (one mask, every match listed);
#   - find -iname with the same mask, native.
# Prints both times and their ratio.
#
# Env: BUILD_DIR (default build), BENCH_DIR (default /tmp/tarnholt-filescan),
#      RUNS (default 3), FILES (default 100000), FOLDERS (default 5000),
#      MASK (default *.dat: every file of the tree matches).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
cd "$repo"
export BUILD_DIR=${BUILD_DIR:-build}
bench=${BENCH_DIR:-/tmp/tarnholt-filescan}
runs=${RUNS:-3}
files=${FILES:-100000}
folders=${FOLDERS:-5000}
mask=${MASK:-*.dat}
tree=$bench/tree-$files-$folders
mkdir -p "$bench"

if [ ! -f "$tree.stamp" ]; then
  rm -rf "$tree"
  python3 "$repo/bench/filescan/gen_tree.py" "$tree" --files "$files" --folders "$folders"
  touch "$tree.stamp"
fi

echo "== building FinderBench.exe"
case $BUILD_DIR in /*) build=$BUILD_DIR ;; *) build=$repo/$BUILD_DIR ;; esac
[ -f "$build/CMakeCache.txt" ] || scripts/build.sh >/dev/null
cmake --build "$build" --target finder_bench >/dev/null

calc() { LC_ALL=C awk "BEGIN { printf \"%.3f\", $1 }"; }

echo "== find -iname (native)"
find "$tree" -iname "$mask" >/dev/null  # hot cache
best_find=""
for _ in $(seq "$runs"); do
  t0=$(date +%s.%N)
  n=$(find "$tree" -iname "$mask" | wc -l)
  t=$(calc "$(date +%s.%N) - $t0")
  if [ -z "$best_find" ] || [ "$(calc "$t < $best_find")" = 1.000 ]; then best_find=$t; fi
done
echo "find seconds=$best_find matches=$n"

export TARNHOLT_WINE_NO_AUTOSTART=1
# shellcheck source=../../scripts/wine-env.sh
. scripts/wine-env.sh "$BUILD_DIR"
trap tarnholt_wine_down EXIT
unset DISPLAY
tarnholt_wine_up

echo "== the finder's search (Wine)"
out=$(wine "$build/bench/FinderBench.exe" "Z:${tree//\//\\}" "$mask" "$runs" | tr -d '\r')
echo "$out"
finder=$(echo "$out" | sed -n 's/^finder seconds=\([0-9.]*\).*/\1/p')
echo "finder / find = $(calc "$finder / $best_find")"
