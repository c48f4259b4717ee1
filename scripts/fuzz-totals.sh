#!/usr/bin/env bash
# Sums the lifetime record fuzz/executions.tsv: executions and seconds per
# target, those under AddressSanitizer, findings, and whether the target has
# reached the 10 million executions every fuzz target should run over its life,
# 2 million of them under AddressSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
printf '%-14s %13s %13s %8s  %s\n' target executions "under ASan" seconds ""
awk -F'\t' 'NR > 1 {
        runs[$2] += $5; secs[$2] += $4
        if ($3 ~ /asan/) asan[$2] += $5
        if ($6 != "clean") found[$2]++
    }
    END {
        for (t in runs)
            printf "%-14s %13d %13d %8d  %s%s%s\n", t, runs[t], asan[t], secs[t],
                   (runs[t] >= 10000000 ? "" : "below 10 million "), (asan[t] >= 2000000 ? "" : "below 2 million under ASan"),
                   (found[t] ? " findings: " found[t] : "")
    }' fuzz/executions.tsv | sort
