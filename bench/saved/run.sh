#!/usr/bin/env bash
# Saved-scan benchmark: a generated 1,000,000-entry tree is scanned, saved and
# opened again; prints open/scan time and bytes per entry of the file.
#
#   bash bench/saved/run.sh [runs] [entries]
#
# KORVEX_BENCH_TREE picks where the generated tree lives (default /tmp).
set -euo pipefail

runs="${1:-3}"
entries="${2:-1000000}"
source "$(dirname "${BASH_SOURCE[0]}")/../support/generated-tree.sh"
build_bench_targets korvex-bench-saved
"$build/bench/saved/korvex-bench-saved" "$(generated_tree "$entries")" "$runs"
