#!/usr/bin/env bash
# Runs the libFuzzer targets and keeps their lifetime record.
#
#   scripts/fuzz.sh SECONDS [TARGET...]
#
# Builds the fuzz tree with clang (AddressSanitizer and UBSan; with
# WAVRA_FUZZ_ASAN=OFF, UBSan only, which runs about three times the inputs),
# runs each target (all of them when none is named) for SECONDS on its corpus
# (unpacked from fuzz/corpus/<target>.tar.xz), JOBS targets at a time
# (default: one per core), merges the inputs that reach new code into that
# corpus, packs it again and appends one line per run to
# fuzz/executions.tsv. An input that crashes a target is
# kept in fuzz/findings/ and the script exits 1.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/fuzz-corpus.sh

seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
asan=${WAVRA_FUZZ_ASAN:-ON}
build=_build-fuzz
sanitizers=asan+ubsan
if [ "$asan" = OFF ]; then
    build=_build-fuzz-ubsan
    sanitizers=ubsan
fi

# clang with libFuzzer, and what configuring the Qt-free layers needs.
scripts/install-packages.sh clang libclang-rt-dev cmake make nlohmann-json3-dev xz-utils
# Two runs of this script may share a build tree: one configures and builds
# at a time.
mkdir -p "$build"
exec 9>"$build/.fuzz-build.lock"
flock 9
CC=clang CXX=clang++ cmake -S . -B "$build" -DWAVRA_FUZZ=ON -DWAVRA_FUZZ_ASAN="$asan" -DWAVRA_GUI=OFF \
    -DWAVRA_TESTS=OFF -DWAVRA_BENCH=OFF >/dev/null
mapfile -t targets < <(fuzz_targets "$@")
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/%/_fuzz}" >/dev/null
flock -u 9

# AddressSanitizer with a small quarantine and no fill of new blocks: the
# targets build and drop large tables per input, and the default 256 MB
# quarantine turned nearly every allocation into fresh pages, which halved
# the inputs run. Reads past a block and recent use after free are still
# caught. A caller's own ASAN_OPTIONS win.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=8:thread_local_quarantine_size_kb=64:max_malloc_fill_size=0}

mkdir -p fuzz/findings
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One target: fuzz into a scratch folder beside the unpacked corpus, so a run
# that is stopped leaves the committed corpus as it was; then merge what is
# new into it and pack it again.
run_one() {
    local target=$1 corpus=$work/$1-corpus scratch=$work/$1 log=$work/$1.log
    mkdir -p "$scratch"
    unpack_corpus "$target" "$corpus"
    local status=0 started=$SECONDS elapsed
    "$build/fuzz/${target}_fuzz" "$scratch" "$corpus" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix=fuzz/findings/"$target"- -rss_limit_mb=4096 >"$log" 2>&1 || status=$?
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    local outcome=clean
    if [ "$status" -ne 0 ]; then
        outcome="finding (exit $status, see fuzz/findings/)"
        tail -40 "$log" >&2
    fi
    "$build/fuzz/${target}_fuzz" -merge=1 "$corpus" "$scratch" >/dev/null 2>&1 || true
    pack_corpus "$target" "$corpus"
    elapsed=$((SECONDS - started))
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$(date -u +%F)" "$target" "$sanitizers" "$elapsed" "${runs:-0}" \
        "$outcome" >>fuzz/executions.tsv
    echo "$target: ${runs:-0} executions in $elapsed s, $outcome"
    [ "$status" -eq 0 ]
}
export -f run_one unpack_corpus pack_corpus
export build seconds sanitizers work

[ -f fuzz/executions.tsv ] || printf 'date\ttarget\tsanitizers\tseconds\texecutions\toutcome\n' >fuzz/executions.tsv
printf '%s\n' "${targets[@]}" | xargs -P "${JOBS:-$(nproc)}" -I{} bash -c 'run_one {}'
scripts/fuzz-totals.sh
