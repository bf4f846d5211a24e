#!/usr/bin/env bash
# Message dispatch benchmark: builds DispatchBench.exe against the framework
# library and times sending messages to a framework window and to a bare
# window procedure, in a private Wine prefix on a private Xvfb display.
#
# Env: BUILD_DIR (default build), BENCH_DIR (default /tmp/tarnholt-dispatchbench),
#      COUNT (messages per run, default 200000), RUNS (default 7).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-build}
case $build in /*) ;; *) build=$repo/$build ;; esac
bench=${BENCH_DIR:-/tmp/tarnholt-dispatchbench}
mkdir -p "$bench"

if [ ! -f "$build/framework/libframework.a" ]; then
  BUILD_DIR=$build "$repo/scripts/build.sh"
else
  cmake --build "$build" --target framework >/dev/null
fi

echo "== building DispatchBench.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -DUNICODE -D_UNICODE -municode \
  -I"$repo" "$repo/bench/dispatch/DispatchBench.cpp" "$build/framework/libframework.a" \
  "${DEPS_DIR:-$repo/.deps}/mingw64/lib/libjpeg.a" \
  -static -ladvapi32 -luser32 -lgdi32 -lmsimg32 -lshell32 -lcomctl32 -lcomdlg32 -lole32 -lshlwapi \
  -o "$bench/DispatchBench.exe"

export TARNHOLT_WINEPREFIX=$bench/wineprefix
unset DISPLAY
# shellcheck source=../../scripts/wine-env.sh
TARNHOLT_WINE_NO_AUTOSTART=1 . "$repo/scripts/wine-env.sh" "$bench"
trap tarnholt_wine_down EXIT
tarnholt_wine_up
wine "$bench/DispatchBench.exe" "${COUNT:-200000}" "${RUNS:-7}" | tr -d '\r'
