#!/usr/bin/env bash
# Writes a NEC-2 deck of a broadside curtain array on stdout: rows of
# horizontal half-wave dipoles (0.48 wavelength, 20 segments each, 5 mm
# radius), 0.6 wavelength apart in a row and 0.5 wavelength between rows,
# every dipole fed in phase at its centre, free space, 14 MHz, and a
# far-field cut in the broadside plane. The engine benchmark and the
# engine comparison tests use these decks.
# Usage: bench/curtain_deck.sh SEGMENTS [FREQUENCY_STEPS]
#   SEGMENTS          a multiple of 20 (1000, 2000, 4000 ...)
#   FREQUENCY_STEPS   steps of 50 kHz from 14 MHz (default 1)
set -euo pipefail
segments=${1:?usage: curtain_deck.sh SEGMENTS [FREQUENCY_STEPS]}
steps=${2:-1}
[[ $segments =~ ^[0-9]+$ ]] && ((segments >= 20 && segments % 20 == 0)) || {
    echo "curtain_deck.sh: SEGMENTS must be a multiple of 20" >&2
    exit 2
}
[[ $steps =~ ^[0-9]+$ ]] && ((steps >= 1)) || { echo "curtain_deck.sh: FREQUENCY_STEPS must be 1 or more" >&2; exit 2; }
LC_ALL=C awk -v segs="$segments" -v steps="$steps" 'BEGIN {
    f = 14.0; lam = 299.792458 / f; half = 0.24 * lam; dx = 0.6 * lam; dz = 0.5 * lam
    n = segs / 20
    cols = int(sqrt(n * 1.2)); while (n % cols) cols--   # about square, rows x cols = n
    rows = n / cols
    printf "CM Broadside curtain: %d rows of %d half-wave dipoles, %d segments\n", rows, cols, segs
    print "CM 20 segments per dipole, every dipole fed in phase"
    print "CE"
    tag = 0
    for (r = 0; r < rows; r++)
        for (c = 0; c < cols; c++) {
            x = c * dx; z = r * dz
            printf "GW %d 20 %.4f 0 %.4f %.4f 0 %.4f 0.005\n", ++tag, x - half, z, x + half, z
        }
    print "GE 0"
    for (t = 1; t <= tag; t++) printf "EX 0 %d 10 0 1 0\n", t
    printf "FR 0 %d 0 0 %.2f 0.05\n", steps, f
    print "RP 0 37 1 1000 0 90 5 0"
    print "EN"
}'
