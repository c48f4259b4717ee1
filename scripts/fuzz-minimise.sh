#!/usr/bin/env bash
# Shrinks the fuzz corpora without losing coverage.
#
#   scripts/fuzz-minimise.sh [TARGET...]
#
# For each target (all of them when none is named) libFuzzer picks, from its
# corpus, a smallest set of inputs that together reach every feature the
# whole corpus reaches (-set_cover_merge into a fresh folder), and that set
# replaces the corpus. Uses the fuzz tree that scripts/fuzz.sh builds; run
# that first.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/fuzz-corpus.sh

build=_build-fuzz
mapfile -t targets < <(fuzz_targets "$@")
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=8:thread_local_quarantine_size_kb=64:max_malloc_fill_size=0}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for target in "${targets[@]}"; do
    corpus=$work/$target-corpus fresh=$work/$target
    binary=$build/fuzz/${target}_fuzz
    [ -x "$binary" ] || { echo "$binary missing: run scripts/fuzz.sh first" >&2; exit 1; }
    unpack_corpus "$target" "$corpus"
    mkdir -p "$fresh"
    before=$(ls "$corpus" | wc -l)
    "$binary" -set_cover_merge=1 "$fresh" "$corpus" >"$work/$target.log" 2>&1 || {
        tail -20 "$work/$target.log" >&2
        exit 1
    }
    # An empty result means the merge itself failed: keep the corpus.
    [ -n "$(ls -A "$fresh")" ] || { echo "$target: the merge kept nothing" >&2; exit 1; }
    pack_corpus "$target" "$fresh"
    echo "$target: $before -> $(ls "$fresh" | wc -l) inputs, $(du -k fuzz/corpus/"$target".tar.xz | cut -f1) KB packed"
done
