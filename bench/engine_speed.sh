#!/usr/bin/env bash
# Speed of a calculation through wavra with the lapack engine (NEC2D_LA), on
# broadside curtains (bench/curtain_deck.sh):
#   - the frequency-loop choice over 8 steps (14.0 to 14.35 MHz) on models
#     of 1000 and 2000 segments: the deck's own frequency calculated once
#     for the report's header, then the loop, split over "Parallel engine
#     runs" (--jobs, default one per core);
#   - one frequency at 4000 segments;
#   - the fixed cost: an 11-segment dipole through wavra against the bare
#     engine on the same deck;
#   - the overhead at 1000 segments: one frequency through wavra against the
#     bare engine on the same deck (each with every core);
#   - the engine's own fill and factorisation times per frequency, wall
#     clock (NEC2C_WALL_TIMES), medians over the runs, with every core and
#     on one thread (the cost per core) at 1000 and 2000 segments. The report's
#     "FILL: .. msec FACTOR: .. msec" line is processor time summed over all
#     threads, so it is not shown.
#
# With OLD_EXE (the exe/ folder of another build, with its wavra, launcher
# and nec2c-lapack) every measurement runs both trees in turn, old and new
# alternating, and prints both medians and their ratio new/old: on a busy
# machine only such ratios mean much.
#
# Usage: bench/engine_speed.sh [BUILD_DIR] [RUNS]
# Environment: OLD_EXE=DIR, JOBS=N (wavra --jobs; default: wavra's own)
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-_build}
runs=${2:-5}
stage=$(cd "$build/stage" && pwd)
[ -x "$stage/exe/wavra" ] && [ -x "$stage/exe/nec2c-lapack" ] ||
    { echo "engine_speed.sh: build wavra and nec2c_lapack first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A tree per build: exe/ (copied), out/ and the models.
make_tree() { # name exe_dir
    mkdir -p "$work/$1/out" "$work/$1/models"
    cp -a "$2" "$work/$1/exe"
}
make_tree new "$stage/exe"
trees=(new)
if [ -n "${OLD_EXE:-}" ]; then
    make_tree old "$OLD_EXE"
    trees=(old new)
fi
models=$work/models
mkdir -p "$models"
"$here/curtain_deck.sh" 1000 >"$models/c1000.nec"
"$here/curtain_deck.sh" 2000 >"$models/c2000.nec"
"$here/curtain_deck.sh" 4000 >"$models/c4000.nec"
printf '%s\n' "CM dipole" "CE" "GW 1 11 0 0 -0.25 0 0 0.25 0.001" "GE 0" "EX 0 1 6 0 1 0" \
    "FR 0 1 0 0 299.8 0" "XQ" "EN" >"$models/tiny.nec"
for tree in "${trees[@]}"; do cp "$models"/*.nec "$work/$tree/models/"; done

now() { date +%s%N; }
median() { sort -g | awk '{a[NR]=$1} END {if (NR) print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
jobs=()
[ -n "${JOBS:-}" ] && jobs=(--jobs "$JOBS")

# wavra on a model of the tree (extra options after the name); seconds.
wavra_run() { # tree model options...
    local tree=$1 model=$2 t0 t1
    shift 2
    cd "$work/$tree"
    t0=$(now)
    exe/wavra --batch --set REUSE=0 "${jobs[@]}" "$@" "models/$model.nec" >/dev/null 2>&1 ||
        { echo "engine_speed.sh: wavra failed on $model in $tree" >&2; exit 1; }
    t1=$(now)
    echo "$(((t1 - t0) / 1000))" | awk '{print $1 / 1e6}'
}

# The bare engine on the deck wavra wrote for the model, every core, as
# the launcher gives it to the engine: idle OpenBLAS threads sleep after
# 2^20 cycles and idle fill threads at once, for the old tree too, so
# that both engines run alike (an older engine needs the SZ card
# left out; that copy is made before the clock starts); its wall fill and
# factorisation times are appended to $work/$tree/walls.MODEL. With a
# thread count, the engine runs on that many threads (fill and solver)
# and the times go to walls.MODEL.THREADS.
bare_run() { # tree model [threads]
    local tree=$1 model=$2 t0 t1 walls=$work/$1/walls.$2 threads=()
    [ -n "${3:-}" ] && walls+=.$3 && threads=(OMP_NUM_THREADS="$3" OPENBLAS_NUM_THREADS="$3")
    cd "$work/$tree/out"
    grep -avi '^sz' "$model.inp" >bare.inp
    t0=$(now)
    env "${threads[@]}" OPENBLAS_THREAD_TIMEOUT=20 OMP_WAIT_POLICY=passive NEC2C_WALL_TIMES=1 ../exe/nec2c-lapack -i bare.inp -o bare.out >/dev/null 2>>"$walls" ||
        { echo "engine_speed.sh: the engine failed on $model in $tree" >&2; exit 1; }
    t1=$(now)
    echo "$(((t1 - t0) / 1000))" | awk '{print $1 / 1e6}'
}

# Runs `measure TREE` RUNS times for each tree, alternating, and prints the
# medians (and the ratio new/old).
compare() { # label measure-function unit
    local label=$1 fn=$2 unit=$3 i tree
    declare -A times=()
    for ((i = 0; i < runs; i++)); do
        for tree in "${trees[@]}"; do times[$tree]+="$($fn "$tree") "; done
    done
    local new old
    new=$(tr ' ' '\n' <<<"${times[new]}" | grep . | median)
    if [ -n "${OLD_EXE:-}" ]; then
        old=$(tr ' ' '\n' <<<"${times[old]}" | grep . | median)
        printf '%-46s old %8.3f %-2s new %8.3f %-2s new/old %5.2f\n' "$label" "$old" "$unit" "$new" "$unit" \
            "$(awk -v a="$new" -v b="$old" 'BEGIN {print a / b}')"
    else
        printf '%-46s %8.3f %s\n' "$label" "$new" "$unit"
    fi
}

sweep1000() { wavra_run "$1" c1000 --calc sweep --freq 14,14.35,0.05 --sub none; }
sweep2000() { wavra_run "$1" c2000 --calc sweep --freq 14,14.35,0.05 --sub none; }
single4000() { wavra_run "$1" c4000 --calc original; }
tiny_wavra() { wavra_run "$1" tiny --calc original; }
tiny_bare() { bare_run "$1" tiny; }
single1000() { wavra_run "$1" c1000 --calc original; }
bare1000() { bare_run "$1" c1000; }
# The difference wavra - bare engine on one deck, in milliseconds.
fixed_cost() { echo "$(tiny_wavra "$1") $(tiny_bare "$1")" | awk '{print 1000 * ($1 - $2)}'; }
overhead1000() { echo "$(single1000 "$1") $(bare1000 "$1")" | awk '{print $1 / $2}'; }

# Wall fill and factorisation per frequency of the bare 1000-segment runs,
# and of bare 2000- and 4000-segment runs (three and one); then of three
# bare runs on one thread at 1000 and 2000 segments (the cost per core, as
# in a split loop whose parts run side by side).
engine_walls() { # tree
    local tree=$1 segments i
    for segments in 2000 4000; do
        (wavra_run "$tree" "c$segments" --calc original >/dev/null)
        for ((i = 0; i < (segments == 4000 ? 1 : 3); i++)); do bare_run "$tree" "c$segments" >/dev/null; done
    done
    for segments in 1000 2000; do
        for ((i = 0; i < 3; i++)); do bare_run "$tree" "c$segments" 1 >/dev/null; done
    done
    for walls in c1000 c2000 c4000 c1000.1 c2000.1; do
        printf '  %-4s %5s segments%-10s fill %7.3f s  factorisation %7.3f s (wall, median)\n' "$tree" \
            "${walls:1:4}" "$([ "${walls#*.}" = 1 ] && echo ", 1 thread" || echo ":")" \
            "$(awk '/WALL FILL/ {print $3 / 1e6}' "$work/$tree/walls.$walls" | median)" \
            "$(awk '/WALL FILL/ {print $6 / 1e6}' "$work/$tree/walls.$walls" | median)"
    done
}

echo "cores: $(nproc), load average: $(cut -d' ' -f1-3 /proc/loadavg), runs: $runs${JOBS:+, --jobs $JOBS}"
compare "8-step loop, 1000 segments (sweep choice)" sweep1000 s
compare "8-step loop, 2000 segments (sweep choice)" sweep2000 s
compare "one frequency, 4000 segments" single4000 s
compare "fixed cost: tiny deck, wavra - bare engine" fixed_cost ms
compare "overhead: 1000 segments, wavra / bare engine" overhead1000 x
echo "engine fill and factorisation, every core unless said:"
for tree in "${trees[@]}"; do
    grep -q "WALL FILL" "$work/$tree/walls.c1000" 2>/dev/null && engine_walls "$tree" ||
        echo "  $tree: the engine writes no wall times (NEC2C_WALL_TIMES)"
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
