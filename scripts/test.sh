#!/usr/bin/env bash
# Sets up and builds wavra, then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
# A sanitizer build reports the leaks of system libraries listed here; the
# tests and every program they start inherit the setting.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
scripts/setup.sh
builddir=${WAVRA_BUILD_DIR:-_build}

# The window tests also run under a German locale (decimal comma). It is
# made once: system-wide as root (or through sudo), otherwise in the build
# tree, where LOCPATH shows it to the tests.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    if [ "$(id -u)" -eq 0 ]; then
        localedef -i de_DE -f UTF-8 de_DE.UTF-8
    elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
    else
        mkdir -p "$builddir/locale"
        [ -d "$builddir/locale/de_DE.UTF-8" ] || localedef -i de_DE -f UTF-8 "$builddir/locale/de_DE.UTF-8"
        export LOCPATH=$PWD/$builddir/locale
    fi
fi

cd "$builddir"
ctest --output-on-failure -j"$(nproc)"
