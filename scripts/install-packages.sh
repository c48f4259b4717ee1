#!/usr/bin/env bash
# Installs those of the named Debian packages that are not installed yet
# (apt-get update first, through sudo when not root); does nothing, and asks
# for nothing, when all are. Without root and without sudo it names the
# missing packages for an administrator and stops.
#
#   scripts/install-packages.sh PACKAGE...
set -euo pipefail
missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "These Debian packages are missing: ${missing[*]}" >&2
        echo "Ask an administrator to run:  apt-get install ${missing[*]}" >&2
        echo "then run this command again." >&2
        exit 1
    fi
    sudo="sudo"
    echo "Installing the missing packages ${missing[*]} needs root: sudo asks for your password." >&2
fi
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
