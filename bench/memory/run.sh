#!/usr/bin/env bash
# Memory benchmark under Wine: the main window's working set step by step,
# then RUNS runs (default 7) side by side with a minimal one-window program.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
export BENCH_DIR=${BENCH_DIR:-/tmp/tarnholt-memory_bench}
build=${BUILD_DIR:-build}
case $build in /*) ;; *) build=$repo/$build ;; esac
echo "== step by step"
"$here/../common/run-app-bench.sh" memory_bench  # builds the minimal program too
cp "$build/bench/MinimalWindow.exe" "$BENCH_DIR/"
echo "== side by side with a minimal program"
"$here/../common/run-app-bench.sh" memory_bench "${RUNS:-7}" MinimalWindow.exe
