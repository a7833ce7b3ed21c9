#!/usr/bin/env bash
# Installs what is missing, builds Varkel and runs every test (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
