#!/usr/bin/env bash
# Scan benchmark: korvex-cli against du, gdu and ncdu on the same warm-cache
# tree, several runs each; prints median wall time, median peak memory and the
# korvex/peer ratios.
#
#   bash bench/scan/run.sh [runs] [entries]
#
# KORVEX_BENCH_TREE picks where the generated tree lives (default /tmp).
set -euo pipefail

runs="${1:-5}"
entries="${2:-500000}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$here/build-bench"
tree="${KORVEX_BENCH_TREE:-/tmp/korvex-bench-tree-$entries}"

need=()
for p in gdu ncdu time; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEX_BUILD_TESTS=OFF \
  -DKORVEX_BUILD_GUI=OFF >/dev/null
cmake --build "$build" --target korvex-cli korvex-treegen >/dev/null

if [ ! -f "$tree/.complete" ]; then
  rm -rf "$tree"
  "$build/tools/treegen/korvex-treegen" "$tree" --entries "$entries"
  touch "$tree/.complete"
fi

declare -A commands=(
  [korvex]="$build/tools/cli/korvex-cli scan $tree"
  [du]="du -s $tree"
  [gdu]="gdu --non-interactive --no-progress $tree"
  [ncdu]="ncdu -o /dev/null $tree"
)
order=(korvex du gdu ncdu)

# Warm the caches once with every tool.
for name in "${order[@]}"; do ${commands[$name]} >/dev/null 2>&1 || true; done

median() { sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

declare -A wall mem
measure="$(mktemp)"
trap 'rm -f "$measure"' EXIT
for name in "${order[@]}"; do
  times=(); peaks=()
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f "%e %M" -o "$measure" ${commands[$name]} >/dev/null 2>&1 || true
    out="$(tail -n 1 "$measure")"
    times+=("${out%% *}"); peaks+=("${out##* }")
  done
  wall[$name]=$(printf '%s\n' "${times[@]}" | median)
  mem[$name]=$(printf '%s\n' "${peaks[@]}" | median)
done

echo "tree: $tree ($(find "$tree" | wc -l) entries), $runs runs each, median values"
printf '%-8s %10s %12s %14s %14s\n' tool "wall s" "peak MiB" "korvex/peer t" "korvex/peer m"
for name in "${order[@]}"; do
  printf '%-8s %10.3f %12.1f %14.2f %14.2f\n' "$name" "${wall[$name]}" \
    "$(awk -v k="${mem[$name]}" 'BEGIN{print k/1024}')" \
    "$(awk -v a="${wall[korvex]}" -v b="${wall[$name]}" 'BEGIN{print (b>0)?a/b:0}')" \
    "$(awk -v a="${mem[korvex]}" -v b="${mem[$name]}" 'BEGIN{print (b>0)?a/b:0}')"
done
