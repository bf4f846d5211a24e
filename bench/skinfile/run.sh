#!/usr/bin/env bash
# Skin file benchmark: loads folder skins written in a scratch folder, one
# with many sections and one with a long PARENTCLASS chain, each a number
# of times, and prints the time of one load. Goal: both load in well under
# a second, and a file twice as large takes about twice as long.
#   bench/skinfile/run.sh [sections] [chain] [runs]   (defaults 100000 4000 3)
# Env: BUILD_DIR (default build).
exec "$(dirname "$0")/../common/run-bench.sh" skinfile_bench "$@"
