#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, where missing,
# then the npm packages pinned in tools/unicode (the Unicode data the tables
# are generated from, and the URL parser the host test compares with).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ googletest python3
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          wine wine64 xvfb xauth xdotool imagemagick nsis zip
          publicsuffix)
# Node.js and npm, where the machine has none of its own.
command -v npm >/dev/null || packages+=(nodejs npm)
# Data only: the filter list whose tracking parameters a check removes. Its
# package recommends a browser, which the build does not need.
data_packages=(webext-ublock-origin-firefox)

missing() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || echo "$package"
  done
}
mapfile -t missing_packages < <(missing "${packages[@]}")
mapfile -t missing_data < <(missing "${data_packages[@]}")

install_debian_packages() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing_packages[*]} ${missing_data[*]}" >&2
  $sudo apt-get update -qq
  local install=($sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq)
  if [ ${#missing_packages[@]} -gt 0 ]; then
    "${install[@]}" "${missing_packages[@]}" >/dev/null
  fi
  if [ ${#missing_data[@]} -gt 0 ]; then
    "${install[@]}" --no-install-recommends "${missing_data[@]}" >/dev/null
  fi
}

# The npm packages exactly as the lock file pins them, installed again only
# when the lock file changed since the last install.
install_npm_packages() {
  local folder=tools/unicode
  local stamp=$folder/node_modules/.installed-package-lock.json
  cmp -s "$folder/package-lock.json" "$stamp" && return 0
  echo "Installing the npm packages of $folder" >&2
  npm ci --prefix "$folder" --no-audit --no-fund --loglevel=error >/dev/null
  cp "$folder/package-lock.json" "$stamp"
}

if [ ${#missing_packages[@]} -gt 0 ] || [ ${#missing_data[@]} -gt 0 ]; then
  install_debian_packages
fi
install_npm_packages
