#!/usr/bin/env bash
# Sets up and builds wavra, stages the portable tree under dist/ and runs
# wavra on an example model.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
rm -rf dist
cmake --install _build --prefix dist
model=${1:-examples/yagi.nec}
mkdir -p dist/models && cp examples/*.nec dist/models/
dist/exe/wavra --batch --input "dist/models/$(basename "$model")"
