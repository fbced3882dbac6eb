#!/usr/bin/env bash
# How korvex-cli's scan grows with the tree: generated trees of 1,000,000 and
# 10,000,000 entries (empty files: the same shape at a fraction of the disk,
# about 2.5 GB for the larger), each read once by korvex-cli and by the bare
# two-thread walker to fill the caches, then measured with the two in turn;
# prints time and peak memory, per million entries, and the large/small ratios
# (10.0 is linear).
#
#   bash bench/scan/growth.sh [small-entries] [large-entries]
#
# The larger tree needs about as many free inodes as entries, and the kernel's
# caches of it several GiB of memory: without them the measured scan reads
# the disk. The trees live in /tmp; the larger is removed afterwards unless
# KORVEX_BENCH_KEEP=1.
set -euo pipefail

small="${1:-1000000}"
large="${2:-10000000}"
source "$(dirname "${BASH_SOURCE[0]}")/../support/generated-tree.sh"
unset KORVEX_BENCH_TREE  # two trees, both in /tmp
build_bench_targets korvex-cli korvex-bench-walker

large_tree="/tmp/korvex-bench-tree-$large-empty"
free_inodes=$(df --output=iavail /tmp | tail -n 1)
if [ ! -f "$large_tree/.complete" ] && [ "$free_inodes" -lt $((large + large / 10)) ]; then
  echo "growth.sh: $large entries need about as many free inodes; there are $free_inodes" >&2
  exit 1
fi

measure() {
  local tree="$1" out walker
  # One pass of each fills the caches; then the two take turns.
  "$build/bench/walker/korvex-bench-walker" "$tree" >/dev/null
  "$build/tools/cli/korvex-cli" scan "$tree" >/dev/null
  walker="$( { /usr/bin/time -f "%e" "$build/bench/walker/korvex-bench-walker" "$tree" >/dev/null; } 2>&1)"
  out="$( { /usr/bin/time -f "resources %e %U %S %M" "$build/tools/cli/korvex-cli" scan "$tree"; } 2>&1)"
  local entries wall user system peak
  entries=$(awk '$1 == "entries" {print $3}' <<<"$out")
  read -r wall user system peak < <(awk '$1 == "resources" {print $2, $3, $4, $5}' <<<"$out")
  echo "$entries $wall $user $system $peak $(tail -n 1 <<<"$walker")"
}

printf '%-10s %10s %8s %8s %10s %12s %9s %9s\n' tree entries "wall s" "cpu s" "peak MiB" \
  "s/M entries" "B/entry" "walker s"
declare -A walls peaks counts
for size in "$small" "$large"; do
  tree="$(generated_tree "$size" --no-data)"
  read -r entries wall user system peak walker < <(measure "$tree")
  counts[$size]=$entries
  walls[$size]=$wall
  peaks[$size]=$peak
  awk -v n="$entries" -v w="$wall" -v u="$user" -v s="$system" -v p="$peak" -v t="$size" \
    -v k="$walker" 'BEGIN {printf "%-10s %10d %8.2f %8.2f %10.1f %12.3f %9.1f %9.2f\n", t, n, w,
                   u + s, p / 1024, w / (n / 1e6), p * 1024 / n, k}'
  [ "${KORVEX_BENCH_KEEP:-0}" = 1 ] || [ "$size" = "$small" ] || rm -rf "$tree"
done
awk -v ws="${walls[$small]}" -v wl="${walls[$large]}" -v ps="${peaks[$small]}" \
  -v pl="${peaks[$large]}" -v ns="${counts[$small]}" -v nl="${counts[$large]}" \
  'BEGIN {printf "large/small: entries %.2f  wall %.2f  peak memory %.2f\n", nl / ns, wl / ws,
          pl / ps}'
