#!/usr/bin/env bash
# Skin engine benchmark; runs under Wine.
exec "$(dirname "$0")/../common/run-bench.sh" skin_engine_bench "$@"
