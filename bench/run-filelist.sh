#!/usr/bin/env bash
# Lists folders of 10,000, 100,000 and 1,000,000 entries with our file list, with
# QFileSystemModel + QTreeView and with a floor program; prints times, memory and ratios.
# Each mode runs RUNS times (QFSM_RUNS for QFileSystemModel, slow at a million); the run with
# the median complete time is shown, the longest block is the worst of all runs.
# Usage: bench/run-filelist.sh [sizes...]   (env BENCH_DIR: where the folders are made,
#        RUNS=3, QFSM_RUNS=1, XZ_BENCH_VIEW=4: the view code of our list)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
BENCH_DIR=${BENCH_DIR:-/tmp/xz-filelist-bench}
SIZES=("$@")
[ ${#SIZES[@]} -eq 0 ] && SIZES=(10000 100000 1000000)
export QT_QPA_PLATFORM=offscreen
# Configure when needed, then build just the benchmark.
[ -f "$BUILD_DIR/build.ninja" ] || cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
cmake --build "$BUILD_DIR" --target filelistbench >/dev/null
BENCH="$BUILD_DIR/filelistbench"
mkdir -p "$BENCH_DIR"

field() { sed -n "s/.* $1=\([0-9.]*\).*/\1/p" <<<"$2"; }

printf '%-9s %-6s %10s %12s %10s %12s %10s\n' entries list first_ms complete_ms peak_MiB bytes/item max_block
for n in "${SIZES[@]}"; do
    dir="$BENCH_DIR/f$n"
    "$BENCH" make "$dir" "$n"
    "$BENCH" floor "$dir" >/dev/null # warm the cache
    declare -A complete=()
    for mode in floor ours qfsm; do
        runs=${RUNS:-3}
        [ "$mode" = qfsm ] && runs=${QFSM_RUNS:-1}
        lines=()
        worst=0
        for ((r = 0; r < runs; r++)); do
            l=$("$BENCH" "$mode" "$dir" 2>/dev/null)
            lines+=("$(field complete_ms "$l") $l")
            worst=$(awk -v a="$worst" -v b="$(field max_block_ms "$l")" 'BEGIN{print (b > a) ? b : a}')
        done
        line=$(printf '%s\n' "${lines[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p" | cut -d' ' -f2-)
        first=$(field first_ms "$line"); total=$(field complete_ms "$line")
        peak=$(field peak_kb "$line"); base=$(field base_kb "$line"); block=$worst
        per=$(awk -v p="$peak" -v b="$base" -v n="$n" 'BEGIN{printf "%.0f", (p-b)*1024/n}')
        printf '%-9s %-6s %10s %12s %10.1f %12s %10s\n' "$n" "$mode" "$first" "$total" \
            "$(awk -v p="$peak" 'BEGIN{print p/1024}')" "$per" "$block"
        complete[$mode]=$total
        [ "$mode" = ours ] && leave=$(field leave_block_ms "$line")
    done
    awk -v o="${complete[ours]}" -v q="${complete[qfsm]}" -v f="${complete[floor]}" -v n="$n" \
        'BEGIN{printf "%-9s ratios to floor (complete sorted listing): ours %.2fx, QFileSystemModel %.2fx\n", n, o/f, q/f}'
    echo "$n ours: longest block when leaving the folder for a small one: $leave ms"
done
