#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, where missing.
set -euo pipefail

packages=(cmake make g++ googletest python3
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          wine wine64 xvfb xauth xdotool imagemagick nsis zip
          publicsuffix python3-idna unicode-data)
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
[ ${#missing_packages[@]} -eq 0 ] && [ ${#missing_data[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing_packages[*]} ${missing_data[*]}" >&2
$sudo apt-get update -qq
install=($sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq)
if [ ${#missing_packages[@]} -gt 0 ]; then
  "${install[@]}" "${missing_packages[@]}" >/dev/null
fi
if [ ${#missing_data[@]} -gt 0 ]; then
  "${install[@]}" --no-install-recommends "${missing_data[@]}" >/dev/null
fi
