#!/usr/bin/env bash
# Builds Pelmora and runs the whole test suite (window tests offscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -LE soak
