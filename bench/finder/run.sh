#!/usr/bin/env bash
# File finder benchmark: the tree of bench/filescan (generated once under
# /tmp), then on the same tree, hot cache, RUNS runs of each, alternating:
#   - the finder's search under Wine with the results tab on screen (one
#     mask, every match listed), wall clock until the rows are painted;
#   - a bare FindFirstFileExW walk of the same tree in the same process.
# Prints median, min and max of both and the ratio of the medians.
#
# Env: BUILD_DIR (default build), BENCH_DIR (default /tmp/tarnholt-filescan),
#      RUNS (default 5), FILES (default 100000), FOLDERS (default 5000),
#      MASK (default *.dat: every file of the tree matches).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
cd "$repo"
export BUILD_DIR=${BUILD_DIR:-build}
bench=${BENCH_DIR:-/tmp/tarnholt-filescan}
runs=${RUNS:-5}
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

export TARNHOLT_WINE_NO_AUTOSTART=1
# shellcheck source=../../scripts/wine-env.sh
. scripts/wine-env.sh "$BUILD_DIR"
trap tarnholt_wine_down EXIT
unset DISPLAY
tarnholt_wine_up

echo "== the finder's search and the bare walk (Wine)"
wine "$build/bench/FinderBench.exe" "Z:${tree//\//\\}" "$mask" "$runs" | tr -d '\r'
