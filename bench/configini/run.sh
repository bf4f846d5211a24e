#!/usr/bin/env bash
# Config.ini benchmark: the time the close takes to save the file finder's
# lists when the filter list holds FILTERS rows (default 10000), median of
# RUNS runs (default 5), into a scratch folder under Wine's %TEMP%.
#
# Env: BUILD_DIR (default build), FILTERS, RUNS.
set -euo pipefail
"$(dirname "$0")/../common/run-bench.sh" configini_bench "${FILTERS:-10000}" "${RUNS:-5}" | tr -d '\r'
