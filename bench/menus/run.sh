#!/usr/bin/env bash
# Popup menu benchmark; runs under Wine.
exec "$(dirname "$0")/../common/run-bench.sh" menu_popup_bench "$@"
