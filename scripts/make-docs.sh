#!/usr/bin/env bash
# Makes the pictures under docs/ with the batch command line of the built
# program: the build is installed into a scratch tree with the example models,
# and each picture is one wavra --batch command (add yours below). The
# pictures of the windows come from the window tests, which run the program
# offscreen (the build's tests/gui/gui_tests).
set -euo pipefail
cd "$(dirname "$0")/.."
docs=$(pwd)/docs
build=${WAVRA_BUILD_DIR:-_build}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cmake --install "$build" --prefix "$tree" --component portable >/dev/null
mkdir -p "$tree/models"
cp examples/*.nec "$tree/models/"
wavra() { "$tree/exe/wavra" --batch "$@" >/dev/null; }

# The far-field pattern view: a vertical cut of the Yagi with its lobes, -3 dB
# points, beamwidth and front-to-back ratio.
wavra --calc far --theta -180,180,1 --phi 0,0,1 --show pattern --keys I --size 560x640 \
      --png "$docs/pattern-view.png" "$tree/models/yagi.nec"

# The SWR page of the sweep graphs: a frequency loop of the Yagi over 13.9 to 14.5 MHz.
wavra --calc sweep --freq 13.9,14.5,0.025 --show sweep --size 900x640 --png "$docs/sweep-swr.png" \
      "$tree/models/yagi.nec"
# The Smith chart of the same loop, the cursor on 14.2 MHz (the 13th step).
wavra --show smith --keys "$(printf 'Right,%.0s' {1..12})Right" --size 700x900 --png "$docs/smith-chart.png" \
      "$tree/models/yagi.nec"

# A measurement beside the model: the dipole's loop from 13.2 to 15.2 MHz
# against examples/dipole_measured.s1p (the model's own loop 2 % lower in
# frequency, standing in for an analyser's file), minimum and bands marked.
wavra --calc sweep --freq 13.2,15.2,0.1 --show sweep --measured "$(pwd)/examples/dipole_measured.s1p" \
      --size 900x640 --png "$docs/measured-sweep.png" "$tree/models/dipole.nec"

# Earlier sweeps kept: the dipole before trimming (halves of 5.25 m) beside
# the example as it stands (5.15 m), SWR page.
sed 's/5\.15/5.25/g' examples/dipole.nec >"$tree/models/dipole-long.nec"
wavra --calc sweep --freq 13.2,15.2,0.1 "$tree/models/dipole-long.nec"
wavra --calc sweep --freq 13.2,15.2,0.1 --compare "$tree/models/dipole-long.nec" --show sweep \
      --size 900x640 --png "$docs/compare-sweep.png" "$tree/models/dipole.nec"

# Geometry view: the Yagi's segment currents as bars and its far-field
# pattern as a 3-D wire frame in the colours of the gain, turned 40 degrees
# in azimuth and 20 in elevation.
wavra --calc far --theta 0,180,5 --phi 0,355,5 --show geometry --size 800x800 --png "$docs/geometry-view.png" \
  --keys C,PgUp,PgUp,PgUp,PgUp,PgUp,PgUp,PgUp,PgUp,M,R,Left,Left,Left,Left,Left,Left,Left,Left,Down,Down,Down,Down \
  "$tree/models/yagi.nec"

# POV-Ray: the Yagi's wires and far-field pattern as the geometry view first
# shows them, rendered by povray.
wavra --calc far --theta 0,180,5 --phi 0,355,5 --pov "$tree/pov/yagi.pov" --render "$docs/povray-yagi.png" \
      "$tree/models/yagi.nec"

# The near-field view: the total electric field on the plane 0.5 m above the
# dipole as a colour map on a more logarithmic scale, the wire drawn over it.
wavra --calc near --x -3,3,0.2 --y -7,7,0.2 --z 0.5,0.5,1 --show nearfield --keys G,Ctrl+PgUp,Ctrl+PgUp \
      --size 640x800 --png "$docs/near-field.png" "$tree/models/dipole.nec"

# The windows: the main window after a far-field run of the Yagi, the program
# at work (the main window with the pattern, geometry and sweep views of the
# Yagi, painted offscreen by their renderers), and the card editor on the Yagi.
gui_tests="$build/tests/gui/gui_tests"
windowPictures() {
  QT_QPA_PLATFORM=offscreen "$gui_tests" --gtest_filter="$1" >/dev/null 2>&1 ||
    { echo "make-docs.sh: the window test $1 failed; run $gui_tests --gtest_filter=$1 to see why" >&2; exit 1; }
}
WAVRA_DOCS_DIR="$docs" windowPictures 'DocsPictures.*'
for picture in main-window.png at-work.png; do test -s "$docs/$picture"; done
WAVRA_SCREENSHOT="$docs/card-editor.png" windowPictures 'CardEditorTest.ScreenshotOfTheYagi'
