#!/usr/bin/env bash
# Scan benchmark: korvex-cli against a bare two-thread walker (getdents64 and
# one fstatat per entry, nothing kept) and the peers du, gdu and ncdu, those
# that are installed, on the same warm-cache tree. The tools take turns within
# every run, so that a busy moment of the machine hits them all alike; prints
# median wall time, CPU time (user + system) and peak memory, and the
# korvex/tool ratios.
#
#   bash bench/scan/run.sh [runs] [entries]
#
# KORVEX_BENCH_TREE picks where the generated tree lives (default /tmp).
# KORVEX_BENCH_WINDOW=1 adds the main window, scanning offscreen in the same
# loop, and sets its scan time (start to end-of-scan notification) and peak
# memory beside the command line's.
set -euo pipefail

runs="${1:-5}"
entries="${2:-500000}"
source "$(dirname "${BASH_SOURCE[0]}")/../support/generated-tree.sh"

if [ ! -x /usr/bin/time ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq time
fi

window="${KORVEX_BENCH_WINDOW:-0}"
targets=(korvex-cli korvex-bench-walker)
if [ "$window" = 1 ]; then
  targets+=(korvex-bench-window)
  bench_gui=ON
fi
build_bench_targets "${targets[@]}"
tree="$(generated_tree "$entries")"

declare -A commands=(
  [korvex]="$build/tools/cli/korvex-cli scan $tree"
  [walker]="$build/bench/walker/korvex-bench-walker $tree"
  [du]="du -s $tree"
  [gdu]="gdu --non-interactive --no-progress $tree"
  [ncdu]="ncdu -o /dev/null $tree"
  [window]="$build/bench/window/korvex-bench-window $tree"
)
order=(korvex walker)
[ "$window" = 1 ] && order+=(window)
for peer in du gdu ncdu; do
  command -v "$peer" >/dev/null && order+=("$peer")
done

# Warm the caches once with every tool.
for name in "${order[@]}"; do ${commands[$name]} >/dev/null 2>&1 || true; done

median() { sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

declare -A walls cpus peaks scans
measure="$(mktemp)"
output="$(mktemp)"
trap 'rm -f "$measure" "$output"' EXIT
for ((i = 0; i < runs; i++)); do
  for name in "${order[@]}"; do
    /usr/bin/time -f "%e %U %S %M" -o "$measure" ${commands[$name]} >"$output" 2>&1 || true
    read -r wall user system peak < <(tail -n 1 "$measure")
    # The scan's own time, as korvex-cli and the window bench print it.
    scans[$name]+="$(awk '$1 == "time" {print $2}' "$output") "
    walls[$name]+="$wall "
    cpus[$name]+="$(awk -v u="$user" -v s="$system" 'BEGIN{print u+s}') "
    peaks[$name]+="$peak "
  done
done

declare -A wall cpu mem
for name in "${order[@]}"; do
  wall[$name]=$(printf '%s\n' ${walls[$name]} | median)
  cpu[$name]=$(printf '%s\n' ${cpus[$name]} | median)
  mem[$name]=$(printf '%s\n' ${peaks[$name]} | median)
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN{print (b>0)?a/b:0}'; }
echo "tree: $tree ($(find "$tree" | wc -l) entries), $runs runs each, median values"
printf '%-8s %9s %9s %10s %9s %9s %9s\n' tool "wall s" "cpu s" "peak MiB" \
  "korvex/t" "korvex/c" "korvex/m"
for name in "${order[@]}"; do
  printf '%-8s %9.3f %9.3f %10.1f %9.2f %9.2f %9.2f\n' "$name" "${wall[$name]}" \
    "${cpu[$name]}" "$(ratio "${mem[$name]}" 1024)" \
    "$(ratio "${wall[korvex]}" "${wall[$name]}")" "$(ratio "${cpu[korvex]}" "${cpu[$name]}")" \
    "$(ratio "${mem[korvex]}" "${mem[$name]}")"
done

if [ "$window" = 1 ]; then
  cli_scan=$(printf '%s\n' ${scans[korvex]} | median)
  window_scan=$(printf '%s\n' ${scans[window]} | median)
  echo
  echo "scan time, start to end-of-scan notification (median s):"
  printf '  korvex-cli %.3f  window %.3f  window/cli %.2f\n' "$cli_scan" "$window_scan" \
    "$(ratio "$window_scan" "$cli_scan")"
  printf '  peak MiB: korvex-cli %.1f  window %.1f  added %.1f\n' "$(ratio "${mem[korvex]}" 1024)" \
    "$(ratio "${mem[window]}" 1024)" \
    "$(awk -v w="${mem[window]}" -v k="${mem[korvex]}" 'BEGIN{print (w-k)/1024}')"
fi
