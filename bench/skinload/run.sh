#!/usr/bin/env bash
# Skin reload benchmark: builds SkinLoadBench.exe in $BUILD_DIR and runs it
# under Wine: the selected internal skin reloaded and recoloured (what every
# release of the hue and saturation track bars costs) against a plain copy of
# the master bitmap's bytes. Goal: a reload and recolour under 20 ms.
# Env: BUILD_DIR (default build), RUNS (default 5).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
cd "$repo"
export BUILD_DIR=${BUILD_DIR:-build}
runs=${RUNS:-5}
case $BUILD_DIR in /*) build=$BUILD_DIR ;; *) build=$repo/$BUILD_DIR ;; esac
if [ ! -f "$build/CMakeCache.txt" ]; then scripts/build.sh >/dev/null; fi
echo "== building SkinLoadBench.exe"
cmake --build "$BUILD_DIR" --target skinload_bench >/dev/null

export TARNHOLT_WINE_NO_AUTOSTART=1
# shellcheck source=../../scripts/wine-env.sh
. scripts/wine-env.sh "$BUILD_DIR"
trap tarnholt_wine_down EXIT
unset DISPLAY
tarnholt_wine_up
wine "$build/bench/SkinLoadBench.exe" "$runs" | tr -d '\r'
