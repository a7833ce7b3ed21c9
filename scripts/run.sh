#!/usr/bin/env bash
# Installs what is missing, builds Varkel and starts it with the given arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/varkel "$@"
