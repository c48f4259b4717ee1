#!/usr/bin/env bash
# Makes the pictures under docs/ with the batch command line of the built
# program: the build is installed into a scratch tree with the example models,
# and each picture is one wavra --batch command (add yours below).
set -euo pipefail
cd "$(dirname "$0")/.."
docs=$(pwd)/docs
build=${WAVRA_BUILD_DIR:-_build}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cmake --install "$build" --prefix "$tree" >/dev/null
mkdir -p "$tree/models"
cp examples/*.nec "$tree/models/"
wavra() { "$tree/exe/wavra" --batch "$@" >/dev/null; }

# The far-field pattern view: a vertical cut of the Yagi with its lobes, -3 dB
# points, beamwidth and front-to-back ratio.
wavra --calc far --theta -180,180,1 --phi 0,0,1 --show pattern --keys I --size 560x640 \
      --png "$docs/pattern-view.png" "$tree/models/yagi.nec"
