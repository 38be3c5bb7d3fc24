#!/usr/bin/env bash
# Benchmark: what Vantisk costs at rest and how fast it answers, side by side
# with a bare Win32 program (bench/reference.cpp) built by the same toolchain.
#
#   scripts/bench.sh                  the comparison table (about 5 minutes)
#   scripts/bench.sh --minutes 10     the long run: both programs at rest with
#                                     a 10 MiB clipboard, one line a minute
#   scripts/bench.sh --seconds 20 --rounds 5 ...   (all options: bench/driver/options.cpp)
#
# Builds, as the product ships (MinSizeRel), the 32-bit product and reference
# (for their sizes) and the 64-bit programs and driver in build/bench-win32
# and build/bench-win64 (or under
# $VANTISK_BENCH_BUILD_ROOT), then runs the driver under 64-bit Wine in a fresh
# copy of a prefix (tests/wine/run-under-wine.sh) on a private Xvfb display,
# never on yours: a desktop's activity would be measured too. The driver
# registers its own stand-in browser in that prefix. Goals are printed next to
# the figures; a missed one does not fail the run. The report goes to stdout,
# the build and the progress to stderr.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
root=${VANTISK_BENCH_BUILD_ROOT:-$PWD/build}
win32="$root/bench-win32"
win64="$root/bench-win64"

build() {  # <dir> <toolchain> <targets...>
  local dir=$1 toolchain=$2
  shift 2
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$toolchain" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DVANTISK_BENCH=ON >/dev/null
  cmake --build "$dir" -j"$(nproc)" --target "$@" >&2
}
build "$win32" mingw-i686.cmake Vantisk bench_reference
build "$win64" mingw-x86_64.cmake Vantisk bench_reference bench_recorder bench_driver

# A bound for a run that hangs, from the options that set its length.
time_limit() {
  local seconds=12 rounds=3 checks=11 settle=2 minutes=0
  while [[ $# -ge 2 ]]; do
    case $1 in
      --seconds) seconds=$2 ;; --rounds) rounds=$2 ;; --checks) checks=$2 ;;
      --settle) settle=$2 ;; --minutes) minutes=$2 ;;
    esac
    shift 2
  done
  echo $(((rounds * 4 * (seconds + settle + 30)) + (checks * 4 * (settle + 15)) + minutes * 60 + 600))
}

# Always a private display (xvfb.sh starts one when DISPLAY does not answer).
unset DISPLAY
source scripts/xvfb.sh

VANTISK_BUILD_DIR="$win64" VANTISK_WINE_TIMEOUT="$(time_limit "$@")" \
  bash tests/wine/run-under-wine.sh "$win64/bench/bench_driver.exe" \
  --exe32 "$win32/Vantisk.exe" --ref32 "$win32/bench/bench_reference.exe" "$@"
