#!/usr/bin/env bash
# Skin change benchmark: the main window changing skin against one full
# unskinned repaint of it, side by side in one run, in a private Wine prefix
# on a private Xvfb. The prefix gets Explorer's "Advanced" key as a Windows
# profile has it, so the main window's start-up shows no message box.
#
# Env: BUILD_DIR (default build), BENCH_DIR (default /tmp/tarnholt-skinchange),
#      RUNS (default 9).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
cd "$repo"
export BUILD_DIR=${BUILD_DIR:-build}
case $BUILD_DIR in /*) build=$BUILD_DIR ;; *) build=$repo/$BUILD_DIR ;; esac
bench=${BENCH_DIR:-/tmp/tarnholt-skinchange}
mkdir -p "$bench"
[ -f "$build/CMakeCache.txt" ] || scripts/build.sh >/dev/null
cmake --build "$build" --target skin_change_bench >/dev/null
cp "$build/bench/skin_change_bench.exe" "$bench/"

export TARNHOLT_WINEPREFIX=$bench/wineprefix
unset DISPLAY
# shellcheck source=../../scripts/wine-env.sh
TARNHOLT_WINE_NO_AUTOSTART=1 . "$repo/scripts/wine-env.sh" "$bench"
trap tarnholt_wine_down EXIT
tarnholt_wine_up
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced' /f </dev/null >/dev/null 2>&1
# The main window writes Config.ini beside the program: run from the bench folder.
cd "$bench"
wine ./skin_change_bench.exe "${RUNS:-9}" | tr -d '\r'
