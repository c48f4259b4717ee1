#!/usr/bin/env bash
# Sets up and builds wavra, then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
# A sanitizer build reports the leaks of system libraries listed here; the
# tests and every program they start inherit the setting.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
scripts/setup.sh
cd "${WAVRA_BUILD_DIR:-_build}"
ctest --output-on-failure -j"$(nproc)"
