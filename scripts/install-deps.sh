#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Quiet when everything is present; uses sudo only when not root.
set -euo pipefail

packages=(
  cmake make g++ pkgconf
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n zlib1g-dev
  libwebp-dev libimagequant-dev libgif-dev libjpeg62-turbo-dev libpng-dev libtiff-dev qt6-image-formats-plugins
  fonts-noto-cjk
  libbenchmark-dev hyperfine
  clang libclang-rt-14-dev
  python3-pil
  dpkg-dev file desktop-file-utils appstream shared-mime-info man-db
  lib3mf-dev libtinygltf-dev nlohmann-json3-dev nettle-dev
  python3-meshio python3-numpy admesh python3-matplotlib
  prusa-slicer python3-savitar assimp-utils
  valgrind
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
