#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests of the pure
# logic and the Windows-side tests of the 64-bit exe under Wine. The 32-bit
# product is built too, so that it stays clean; it cannot run on this kernel.
# Extra arguments go to ctest: scripts/test.sh -R wine.monitor
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
jobs=$(nproc)
for preset in host win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
done

source scripts/xvfb.sh

# build/all runs the tests of both trees that have any.
cmake -D "TREES=build/host;build/win64" -D OUT=build/all -P scripts/test-trees.cmake
tests=(ctest --test-dir build/all --output-on-failure --timeout 600)
# The unit tests and the installer round trip first (about a minute): a
# failure there ends the run before the long Wine suites, so that the last
# lines are always the summary of what failed. A filter for Wine suites
# alone (-R wine.monitor) selects none of them, which is no news.
"${tests[@]}" -LE wine --no-tests=ignore "$@"
# Wine drops about one injected key press in several hundred, so a Wine suite
# that fails runs once more; a real fault fails both times.
"${tests[@]}" -L wine --repeat until-pass:2 "$@"
