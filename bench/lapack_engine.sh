#!/usr/bin/env bash
# Plain nec2c against the lapack engine, both run through the launcher
# (exe/NEC2D512 and exe/NEC2D_LA of the staged tree), on broadside curtains
# of 1000, 2000 and 4000 segments (bench/curtain_deck.sh), at a single
# frequency and in an 8-step frequency loop. The lapack engine runs with one
# OpenBLAS thread (as each of several engines running at once gets) and with
# the launcher's choice for a single run (every core).
#
# The plain 8-step loop at 4000 segments takes about 6 minutes; it is run
# only with FULL=1, else its time is estimated as 8 times the single
# frequency (marked "est.").
#
# Prints wall-clock seconds (the best of RUNS runs), the CPU seconds of the
# single-thread runs (steadier than the wall clock on a busy machine), the
# speed-ups over plain nec2c, and whether the reports agree apart from their
# timing lines (the tests compare them by printed tolerance).
# Usage: bench/lapack_engine.sh [BUILD_DIR]
# Environment: RUNS=1 (best of), FULL=0, SEGMENTS="1000 2000 4000" (the models)
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
exe=$(cd "${1:-_build}/stage/exe" && pwd)
runs=${RUNS:-1}
[ -x "$exe/nec2c-lapack" ] || { echo "lapack_engine.sh: $exe/nec2c-lapack is missing: build it first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" # nec2c takes file names of at most 75 characters: keep them short and relative
cores=$(nproc)

# best_of ENGINE DECK REPORT [ENV...]: runs the engine RUNS times and prints
# "WALL CPU" of the fastest run.
best_of() {
    local engine=$1 deck=$2 report=$3 best= cpu= times i
    shift 3
    for ((i = 0; i < runs; i++)); do
        times=$( { TIMEFORMAT='%R %U %S'; time env "$@" "$exe/$engine" "$deck" "$report" >/dev/null 2>&1; } 2>&1)
        read -r wall user sys <<<"$times"
        if [ -z "$best" ] || awk -v a="$wall" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$wall
            cpu=$(awk -v a="$user" -v b="$sys" 'BEGIN { print a + b }')
        fi
    done
    printf '%.2f %.2f' "$best" "$cpu"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }

agree() { # report report
    if diff -q <(grep -v msec "$1") <(grep -v msec "$2") >/dev/null; then echo identical; else
        echo "$(diff <(grep -v msec "$1") <(grep -v msec "$2") | grep -c '^<') lines differ"
    fi
}

printf '%-8s %5s | %-19s | %-19s %6s | %-9s %6s | %s\n' segments steps "plain s (cpu)" \
    "lapack 1 thread" "x" "lapack $cores" "x" "reports"
for segments in ${SEGMENTS:-1000 2000 4000}; do
    for steps in 1 8; do
        deck=c$segments-$steps.nec
        "$here/curtain_deck.sh" "$segments" "$steps" >"$deck"
        if ((segments == 4000 && steps == 8)) && [ "${FULL:-0}" != 1 ]; then
            read -r single _ <<<"$plain_single"
            plain_wall=$(awk -v a="$single" 'BEGIN { print 8 * a }')
            plain_text=$(printf '%.2f est.' "$plain_wall")
        else
            read -r plain_wall plain_cpu <<<"$(best_of NEC2D512 "$deck" plain.out)"
            plain_text="$plain_wall ($plain_cpu)"
            ((steps == 1)) && plain_single="$plain_wall $plain_cpu"
        fi
        read -r one_wall one_cpu <<<"$(best_of NEC2D_LA "$deck" lapack1.out OPENBLAS_NUM_THREADS=1)"
        read -r all_wall _ <<<"$(best_of NEC2D_LA "$deck" lapack.out -u OPENBLAS_NUM_THREADS)"
        verdict=$([ -f plain.out ] && agree plain.out lapack1.out || echo "-")
        printf '%-8s %5s | %-19s | %-19s %6s | %-9s %6s | %s\n' "$segments" "$steps" "$plain_text" \
            "$one_wall ($one_cpu)" "$(ratio "$plain_wall" "$one_wall")" "$all_wall" "$(ratio "$plain_wall" "$all_wall")" \
            "$verdict"
        rm -f plain.out lapack1.out lapack.out
    done
done
