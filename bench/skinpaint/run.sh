#!/usr/bin/env bash
# Control painting benchmark; runs under Wine.
exec "$(dirname "$0")/../common/run-bench.sh" skin_paint_bench "$@"
