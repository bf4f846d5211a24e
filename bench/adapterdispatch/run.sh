#!/usr/bin/env bash
# Adapted-window dispatch benchmark (WM_USER to skinned controls against bare
# windows, side by side in one run); runs under Wine.
# Usage: bench/adapterdispatch/run.sh [count] [runs]
exec "$(dirname "$0")/../common/run-bench.sh" adapter_dispatch_bench "$@"
