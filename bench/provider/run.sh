#!/usr/bin/env bash
# Form skin provider benchmark: frame painting, an activation switch and a
# move, under Wine.
exec "$(dirname "$0")/../common/run-bench.sh" provider_bench "$@"
