#!/usr/bin/env bash
# Registry cleaner benchmark: builds RegScanBench.exe against the project's
# libraries, then, in a private Wine prefix, seeds KEYS keys with
# VALUES_PER_KEY values each under a scratch key of HKCU, times the value
# pass over them against a bare enumeration (best of RUNS runs), and removes
# the scratch key again.
#
# Env: BUILD_DIR (default build; built first when its libraries are missing),
#      BENCH_DIR (default /tmp/tarnholt-regbench), KEYS (default 20000),
#      VALUES_PER_KEY (default 10), RUNS (default 3).
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-build}
case $build in /*) ;; *) build=$repo/$build ;; esac
bench=${BENCH_DIR:-/tmp/tarnholt-regbench}
mkdir -p "$bench"

if [ ! -f "$build/app/libapp_lib.a" ] || [ ! -f "$build/framework/libframework.a" ]; then
  BUILD_DIR=$build "$repo/scripts/build.sh"
else
  cmake --build "$build" --target app_lib framework >/dev/null
fi

echo "== building RegScanBench.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -DUNICODE -D_UNICODE -municode \
  -I"$repo" "$repo/bench/regscan/RegScanBench.cpp" \
  "$build/app/libapp_lib.a" "$build/framework/libframework.a" \
  -static -ladvapi32 -luser32 -lgdi32 -lshell32 -lcomctl32 -lole32 -lshlwapi -o "$bench/RegScanBench.exe"

export WINEPREFIX=${WINEPREFIX:-$bench/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" TZ=UTC
if [ ! -d "$WINEPREFIX" ]; then
  echo "== creating Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 && wineserver -w
fi
wineserver -p 60
trap 'wineserver -k 2>/dev/null || true' EXIT

wine "$bench/RegScanBench.exe" "${KEYS:-20000}" "${VALUES_PER_KEY:-10}" "${RUNS:-3}" | tr -d '\r'
