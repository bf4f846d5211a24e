#!/usr/bin/env bash
# Skinned controls benchmark; runs under Wine.
exec "$(dirname "$0")/../common/run-bench.sh" controls_bench "$@"
