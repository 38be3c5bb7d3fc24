#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests of the pure
# logic, the installer round trip, and the Windows-side tests of the 64-bit
# exe under Wine on a private X display. The 32-bit product is built too, so
# that it stays clean; it cannot run on this kernel.
# Extra arguments go to ctest: scripts/test.sh -R wine.monitor
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
for preset in host win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
done
# The quick ones first, so that a fault there ends the run before the long Wine suites.
ctest --preset unit "$@"
display=(xvfb-run -a -s "-screen 0 1280x1024x24")
"${display[@]}" ctest --preset packaging "$@"
"${display[@]}" ctest --preset wine "$@"
