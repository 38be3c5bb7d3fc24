#!/usr/bin/env bash
# Builds the 32- and 64-bit Vantisk and packs each as a per-user setup (NSIS)
# and a portable zip, in build/packages/:
#   Vantisk-<version>-win32-setup.exe   Vantisk-<version>-win32-portable.zip
#   Vantisk-<version>-win64-setup.exe   Vantisk-<version>-win64-portable.zip
# plus SHA256SUMS. Only the program and its packages are built, not the tests.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
jobs=$(nproc)
out=build/packages
mkdir -p "$out"
# Packages of an earlier version must not pass for this one's.
rm -f "$out"/Vantisk-*-win32-* "$out"/Vantisk-*-win64-* "$out/SHA256SUMS"

start=$SECONDS
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs" --target package_installer package_portable
  list="build/$preset/packages.txt"
  [[ -s "$list" ]] || { echo "package.sh: $list is missing; is cmake/packaging.cmake included?" >&2; exit 1; }
  while IFS= read -r package; do
    [[ -n "$package" ]] || continue
    [[ -s "$package" ]] || { echo "package.sh: the build did not write $package" >&2; exit 1; }
    cp "$package" "$out/"
  done <"$list"
done

(cd "$out" && sha256sum Vantisk-* >SHA256SUMS)
echo "Packages in $out ($((SECONDS - start)) s):"
(cd "$out" && ls -l Vantisk-* SHA256SUMS)
