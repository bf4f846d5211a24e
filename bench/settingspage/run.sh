#!/usr/bin/env bash
# Settings page benchmark: builds settingspage_bench.exe in $BUILD_DIR
# (default build; configured by ./test or scripts/build.sh) and runs it under
# Wine.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
export BUILD_DIR=${BUILD_DIR:-build}
cmake --build "$repo/$BUILD_DIR" --target settingspage_bench
export TARNHOLT_WINE_NO_AUTOSTART=1
# shellcheck source=../../scripts/wine-env.sh
. "$repo/scripts/wine-env.sh" "$BUILD_DIR"
trap tarnholt_wine_down EXIT
unset DISPLAY
tarnholt_wine_up
wine "$repo/$BUILD_DIR/bench/settingspage_bench.exe"
