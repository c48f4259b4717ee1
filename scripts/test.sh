#!/usr/bin/env bash
# Sets up and builds wavra, then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd "${WAVRA_BUILD_DIR:-_build}"
ctest --output-on-failure -j"$(nproc)"
