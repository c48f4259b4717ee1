#!/usr/bin/env bash
# Builds the lapack engine nec2c-lapack: the source of Debian's nec2c
# package, with nec2c-lapack.patch (beside this script) applied, linked to
# OpenBLAS (Debian's libopenblas-dev, pthread variant), its matrix fill on
# OpenMP threads (the compiler's -fopenmp, GCC's libgomp).
#
# Usage: build-nec2c-lapack.sh WORK_DIR OUTPUT
#   WORK_DIR  a folder of the build tree: the private apt configuration with
#             its own lists and cache, the pristine source (fetched once)
#             and the patched copy that is compiled
#   OUTPUT    the engine to write, for example _build/stage/exe/nec2c-lapack
#
# The source comes from `apt-get source nec2c` through a private apt
# configuration made from the machine's own package sources with their type
# changed to deb-src; the machine's apt set-up is neither read for
# anything else nor changed. The version is the source version of the
# installed nec2c, so both engines share the same code outside the solver.
#
# When the engine cannot be built (no network, no OpenBLAS, a patch that no
# longer applies), a banner on stderr says why and how to get it, and the
# script ends with status 0: the rest of wavra builds, and NEC2D_LA then
# runs plain nec2c. Exit status 2: wrong use.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 WORK_DIR OUTPUT" >&2; exit 2; }
here=$(cd -- "$(dirname -- "$0")" && pwd)
patch_file=$here/nec2c-lapack.patch
mkdir -p -- "$1" "$(dirname -- "$2")" || exit 2
work=$(cd -- "$1" && pwd)
output=$(cd -- "$(dirname -- "$2")" && pwd)/$(basename -- "$2")
log=$work/build.log
: >"$log"

cannot_build() { # reason
    {
        echo
        echo "************************************************************************"
        echo "*** The lapack engine nec2c-lapack was NOT built: $1"
        echo "*** The engine NEC2D_LA runs plain nec2c instead (same results, slower)."
        echo "*** To get it: apt-get install libopenblas-dev libopenblas-pthread-dev"
        echo "***   dpkg-dev gcc patch, make sure Debian's package sources can be"
        echo "***   reached, then build again (scripts/setup.sh)."
        echo "*** Details: $log"
        echo "************************************************************************"
        echo
    } >&2
    exit 0
}

run() { # command...: runs it with its output in the log
    echo "+ $*" >>"$log"
    "$@" >>"$log" 2>&1
}

for tool in apt-get apt-config dpkg-source dpkg-buildflags dpkg-parsechangelog dpkg-architecture patch cc; do
    command -v "$tool" >/dev/null 2>&1 || cannot_build "the program $tool is missing"
done
blas_dir=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null)/openblas-pthread
[ -e "$blas_dir/libopenblas.so" ] || cannot_build "OpenBLAS (pthread variant) is not installed in $blas_dir"

# The machine's package sources as source-package sources: one-line entries
# "deb ..." become "deb-src ...", deb822 stanzas get "Types: deb-src".
write_source_lists() { # apt folder
    local list parts f
    eval "$(apt-config shell list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d)"
    mkdir -p "$1/sources.list.d"
    : >"$1/sources.list"
    for f in "$list" "$parts"*.list; do
        [ -f "$f" ] && awk '$1 == "deb" { $1 = "deb-src"; print }' "$f" >>"$1/sources.list"
    done
    for f in "$parts"*.sources; do
        [ -f "$f" ] && sed -E 's/^[Tt]ypes:.*/Types: deb-src/' "$f" >"$1/sources.list.d/$(basename -- "$f")"
    done
}

# Private apt configuration: own source lists, package lists and cache.
write_apt_config() { # apt folder
    mkdir -p "$1/lists/partial" "$1/cache/archives/partial"
    {
        echo "Dir::Etc::sourcelist \"$1/sources.list\";"
        echo "Dir::Etc::sourceparts \"$1/sources.list.d\";"
        echo "Dir::State::lists \"$1/lists\";"
        echo "Dir::Cache \"$1/cache\";"
        echo "Acquire::Languages \"none\";"
        # The files go into folders of the build tree, which apt's download
        # user may not be able to write.
        [ "$(id -u)" -eq 0 ] && echo "APT::Sandbox::User \"root\";"
    } >"$1/apt.conf"
}

# Fetches the source into $work/source, its version into
# $work/source.version: once, and again when the installed nec2c changes.
fetch_source() {
    local apt=$work/apt fetch=$work/fetch version dir
    version=$(dpkg-query -W -f='${source:Version}' nec2c 2>/dev/null)
    if [ -f "$work/source/matrix.c" ] && [ -s "$work/source.version" ]; then
        [ -z "$version" ] || [ "$(cat "$work/source.version")" = "$version" ] && return 0
    fi
    rm -rf -- "$apt" "$fetch" "$work/source" "$work/source.version"
    write_source_lists "$apt"
    write_apt_config "$apt"
    run apt-get -c "$apt/apt.conf" update # a source without deb-src indexes only warns
    mkdir -p "$fetch"
    (cd "$fetch" && { { [ -n "$version" ] && run apt-get -c "$apt/apt.conf" source "nec2c=$version"; } ||
        run apt-get -c "$apt/apt.conf" source nec2c; }) ||
        cannot_build "apt-get source nec2c failed (package sources for deb-src not reachable?)"
    dir=$(find "$fetch" -mindepth 1 -maxdepth 1 -type d -name 'nec2c-*' | head -n 1)
    [ -n "$dir" ] && [ -f "$dir/matrix.c" ] || cannot_build "apt-get source nec2c left no nec2c source folder"
    (cd "$dir" && dpkg-parsechangelog -S Version) >"$work/source.version" 2>>"$log" ||
        cannot_build "the fetched source has no readable debian/changelog"
    mv -- "$dir" "$work/source" && rm -rf -- "$fetch"
}

# Applies the patch to a fresh copy and compiles it with Debian's build
# flags (as the nec2c package is built) into $work/build/nec2c-lapack.
compile_engine() {
    local build=$work/build version
    version=$(cat "$work/source.version")
    rm -rf -- "$build"
    cp -a -- "$work/source" "$build" || cannot_build "cannot copy the source to $build"
    run patch -d "$build" -p1 --forward --batch -i "$patch_file" ||
        cannot_build "the patch does not apply to nec2c $version"
    (
        cd "$build" || exit 1
        eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
        # -O3 instead of Debian's -O2: about 5 % off the fill. It enables
        # no floating-point reassociation or contraction (no -ffast-math,
        # no FMA on baseline x86-64), so every result keeps its bits; the
        # tests compare the reports with plain nec2c's.
        CFLAGS=${CFLAGS/-O2/-O3}
        local pids=() pid source extra
        for source in ./*.c; do # every core compiles
            # The SIMD loops of the distant-field kernel: no fused
            # multiply-add in its AVX versions (it would round once where
            # the scalar code rounds twice) and sqrt without the errno
            # branch that keeps a loop scalar; see efldrun.c. The matrix
            # norm of the mixed-precision solver (mixedlu.c) takes sqrt
            # in a loop too.
            extra=()
            [ "$source" = ./efldrun.c ] && extra=(-ffp-contract=off -fno-math-errno)
            [ "$source" = ./mixedlu.c ] && extra=(-fno-math-errno)
            run cc $CPPFLAGS $CFLAGS "${extra[@]}" -fopenmp \
                "-DPACKAGE_STRING=\"nec2c $version with LAPACK (OpenBLAS)\"" -c "$source" -o "${source%.c}.o" &
            pids+=($!)
        done
        for pid in "${pids[@]}"; do wait "$pid" || exit 1; done
        run cc -fopenmp -o nec2c-lapack ./*.o $LDFLAGS -L"$blas_dir" -Wl,-rpath,"$blas_dir" -lopenblas -lm
    ) || cannot_build "compiling nec2c $version with the patch failed"
}

# A short dipole run: the engine starts, finds OpenBLAS and writes a report.
smoke_test() {
    local build=$work/build
    printf '%s\n' "CM smoke test" "CE" "GW 1 11 0 0 -0.25 0 0 0.25 0.001" "GE 0" \
        "EX 0 1 6 0 1 0" "FR 0 1 0 0 299.8 0" "XQ" "EN" >"$build/smoke.nec"
    (cd "$build" && run env OPENBLAS_NUM_THREADS=1 ./nec2c-lapack -i smoke.nec -o smoke.out) &&
        grep -q "ANTENNA INPUT PARAMETERS" "$build/smoke.out" ||
        cannot_build "the built engine does not run (see the smoke test in $build)"
}

fetch_source
compile_engine
smoke_test
install -m 755 -- "$work/build/nec2c-lapack" "$output.new" && mv -f -- "$output.new" "$output" ||
    cannot_build "cannot write $output"
echo "Built the lapack engine $output (nec2c $(cat "$work/source.version") with LAPACK from $blas_dir)"
