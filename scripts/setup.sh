#!/usr/bin/env bash
# Installs every Debian package gatool needs (Debian 12), then configures and builds it.
# Idempotent and non-interactive; runs apt-get as root, or through sudo otherwise.
#
#   scripts/setup.sh [BUILD_DIR [extra cmake arguments...]]
#
# GATOOL_BUILD_TARGETS, when set, names the targets to build instead of all.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${1:-"$repo/build"}
shift || true

packages=(
  g++ cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  clang libclang-rt-14-dev clang-format
  locales
  qt6-base-dev libqt6svg6 fonts-liberation fonts-dejavu-core fonts-wine
  desktop-file-utils
  libdw-dev libelf-dev zlib1g-dev libzydis-dev gdb
  xvfb xauth imagemagick xdotool
  libpng-dev unzip python3-aiosmtpd python3-dnslib poppler-utils iproute2
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The tests read numbers under a locale whose decimal mark is a comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

cmake -S "$repo" -B "$build_dir" -G Ninja "$@"
# shellcheck disable=SC2086 # a list of target names
cmake --build "$build_dir" ${GATOOL_BUILD_TARGETS:+--target $GATOOL_BUILD_TARGETS}
