#!/usr/bin/env bash
# Skin change benchmark: the main window changing skin against one full
# unskinned repaint of it, side by side in one run; runs under Wine.
# Usage: bench/skinchange/run.sh [runs]
exec "$(dirname "$0")/../common/run-app-bench.sh" skin_change_bench "$@"
