#!/usr/bin/env bash
# Progress-bar step benchmark; runs under Wine.
exec "$(dirname "$0")/../common/run-bench.sh" progress_bench "$@"
