#!/usr/bin/env bash
# Installs what is missing on a Debian machine, then configures and builds
# Pelmora into build/. Safe to run again: a second run installs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev
          libbenchmark-dev nlohmann-json3-dev libzip-dev fonts-liberation qt6-qpa-plugins
          xvfb xauth dbus at-spi2-core python3-pyatspi)
PACKAGES+=("$@")

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build -j"$(nproc)"
