#!/usr/bin/env bash
# Front-end cost of a calculation: `wavra --batch --calc sweep` (20 frequency
# steps, a Yagi of about 300 segments) against nec2c run by hand on the same
# adapted deck, in turn, several times. Prints both medians and their ratio.
# Usage: bench/calc_overhead.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-_build}
runs=${2:-5}
stage=$(cd "$build/stage" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out" "$work/models"
cp -a "$stage/exe" "$work/exe"
cat > "$work/models/yagi300.nec" <<'DECK'
CM Three-element Yagi, 101 segments per element
CE
SY f=14.15, lam=299.8/f, r=12.5mm
SY drv=0.473 lam, ref=1.05*drv, dir=0.95*drv, sp1=0.2*lam, sp2=0.15*lam
GW 1 101 -sp1 -ref/2 0 -sp1 ref/2 0 r
GW 2 101 0 -drv/2 0 0 drv/2 0 r
GW 3 101 sp2 -dir/2 0 sp2 dir/2 0 r
GE 0
EX 0 2 51 0 1 0
FR 0 1 0 0 f 0
RP 0 1 1 1000 90 0 0 0
EN
DECK

seconds() { date +%s.%N; }
median() { sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

cd "$work"
front=() ; engine=()
for ((i = 0; i < runs; i++)); do
    t0=$(seconds)
    exe/wavra --batch --calc sweep --freq 13.7,14.65,0.05 --sub none models/yagi300.nec >/dev/null 2>&1
    t1=$(seconds)
    nec2c -i out/yagi300.inp -o out/byhand.out >/dev/null 2>&1
    t2=$(seconds)
    front+=("$(echo "$t1 - $t0" | bc -l)")
    engine+=("$(echo "$t2 - $t1" | bc -l)")
done
steps=$(grep -c "FREQUENCY :" out/byhand.out || true)
segs=$(grep -m1 -o "TOTAL SEGMENTS USED: *[0-9]*" out/byhand.out || true)
w=$(printf '%s\n' "${front[@]}" | median)
e=$(printf '%s\n' "${engine[@]}" | median)
echo "model: $segs, frequency steps in the report: $steps"
printf 'wavra --batch --calc sweep: %.3f s (median of %d)\n' "$w" "$runs"
printf 'nec2c by hand:              %.3f s\n' "$e"
printf 'ratio:                      %.3f\n' "$(echo "$w / $e" | bc -l)"
