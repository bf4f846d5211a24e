#!/usr/bin/env bash
# Memory benchmark: the main window's private bytes step by step, in a
# private Wine prefix on a private Xvfb (the prefix gets Explorer's
# "Advanced" key, so start-up shows no message box).
# Env: BUILD_DIR (default build), BENCH_DIR (default /tmp/tarnholt-memory).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
cd "$repo"
export BUILD_DIR=${BUILD_DIR:-build}
case $BUILD_DIR in /*) build=$BUILD_DIR ;; *) build=$repo/$BUILD_DIR ;; esac
bench=${BENCH_DIR:-/tmp/tarnholt-memory}
mkdir -p "$bench"
[ -f "$build/CMakeCache.txt" ] || scripts/build.sh >/dev/null
cmake --build "$build" --target memory_bench >/dev/null
cp "$build/bench/memory_bench.exe" "$bench/"

export TARNHOLT_WINEPREFIX=$bench/wineprefix
unset DISPLAY
# shellcheck source=../../scripts/wine-env.sh
TARNHOLT_WINE_NO_AUTOSTART=1 . "$repo/scripts/wine-env.sh" "$bench"
trap tarnholt_wine_down EXIT
tarnholt_wine_up
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced' /f </dev/null >/dev/null 2>&1
cd "$bench"
wine ./memory_bench.exe | tr -d '\r'
