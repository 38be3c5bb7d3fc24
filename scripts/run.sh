#!/usr/bin/env bash
# Builds Vantisk (32- and 64-bit) and starts the 64-bit exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake --preset win32 >/dev/null && cmake --build --preset win32 -j"$(nproc)"
cmake --preset win64 >/dev/null && cmake --build --preset win64 -j"$(nproc)" --target Vantisk

export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-vantisk}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=${WINE:-$(command -v wine64 || command -v wine)}
if [[ -n "${DISPLAY:-}" ]]; then
  echo "Starting build/win64/Vantisk.exe on display $DISPLAY (Wine prefix $WINEPREFIX)" >&2
  exec "$wine" build/win64/Vantisk.exe
fi
echo "No \$DISPLAY: starting build/win64/Vantisk.exe on a private Xvfb (Wine prefix $WINEPREFIX)" >&2
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$wine" build/win64/Vantisk.exe
