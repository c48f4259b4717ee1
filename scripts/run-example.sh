#!/usr/bin/env bash
# Sets up and builds wavra, stages the portable tree under dist/ and opens
# wavra's main window on an example model. Without a display wavra prints the
# model's summary instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
rm -rf dist
cmake --install _build --prefix dist --component portable
model=${1:-examples/yagi.nec}
mkdir -p dist/models && cp examples/*.nec dist/models/
dist/exe/wavra "dist/models/$(basename "$model")"
