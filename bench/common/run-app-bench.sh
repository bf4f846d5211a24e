#!/usr/bin/env bash
# Builds one benchmark target that creates the main window and runs
# bench/<target>.exe under Wine on a private display, from a folder of its
# own (the main window writes Config.ini beside the program) and in a
# private prefix that has Explorer's "Advanced" key as a Windows profile has
# it, so start-up shows no message box.
# Usage: bench/common/run-app-bench.sh <target> [args...]
# Env: BUILD_DIR (default build), BENCH_DIR (default /tmp/tarnholt-<target>).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
target=$1
shift
cd "$repo"
export BUILD_DIR=${BUILD_DIR:-build}
case $BUILD_DIR in /*) build=$BUILD_DIR ;; *) build=$repo/$BUILD_DIR ;; esac
bench=${BENCH_DIR:-/tmp/tarnholt-$target}
mkdir -p "$bench"
[ -f "$build/CMakeCache.txt" ] || scripts/build.sh >/dev/null
cmake --build "$build" --target "$target" >/dev/null
cp "$build/bench/$target.exe" "$bench/"

export TARNHOLT_WINEPREFIX=$bench/wineprefix
unset DISPLAY
# shellcheck source=../../scripts/wine-env.sh
TARNHOLT_WINE_NO_AUTOSTART=1 . "$repo/scripts/wine-env.sh" "$bench"
trap tarnholt_wine_down EXIT
tarnholt_wine_up
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced' /f </dev/null >/dev/null 2>&1
cd "$bench"
wine "./$target.exe" "$@" | tr -d '\r'
