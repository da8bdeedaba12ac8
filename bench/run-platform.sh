#!/usr/bin/env bash
# Lists folders of 10,000, 100,000 and 1,000,000 entries with the shell layer's threaded
# enumeration (batches, then the complete sorted listing) and with a floor program
# (readdir + fstatat + sort); prints times, peak memory per item and the ratio.
# Usage: bench/run-platform.sh [sizes...]   (env BENCH_DIR: where the folders are made)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
BENCH_DIR=${BENCH_DIR:-/tmp/xz-shell-bench}
SIZES=("$@")
[ ${#SIZES[@]} -eq 0 ] && SIZES=(10000 100000 1000000)
# Configure when needed, then build just the benchmark.
[ -f "$BUILD_DIR/build.ninja" ] || cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
cmake --build "$BUILD_DIR" --target platformbench >/dev/null
BENCH="$BUILD_DIR/platformbench"
mkdir -p "$BENCH_DIR"

field() { sed -n "s/.* $1=\([0-9.]*\).*/\1/p" <<<"$2"; }

printf '%-9s %-6s %10s %12s %10s %12s\n' entries mode first_ms complete_ms peak_MiB bytes/item
for n in "${SIZES[@]}"; do
    dir="$BENCH_DIR/f$n"
    "$BENCH" make "$dir" "$n"
    "$BENCH" floor "$dir" >/dev/null # warm the cache
    declare -A best=()
    # Best of three runs each, interleaved, so load from other processes evens out.
    for round in 1 2 3; do
        for mode in floor enum; do
            line=$("$BENCH" "$mode" "$dir")
            total=$(field complete_ms "$line")
            if [ -z "${best[$mode]:-}" ] || awk -v a="$total" -v b="${best[$mode]}" 'BEGIN{exit !(a<b)}'; then
                best[$mode]=$total
            fi
            [ "$round" -eq 3 ] || continue
            peak=$(field peak_kb "$line"); base=$(field base_kb "$line")
            per=$(awk -v p="$peak" -v b="${base:-0}" -v n="$n" 'BEGIN{printf "%.0f", (p-b)*1024/n}')
            printf '%-9s %-6s %10s %12s %10.1f %12s\n' "$n" "$mode" "$(field first_ms "$line")" \
                "${best[$mode]}" "$(awk -v p="$peak" 'BEGIN{print p/1024}')" "$per"
        done
    done
    awk -v o="${best[enum]}" -v f="${best[floor]}" -v n="$n" \
        'BEGIN{printf "%-9s complete sorted listing: enumeration %.2fx the floor\n", n, o/f}'
    unset best
done
