#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and is missing.
# Quick when everything is present: it only asks dpkg.
set -euo pipefail

# clang-14 and its runtime build the fuzz targets (make fuzz); the main build uses g++.
# gpsbabel and gdal-bin are the map readers the export tests read the GPX and GeoJSON files with.
packages=(g++ cmake make ninja-build libgtest-dev libxml2-utils qt6-base-dev xvfb xauth locales clang-14
          libclang-rt-14-dev gpsbabel gdal-bin)
# The manual pages, the package's dependencies and its checks (make package, the packaging tests).
packages+=(help2man dpkg-dev file lintian man-db desktop-file-utils appstream)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The locale tests run the program under a decimal-comma locale.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the de_DE.UTF-8 locale"
  # Listed in locale.gen too, so that a later locale-gen keeps it.
  if [ -f /etc/locale.gen ]; then
    $sudo sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  fi
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
