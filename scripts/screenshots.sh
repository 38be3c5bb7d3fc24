#!/usr/bin/env bash
# Makes the README's screenshots (docs/screenshots/*.png) of the monitor
# window, the settings window, the About window and the tray menu, under a
# private Xvfb so that nothing else on a display gets into the pictures.
set -euo pipefail
cd "$(dirname "$0")/.."

# The rest runs again inside a private Xvfb of its own.
if [[ -z "${VANTISK_ON_PRIVATE_DISPLAY:-}" ]]; then
  scripts/deps.sh
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 -j"$(nproc)" --target Vantisk screenshot_poser
  VANTISK_ON_PRIVATE_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
out=docs/screenshots
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# An even grey desktop instead of Xvfb's black.
xsetroot -solid '#3a6ea5' 2>/dev/null || true

VANTISK_BUILD_DIR="$PWD/build/win64" \
  bash tests/wine/run-under-wine.sh build/win64/tests/wine/screenshot_poser.exe "Z:${work//\//\\}" &
poser=$!

# The poser names each scene and its rectangle; capture it and let it go on.
while kill -0 "$poser" 2>/dev/null; do
  if [[ -f "$work/scene.txt" ]]; then
    read -r name x y w h < "$work/scene.txt"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$name.png"
    echo "wrote $out/$name.png (${w}x${h})"
    rm -f "$work/scene.txt"
  fi
  sleep 0.2
done
wait "$poser"
