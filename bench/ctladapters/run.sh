#!/usr/bin/env bash
# Control-adapter benchmark (a form of standard controls repainted skinned and unskinned); runs under Wine.
exec "$(dirname "$0")/../common/run-bench.sh" ctl_adapters_bench "$@"
