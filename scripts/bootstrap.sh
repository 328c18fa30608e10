#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need.
# Quick when everything is present: apt-get update runs only when a package is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang clang-format
  libclang-rt-14-dev gcovr  # make check: clang's sanitizer and libFuzzer runtimes, coverage tables
  qt6-base-dev qt6-qpa-plugins qt6-svg-dev libgl-dev
  libhidapi-dev libudev-dev libreaderwriterqueue-dev
  libcjson-dev libzip-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-wqy-microhei
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "bootstrap: installing ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
