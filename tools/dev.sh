#!/usr/bin/env bash
# Korvex developer entry point.
#   tools/dev.sh start            install what is missing, build, start Korvex
#   tools/dev.sh test             install what is missing, build, run every test
#   tools/dev.sh sanitize KIND    the same tests in an address or thread sanitizer build
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libudev-dev libboost-dev nlohmann-json3-dev
  xvfb xauth dbus-daemon ccache
  # mkfs tools of the scan tests that loop-mount ext4 and btrfs images
  e2fsprogs btrfs-progs
)

install_missing() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

# build DIR [cmake options...]
build() {
  local dir="$1"; shift
  cmake -S "$here" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

run_tests() {
  local dir="$1"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

case "${1:-}" in
  start)
    install_missing
    build "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    shift
    # Without a folder the window opens on the home folder and scans it.
    exec "$here/build/app/korvex" "${@:-$HOME}"
    ;;
  test)
    install_missing
    build "$here/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_WERROR=ON
    run_tests "$here/build-test"
    ;;
  sanitize)
    kind="${2:?address or thread}"
    install_missing
    # The Qt application adds nothing to what the sanitizers look for.
    build "$here/build-$kind" -DCMAKE_BUILD_TYPE=Debug -DKORVEX_WERROR=ON \
      -DKORVEX_SANITIZE="$kind" -DKORVEX_BUILD_GUI=OFF -DKORVEX_BUILD_BENCH=OFF
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    ASAN_OPTIONS="detect_leaks=1" \
      run_tests "$here/build-$kind"
    ;;
  *)
    sed -n '2,5p' "${BASH_SOURCE[0]}" >&2
    exit 2
    ;;
esac
