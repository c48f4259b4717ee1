#!/usr/bin/env bash
# Builds the Debian package of the build tree (cpack -G DEB), installs it
# with dpkg, uses it as an ordinary user would (a user made for the check,
# the programs from /usr/bin, a deck in a temporary folder), checks that the
# user's settings and results went to their XDG folders and nothing into the
# install, validates the desktop entry and the AppStream metadata, removes
# the package again and checks that nothing of it is left in /usr. Lintian's
# findings on the package are printed (they do not fail the check).
#
#   scripts/check-package.sh            (as root; WAVRA_BUILD_DIR, default _build)
set -uo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
builddir=${WAVRA_BUILD_DIR:-_build}
user=wavra-check
failures=0

if [ "$(id -u)" -ne 0 ]; then
    echo "check-package: run as root (it installs and removes the package and makes a user)" >&2
    exit 2
fi
set -e
scripts/install-packages.sh desktop-file-utils appstream lintian nec2c
set +e

check() { # description, command...
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}

work=$(mktemp -d /tmp/wavra-package-XXXXXX)
chmod 755 "$work"
cleanup() {
    dpkg -s wavra >/dev/null 2>&1 && dpkg -r wavra >/dev/null
    id "$user" >/dev/null 2>&1 && userdel "$user"
    rm -rf "$work"
}
trap cleanup EXIT

# The package.
(cd "$builddir" && cpack -G DEB) >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls -t "$builddir"/wavra_*.deb | head -n1)
echo "package: $deb"
dpkg-deb -f "$deb" Depends Recommends
dpkg -s wavra >/dev/null 2>&1 && dpkg -r wavra >/dev/null
dpkg -i "$deb" || exit 1

# An ordinary user with a home of their own in the temporary folder.
home=$work/home
id "$user" >/dev/null 2>&1 || useradd --home-dir "$home" --no-create-home --shell /bin/sh "$user"
mkdir -p "$home" "$work/models"
cp examples/dipole.nec "$work/models/"
chown -R "$user": "$home" "$work/models"
as_user() { # runs a command as the user in the models folder, with a plain environment
    (cd "$work/models" && runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@")
}
find /usr/share/wavra /usr/lib/wavra | sort >"$work/installed.before"

# The user's runs, one function each.
version_line() { as_user wavra --version | grep -q '^wavra '; }
far_field() { as_user wavra --batch --calc far --json dipole.nec >"$work/far.json" && grep -q '"frequencyMHz"' "$work/far.json"; }
sweep() {
    as_user wavra --batch --calc sweep --freq 13,15,0.5 --touchstone dipole.s1p dipole.nec >/dev/null &&
        grep -qi '^#.*mhz' "$work/models/dipole.s1p"
}
show_picture() { as_user wavra --batch --show pattern --png pattern.png dipole.nec >/dev/null && [ -s "$work/models/pattern.png" ]; }
build_help() { as_user wavra-build --help >/dev/null; }
build_deck() { as_user wavra-build --shape Helix helix.nec >/dev/null && grep -q '^GE' "$work/models/helix.nec"; }
install_untouched() {
    find /usr/share/wavra /usr/lib/wavra | sort | cmp -s - "$work/installed.before" && [ -z "$(dpkg --verify wavra)" ]
}
manual_pages() { for p in wavra wavra-build wavra-view; do gzip -t "/usr/share/man/man1/$p.1.gz" || return 1; done; }
nothing_left() { [ -z "$(find /usr -name '*wavra*' 2>/dev/null)" ]; }

check "wavra --version" version_line
check "wavra --batch --calc far --json" far_field
check "wavra --batch --calc sweep --touchstone" sweep
check "wavra --batch --show pattern --png (through wavra-show)" show_picture
check "wavra-build --help" build_help
check "wavra-build --shape writes a deck" build_deck
check "settings in ~/.config/wavra" test -f "$home/.config/wavra/wavra.ini"
check "engine deck and report in ~/.local/share/wavra/out" test -f "$home/.local/share/wavra/out/dipole.inp" -a -f "$home/.local/share/wavra/out/dipole.out"
check "nothing written into the install" install_untouched
check "the engine launchers and the companion programs are reachable from share/wavra/exe" \
    test -x /usr/share/wavra/exe/NEC2D_LA -a -x /usr/share/wavra/exe/build -a -x /usr/share/wavra/exe/view \
    -a -x /usr/share/wavra/exe/wavra-show -a -x /usr/share/wavra/exe/wavra-windows
check "desktop entry" desktop-file-validate /usr/share/applications/wavra.desktop
check "AppStream metadata" appstreamcli validate --no-net /usr/share/metainfo/org.wavra.wavra.metainfo.xml
check "MIME type of NEC-2 decks" grep -q 'glob pattern="\*.nec"' /usr/share/mime/packages/wavra.xml
check "manual pages" manual_pages

# Removed, nothing of it stays.
dpkg -r wavra >/dev/null
check "nothing left in /usr after dpkg -r" nothing_left

echo "lintian findings:"
lintian --tag-display-limit 0 "$deb" 2>&1 | sed 's/^/  /'

cd "$source_dir"
if [ "$failures" -ne 0 ]; then
    echo "check-package: $failures check(s) failed"
    exit 1
fi
echo "check-package: all checks passed"
