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
  qt6-base-dev libudev-dev libboost-dev nlohmann-json3-dev libzstd-dev libicu-dev
  xvfb xauth dbus-daemon ccache locales
  # mkfs tools of the scan tests that loop-mount ext4 and btrfs images
  e2fsprogs btrfs-progs
  # the peer whose export files the saved-scan tests read and compare with
  ncdu
)

# The size texts must keep their decimal point under a locale with a decimal
# comma; the tests switch to this one to check.
comma_locale="de_DE.UTF-8"

as_root() {
  if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

install_missing() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

# Generates the comma locale unless it is there already.
ensure_comma_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' && return 0
  echo "Generating the $comma_locale locale"
  if grep -q "^# *$comma_locale UTF-8" /etc/locale.gen; then
    as_root sed -i "s/^# *\($comma_locale UTF-8\)/\1/" /etc/locale.gen
  elif ! grep -q "^$comma_locale UTF-8" /etc/locale.gen; then
    echo "$comma_locale UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen >/dev/null
}

# The polkit action of the administrator helper names the helper of this
# build; it is installed among the system's actions when missing or when it
# names another build.
install_policy() {
  local policy="$1/org.korvex.elevated.policy"
  local target=/usr/share/polkit-1/actions/org.korvex.elevated.policy
  [ -f "$policy" ] || return 0
  cmp -s "$policy" "$target" && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing the polkit action $target"
  $sudo install -D -m 0644 "$policy" "$target"
}

# build DIR [cmake options...] [-- targets...]; every target without a list.
build() {
  local dir="$1"; shift
  local options=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  targets=("$@")
  cmake -S "$here" -B "$dir" -G Ninja "${options[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs" ${targets[@]:+--target "${targets[@]}"}
}

run_tests() {
  local dir="$1"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

case "${1:-}" in
  start)
    # The window asks for administrator rights through pkexec.
    packages+=(pkexec)
    install_missing
    # Only the window and the administrator helper it starts; the tests and
    # benchmarks are built by the test command.
    build "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -- korvex korvex-elevated
    install_policy "$here/build"
    shift
    # Without a folder the window opens on the home folder and scans it.
    exec "$here/build/app/korvex" "${@:-$HOME}"
    ;;
  test)
    install_missing
    ensure_comma_locale
    build "$here/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_WERROR=ON
    install_policy "$here/build-test"
    run_tests "$here/build-test"
    ;;
  sanitize)
    kind="${2:?address or thread}"
    install_missing
    ensure_comma_locale
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
