#!/bin/bash
# Engine launcher of wavra. Every engine name in this directory (NEC2D,
# NEC2D512 ... NEC2D11K, NEC2D_LA, NEC32) is a link to this script. NEC2D_LA
# runs the lapack engine nec2c-lapack of this directory (nec2c with its
# matrix solved by LAPACK/OpenBLAS, built at set-up); every other name runs
# Debian's NEC-2 engine nec2c. Neither has a fixed segment limit.
#
# Called as wavra.sh [--control FILE] [--threads N] MODE ...:
#   wavra.sh gen MODEL  ENGINE [pause]   run ENGINE on the deck named in the control file
#   wavra.sh som GROUND ENGINE [pause]   Sommerfeld ground: nec2c computes the
#                                        ground itself for every frequency, so
#                                        som2d.tmp needs no separate ground
#                                        program and the run is the same as gen
#   wavra.sh cop GROUND ENGINE [pause]   Sommerfeld ground with a ground file:
#                                        nec2c does not read one; same as gen
#   wavra.sh ren MODEL  OUTPUT           take the special engine's report
#                                        (<deck>.n32) over as the report
#                                        named in the control file
# The control file holds two lines: the engine deck and the report, relative
# to the control file's own directory ("run.inp" and "run.out" in a run's
# work directory; "../out/dipole.inp" in exe/nec2d.tmp). Short names matter:
# nec2c takes file names of up to 80 bytes.
# wavra gives every run a control file of its own with --control, so runs
# never share one; without --control it is exe/nec2d.tmp, for an engine
# started on its own. With "pause" the engine's exit status is printed.
#
# wavra itself does what this script does for an engine name that links to
# it and starts the engine program directly, without a shell (the same
# program, files, folder and threads); it calls this script for the rest:
# the special engine's "ren", "pause", an engine name that is a program of
# its own, and a missing engine name or nec2c. Change both together.
#
# Called under an engine name:
#   ENGINE DECK REPORT         run nec2c on DECK, report to REPORT
#   ENGINE DECK [-autodma]     the special engine started on its own: the
#                              report goes to DECK with the extension .n32
#
# When nec2c-lapack is missing (it could not be built), NEC2D_LA runs plain
# nec2c and says so in a line on stderr.
#
# Threads of the lapack engine (its matrix fill and its solver): --threads N
# (wavra gives each engine of a split frequency loop, or of optimizer trials
# run side by side, its share of the cores), else OPENBLAS_NUM_THREADS as
# the caller set it, otherwise the number of cores for a single run.
#
# Exit status: the engine's; 2 wrong use; 66 a file is missing; 127 the
# engine is not installed or has no launcher here.

# The launcher starts no program but the engine (and bash by its own path,
# not through env and PATH): paths are cut with the
# shell's own expansions, and an engine name that links to this script runs
# in a subshell of it instead of a second shell.

# The directory of a path ("." for a bare name, "/" for a file in /).
dir_of() {
    case $1 in
    */*) dir=${1%/*} && dir=${dir:-/} ;;
    *) dir=. ;;
    esac
}

dir_of "$0"
case $dir in
/*) exe_dir=$dir ;;
*) exe_dir=$(cd -- "$dir" && pwd) || exit 66 ;;
esac
self=${0##*/}

fail() { # status, message
    printf '%s: %s\n' "$self" "$2" >&2
    exit "$1"
}

# DECK without its extension.
stem_of() {
    local base=${1##*/}
    if [[ $base == *.* ]]; then printf '%s' "${1%.*}"; else printf '%s' "$1"; fi
}

# The cores this launcher may run on, as nproc counts them (the ranges of
# Cpus_allowed_list), in $cores; read from /proc without starting nproc,
# which only counts where /proc does not say.
count_cores() {
    local key list range
    cores=0
    if [ -r /proc/self/status ]; then
        while IFS=$' \t' read -r key list; do
            [ "$key" = Cpus_allowed_list: ] || continue
            local IFS=,
            for range in $list; do
                if [[ $range =~ ^([0-9]+)-([0-9]+)$ ]]; then
                    cores=$((cores + BASH_REMATCH[2] - BASH_REMATCH[1] + 1))
                elif [[ $range =~ ^[0-9]+$ ]]; then
                    cores=$((cores + 1))
                fi
            done
            break
        done </proc/self/status
    fi
    ((cores > 0)) || cores=$(nproc 2>/dev/null || echo 1)
}

# The program behind the engine name this script was called as, in $program.
choose_program() {
    program=nec2c
    if [ "$self" = NEC2D_LA ]; then
        if [ -x "$exe_dir/nec2c-lapack" ]; then
            program=$exe_dir/nec2c-lapack
            [ -n "${OPENBLAS_NUM_THREADS:-}" ] || count_cores
            export OPENBLAS_NUM_THREADS=${OPENBLAS_NUM_THREADS:-$cores}
            # The matrix fill (OpenMP) gets as many threads as the solver.
            export OMP_NUM_THREADS=${OMP_NUM_THREADS:-$OPENBLAS_NUM_THREADS}
            # Idle solver threads go to sleep after 2^20 cycles (about a
            # third of a millisecond) instead of OpenBLAS's 2^28 (a tenth
            # of a second): they would otherwise spin through the matrix
            # fill on the cores its threads need.
            export OPENBLAS_THREAD_TIMEOUT=${OPENBLAS_THREAD_TIMEOUT:-20}
            # The fill's idle OpenMP threads sleep at once instead of
            # spinning into the factorisation (one fill per frequency, so
            # waking them costs nothing).
            export OMP_WAIT_POLICY=${OMP_WAIT_POLICY:-passive}
            return
        fi
        printf '%s: the lapack engine %s is missing; running plain nec2c\n' "$self" "$exe_dir/nec2c-lapack" >&2
    fi
    command -v nec2c >/dev/null 2>&1 || fail 127 "the NEC-2 engine nec2c is not installed"
}

# Runs the engine on a deck. A lapack deck carries an SZ card with the
# segment capacity; plain nec2c stops with a geometry card error on it and
# needs no capacity, so the card is left out of the copy it reads (the
# lapack engine passes over SZ cards itself and reads the deck as it is).
# The deck is bytes (a Latin-1 comment is not text in a UTF-8 locale): grep
# reads it as such, or it would drop the lines it cannot decode.
run_nec2c() { # deck, report
    local deck=$1 report=$2 copy= status program dir
    choose_program
    [ -r "$deck" ] || fail 66 "cannot read the engine deck $deck"
    if [ "$program" = nec2c ] && LC_ALL=C grep -aqi '^sz' -- "$deck"; then
        dir_of "$report"
        copy=$(mktemp "$dir/.wavra-deck-XXXXXX") || fail 66 "cannot write next to $report"
        LC_ALL=C grep -avi '^sz' -- "$deck" >"$copy"
        deck=$copy
    fi
    "$program" -i "$deck" -o "$report"
    status=$?
    [ -n "$copy" ] && rm -f -- "$copy"
    return "$status"
}

run_as_engine() { # deck, [report | -autodma]
    [ $# -ge 1 ] || fail 2 "usage: $self DECK [REPORT]"
    local report=${2:-}
    if [ -z "$report" ] || [ "${report:0:1}" = "-" ]; then report="$(stem_of "$1").n32"; fi
    run_nec2c "$1" "$report"
}

read_control_file() {
    [ -r "$control" ] || fail 66 "missing $control"
    { IFS= read -r deck; IFS= read -r report; } <"$control"
    deck=${deck%$'\r'}
    report=${report%$'\r'}
    [ -n "$deck" ] && [ -n "$report" ] || fail 66 "$control must name the deck and the report"
}

take_special_report() {
    local n32
    n32="$(stem_of "$deck").n32"
    [ -f "$n32" ] || fail 66 "the special engine left no report $n32"
    mv -f -- "$n32" "$report"
}

run_mode() { # mode, second argument, engine, [pause]
    [ $# -ge 3 ] || fail 2 "usage: wavra.sh [--control FILE] gen|som|cop|ren ARG ENGINE [pause]"
    local mode=$1 engine=$3 pause=${4:-} status dir
    read_control_file
    dir_of "$control"
    cd -- "$dir" || exit 66
    case $mode in
    gen | som | cop)
        [[ $engine =~ ^[A-Za-z0-9_]+$ ]] || fail 2 "not an engine name: $engine"
        [ -x "$exe_dir/$engine" ] || fail 127 "no engine $engine in $exe_dir"
        if [ "$exe_dir/$engine" -ef "$exe_dir/wavra.sh" ]; then
            (self=$engine && run_nec2c "$deck" "$report")
        else
            "$exe_dir/$engine" "$deck" "$report"
        fi
        status=$?
        ;;
    ren)
        take_special_report
        status=$?
        ;;
    *) fail 2 "unknown mode $mode (gen, som, cop or ren)" ;;
    esac
    [ "$pause" = pause ] && printf '%s: engine %s ended with exit status %d\n' "$self" "$engine" "$status"
    exit "$status"
}

if [ "$self" = wavra.sh ]; then
    control=$exe_dir/nec2d.tmp
    if [ "${1:-}" = --control ]; then
        [ $# -ge 2 ] || fail 2 "--control needs a file"
        control=$2
        [[ $control == /* ]] || control=$PWD/$control
        shift 2
    fi
    if [ "${1:-}" = --threads ]; then
        [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || fail 2 "--threads needs a number of threads"
        export OPENBLAS_NUM_THREADS=$2 OMP_NUM_THREADS=$2
        shift 2
    fi
    run_mode "$@"
else
    run_as_engine "$@"
fi
