#!/usr/bin/env bash
# List view benchmark: builds ListViewBench.exe against the framework
# library and times filling a report list view on a shown form with ROWS
# rows (default 100000), RUNS times (default 5; median, min and max), in a
# private Wine prefix on a private Xvfb display.
#
# Env: BUILD_DIR (default build), BENCH_DIR (default /tmp/tarnholt-lvbench),
#      ROWS (default 100000), RUNS (default 5).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-build}
case $build in /*) ;; *) build=$repo/$build ;; esac
bench=${BENCH_DIR:-/tmp/tarnholt-lvbench}
mkdir -p "$bench"

if [ ! -f "$build/framework/libframework.a" ]; then
  BUILD_DIR=$build "$repo/scripts/build.sh"
else
  cmake --build "$build" --target framework >/dev/null
fi

echo "== building ListViewBench.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -DUNICODE -D_UNICODE -municode \
  -I"$repo" "$repo/bench/listview/ListViewBench.cpp" "$build/framework/libframework.a" \
  "${DEPS_DIR:-$repo/.deps}/mingw64/lib/libjpeg.a" \
  -static -ladvapi32 -luser32 -lgdi32 -lmsimg32 -lshell32 -lcomctl32 -lcomdlg32 -lole32 -lshlwapi \
  -o "$bench/ListViewBench.exe"

export TARNHOLT_WINEPREFIX=$bench/wineprefix
unset DISPLAY
# shellcheck source=../../scripts/wine-env.sh
TARNHOLT_WINE_NO_AUTOSTART=1 . "$repo/scripts/wine-env.sh" "$bench"
trap tarnholt_wine_down EXIT
tarnholt_wine_up
wine "$bench/ListViewBench.exe" "${ROWS:-100000}" "${RUNS:-5}" | tr -d '\r'
