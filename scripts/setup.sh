#!/usr/bin/env bash
# Installs what building, running and testing Pendrel needs on Debian 12, then configures and
# builds. Safe to run again: it installs only what is missing and rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

# python3-munkres answers python3-fonttools' need that python3-scipy would otherwise fill.
packages=(
  cmake ninja-build g++ pkg-config clang-format clang-14 libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  googletest libgtest-dev libgmock-dev
  fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea fonts-dejavu-core
  fonts-liberation fonts-noto-core fonts-noto-cjk fonts-wine
  libreoffice-writer libreofficekit-dev
  poppler-utils python3-munkres python3-fonttools python3-pypdf xvfb xauth parallel python3-yaml
  desktop-file-utils appstream dpkg-dev lintian man-db
  g++-mingw-w64-x86-64-posix wine wine64
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi

preset="${PENDREL_PRESET:-release}"
[ "${CI:-}" = "true" ] && preset="ci"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
