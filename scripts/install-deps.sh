#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and is missing.
# Quick when everything is present: it only asks dpkg.
set -euo pipefail

# clang-14 and its runtime build the fuzz targets (make fuzz); the main build uses g++.
packages=(g++ cmake make ninja-build libgtest-dev libxml2-utils qt6-base-dev xvfb xauth clang-14 libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
