#!/usr/bin/env bash
# Builds one benchmark target in $BUILD_DIR (default build; configured by
# ./test or scripts/build.sh) and runs bench/<target>.exe under Wine on a
# private display. Usage: bench/common/run-bench.sh <target> [args...]
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
target=$1
shift
export BUILD_DIR=${BUILD_DIR:-build}
cmake --build "$repo/$BUILD_DIR" --target "$target"
export TARNHOLT_WINE_NO_AUTOSTART=1
# shellcheck source=../../scripts/wine-env.sh
. "$repo/scripts/wine-env.sh" "$BUILD_DIR"
trap tarnholt_wine_down EXIT
unset DISPLAY
tarnholt_wine_up
wine "$repo/$BUILD_DIR/bench/$target.exe" "$@"
