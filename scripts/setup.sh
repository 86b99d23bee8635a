#!/usr/bin/env bash
# Installs the Debian packages Tavrin needs to build, test and run, when they are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-image-formats-plugins
  libgif-dev libminizip-dev libxlsxwriter-dev zlib1g-dev libdeflate-dev libfontconfig-dev libfreetype-dev libharfbuzz-dev libfribidi-dev
  libgtest-dev libgmock-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation
  # fallback faces for text the chosen face lacks: CJK (5 MB), emoji in outlines (3 MB), Thai,
  # Devanagari (the Debian package recommends the same)
  fonts-wqy-microhei fonts-symbola fonts-tlwg-loma-ttf fonts-lohit-deva
  unzip zip python3 xvfb xauth xdotool x11-apps imagemagick
  desktop-file-utils appstream dpkg-dev
  clang libclang-rt-14-dev
  # timing the command line (bench/cli-speed.sh)
  hyperfine
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo_cmd=()
else
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
