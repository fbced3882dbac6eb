# Sourced by the benchmark scripts: a Release build of the command-line tools
# beside the source, and a generated tree made once and kept.
#   build_bench_targets TARGET...    builds them in $build (with the window's
#                                    libraries when bench_gui=ON)
#   generated_tree ENTRIES [--no-data]
#                                    prints the tree's path, making it if needed
#                                    (with --no-data, of empty files)
# KORVEX_BENCH_TREE picks where the tree lives (default /tmp).

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$here/build-bench"

build_bench_targets() {
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEX_BUILD_TESTS=OFF \
    -DKORVEX_BUILD_GUI="${bench_gui:-OFF}" >/dev/null
  cmake --build "$build" --target korvex-treegen "$@" >/dev/null
}

generated_tree() {
  local suffix=""
  [ "${2:-}" = --no-data ] && suffix="-empty"
  local tree="${KORVEX_BENCH_TREE:-/tmp/korvex-bench-tree-$1$suffix}"
  if [ ! -f "$tree/.complete" ]; then
    rm -rf "$tree"
    "$build/tools/treegen/korvex-treegen" "$tree" --entries "$1" ${2:-} >&2
    touch "$tree/.complete"
  fi
  echo "$tree"
}
