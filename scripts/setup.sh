#!/usr/bin/env bash
# Installs what building and testing wavra needs (Debian packages), then
# configures and builds into _build/. Safe to run again: apt-get only installs
# what is missing (and only then asks for root) and the build is incremental.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake make libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-base-dev-tools qt6-svg-dev nlohmann-json3-dev nec2c fonts-dejavu-core locales
          gcc patch dpkg-dev libopenblas-dev libopenblas-pthread-dev povray)
# gcc, patch, dpkg-dev (apt-get source) and OpenBLAS: the build fetches the
# nec2c source and builds the lapack engine exe/nec2c-lapack from it.
# povray renders the exported scenes (Shift+G, Shift+R, --pov --render).
scripts/install-packages.sh "${packages[@]}"

builddir=${WAVRA_BUILD_DIR:-_build}
cmake -S . -B "$builddir" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${WAVRA_CMAKE_ARGS:-}
cmake --build "$builddir" -j"$(nproc)"
if [ ! -x "$builddir/stage/exe/nec2c-lapack" ]; then
  echo "*** WARNING: the lapack engine nec2c-lapack was not built (see the banner above);" >&2
  echo "*** the engine NEC2D_LA runs plain nec2c, and its tests fail." >&2
fi
