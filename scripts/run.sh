#!/usr/bin/env bash
# Builds vorn and starts it; arguments go to the program (vorn --help lists them).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
exec build/bin/vorn "$@"
