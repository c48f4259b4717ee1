# The fuzz corpora, kept as one xz-compressed tar per target,
# fuzz/corpus/<target>.tar.xz: engine reports, decks and settings files
# compress about thirty-fold, so a clone carries a few small files instead of
# thousands of inputs. Sourced by scripts/fuzz.sh and
# scripts/fuzz-minimise.sh, which also share the list of targets.

# fuzz_targets [TARGET...]: the targets named, or every fuzz/<target>_fuzz.cpp,
# one per line.
fuzz_targets() {
    if [ $# -gt 0 ]; then
        printf '%s\n' "$@"
        return
    fi
    local src
    for src in fuzz/*_fuzz.cpp; do
        src=$(basename "$src" .cpp)
        echo "${src%_fuzz}"
    done
}

# unpack_corpus TARGET DIR: the target's inputs into DIR (none for a new
# target).
unpack_corpus() {
    local archive=fuzz/corpus/$1.tar.xz
    mkdir -p "$2"
    if [ -f "$archive" ]; then tar -xJf "$archive" -C "$2"; fi
}

# pack_corpus TARGET DIR: DIR's inputs become the target's archive, replaced
# by rename. The same inputs always give the same bytes (names sorted, no
# dates or owners), so an unchanged corpus shows no change in git.
pack_corpus() {
    local archive=fuzz/corpus/$1.tar.xz
    mkdir -p fuzz/corpus
    (cd "$2" && find . -maxdepth 1 -type f -printf '%P\n' | LC_ALL=C sort) |
        tar -C "$2" --mtime=@0 --owner=0 --group=0 --numeric-owner --mode=a+rX,u+w,go-w -cf - -T - |
        xz -9 -T1 >"$archive.tmp"
    mv "$archive.tmp" "$archive"
}
