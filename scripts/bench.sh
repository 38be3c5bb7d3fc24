#!/usr/bin/env bash
# Benchmark: what Vantisk costs at rest and how fast it answers, side by side
# with a bare Win32 program (bench/reference.cpp) built by the same toolchain.
#
#   scripts/bench.sh                  the comparison table (about 5 minutes)
#   scripts/bench.sh --minutes 10     the long run: both programs at rest with
#                                     a 10 MiB clipboard, one line a minute
#   scripts/bench.sh --seconds 20 --rounds 5 ...   (all options: bench/driver/options.cpp)
#
# Builds the presets bench-win32 (the 32-bit product and reference, for their
# sizes) and bench-win64 (the 64-bit programs and the driver), MinSizeRel as
# the product ships, then runs the driver under 64-bit Wine in a fresh copy of
# a prefix (tests/wine/run-under-wine.sh) on a private Xvfb display, never on
# yours: a desktop's activity would be measured too. VANTISK_BENCH_DISPLAY
# names an Xvfb display of your own to use instead. The driver registers its
# own stand-in browser in that prefix. Goals are printed next to the figures;
# a missed one does not fail the run. The report goes to stdout, the build
# and the progress to stderr.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
for preset in bench-win32 bench-win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)" >&2
done
win32=$PWD/build/bench-win32
win64=$PWD/build/bench-win64

# Not $DISPLAY: VANTISK_BENCH_DISPLAY when it is set, else a private Xvfb.
display=(xvfb-run -a -s "-screen 0 1280x1024x24")
if [[ -n "${VANTISK_BENCH_DISPLAY:-}" ]]; then
  export DISPLAY=$VANTISK_BENCH_DISPLAY
  display=()
fi

# The driver ends itself when a run takes longer than its options allow; the
# runner's own limit is only the last resort.
VANTISK_BUILD_DIR="$win64" VANTISK_WINE_TIMEOUT=$((24 * 3600)) \
  "${display[@]}" bash tests/wine/run-under-wine.sh "$win64/bench/bench_driver.exe" \
  --exe32 "$win32/Vantisk.exe" --ref32 "$win32/bench/bench_reference.exe" "$@"
