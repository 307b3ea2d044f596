#!/usr/bin/env bash
# Installs the Debian packages the suite builds, runs and is tested with, when
# any is missing. Needs root (or sudo) only when something must be installed.
set -euo pipefail
packages=(
  cmake make g++          # the build
  libgtest-dev            # GoogleTest (CMake package GTest)
  libbenchmark-dev        # Google Benchmark (CMake package benchmark)
  qt6-base-dev            # Qt 6 Widgets, for the launcher
  fonts-ipafont-gothic    # a Japanese Gothic font for the launcher's texts
  dpkg-dev file           # the package's library dependencies (dpkg-shlibdeps; CPack runs file)
  desktop-file-utils      # desktop-file-validate, to check the launcher's menu entry
  g++-mingw-w64-x86-64-posix  # the Windows cross build (cmake/mingw-w64-x86_64.cmake)
  wine64 unzip            # the Windows build's tests under wine; the ZIP's listing
  xvfb x11-utils imagemagick xdotool  # the Windows launcher under a virtual display: its picture, clicks
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
