#!/usr/bin/env bash
# Makes the pictures in docs/ with the batch command line of the built
# program (scripts/setup.sh builds it): one command per picture, run in a
# fresh copy of the staged tree with the example models.
set -euo pipefail
cd "$(dirname "$0")/.."
stage=${WAVRA_BUILD_DIR:-_build}/stage
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -a "$stage/." "$work/"
mkdir -p "$work/models"
cp examples/*.nec "$work/models/"
wavra() { "$work/exe/wavra" --batch "$@" >/dev/null; }

# Geometry view: the Yagi's segment currents as bars and its far-field
# pattern as a 3-D wire frame in the colours of the gain, turned 40 degrees
# in azimuth and 20 in elevation.
wavra --calc far --theta 0,180,5 --phi 0,355,5 --show geometry --size 800x800 --png "$PWD/docs/geometry-view.png" \
  --keys C,PgUp,PgUp,PgUp,PgUp,PgUp,PgUp,PgUp,PgUp,M,R,Left,Left,Left,Left,Left,Left,Left,Left,Down,Down,Down,Down \
  "$work/models/yagi.nec"
