#!/usr/bin/env bash
# Start-up benchmark: tarnholt.exe against a minimal one-window program,
# side by side in one run, RUNS runs each (alternating), from process
# creation until the main window is on screen. Both run from a folder of
# their own (tarnholt.exe writes Config.ini beside itself on close) in a
# private Wine prefix and Xvfb; the prefix gets Explorer's "Advanced" key as
# a Windows profile has it, so start-up shows no message box.
#
# Env: BUILD_DIR (default build), BENCH_DIR (default /tmp/tarnholt-startup),
#      OTHER (a further tarnholt.exe to time beside this build's, e.g. an older one),
#      RUNS (default 9).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
cd "$repo"
export BUILD_DIR=${BUILD_DIR:-build}
case $BUILD_DIR in /*) build=$BUILD_DIR ;; *) build=$repo/$BUILD_DIR ;; esac
bench=${BENCH_DIR:-/tmp/tarnholt-startup}
mkdir -p "$bench"

echo "== building"
[ -f "$build/CMakeCache.txt" ] || scripts/build.sh >/dev/null
cmake --build "$build" --target tarnholt startup_bench minimal_window >/dev/null
cp "$build/tarnholt.exe" "$build/bench/MinimalWindow.exe" "$build/bench/StartupBench.exe" "$bench/"

export TARNHOLT_WINEPREFIX=$bench/wineprefix
unset DISPLAY
# shellcheck source=../../scripts/wine-env.sh
TARNHOLT_WINE_NO_AUTOSTART=1 . "$repo/scripts/wine-env.sh" "$bench"
trap tarnholt_wine_down EXIT
tarnholt_wine_up
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced' /f </dev/null >/dev/null 2>&1

win() { echo "Z:${1//\//\\}"; }
echo "== start-up to the window on screen (Wine)"
other=()
if [ -n "${OTHER:-}" ]; then
  mkdir -p "$bench/other"
  cp "$OTHER" "$bench/other/tarnholt.exe"
  other=("$(win "$bench/other/tarnholt.exe")")
fi
wine "$bench/StartupBench.exe" "${RUNS:-9}" "$(win "$bench/tarnholt.exe")" "${other[@]}" \
  "$(win "$bench/MinimalWindow.exe")" | tr -d '\r'
