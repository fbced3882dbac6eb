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
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$here/build-bench"
tree="${KORVEX_BENCH_TREE:-/tmp/korvex-bench-tree-$entries}"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEX_BUILD_TESTS=OFF \
  -DKORVEX_BUILD_GUI=OFF >/dev/null
cmake --build "$build" --target korvex-bench-saved korvex-treegen >/dev/null

if [ ! -f "$tree/.complete" ]; then
  rm -rf "$tree"
  "$build/tools/treegen/korvex-treegen" "$tree" --entries "$entries"
  touch "$tree/.complete"
fi

"$build/bench/saved/korvex-bench-saved" "$tree" "$runs"
