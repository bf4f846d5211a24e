#!/usr/bin/env bash
# Memory benchmark: the main window's working set step by step; runs under Wine.
exec "$(dirname "$0")/../common/run-app-bench.sh" memory_bench "$@"
