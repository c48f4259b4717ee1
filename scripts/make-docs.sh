#!/usr/bin/env bash
# Makes the pictures of README.md in docs/ with the batch command line of the
# built program, one command per picture, on the example models in a
# throw-away copy of the staged tree (build first: scripts/setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${WAVRA_BUILD_DIR:-_build}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cp -R "$build/stage/." "$tree/"
mkdir -p "$tree/models"
cp examples/*.nec "$tree/models/"
wavra() { (cd "$tree" && exe/wavra --batch "$@" > /dev/null); }

# The SWR page of the sweep graphs: a frequency loop of the Yagi over 13.9 to 14.5 MHz.
wavra --calc sweep --freq 13.9,14.5,0.025 --show sweep --size 900x640 --png "$root/docs/sweep-swr.png" models/yagi.nec
# The Smith chart of the same loop, the cursor on 14.2 MHz (the 13th step).
wavra --show smith --keys "$(printf 'Right,%.0s' {1..12})Right" --size 700x900 --png "$root/docs/smith-chart.png" models/yagi.nec
