#!/usr/bin/env bash
# Window-adapter benchmark; runs under Wine.
exec "$(dirname "$0")/../common/run-bench.sh" scroll_bars_bench "$@"
