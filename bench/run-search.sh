#!/usr/bin/env bash
# Walk and content-search benchmarks: xingzhou-find against GNU find, bfs, fd, grep and the
# floor program (one thread, getdents64, d_type, no stat), all measured in this one run.
# Usage: bench/run-search.sh [SCENARIO...]   (default all: walk-usr walk-tree content-tree
#        content-include content-lib; env: RUNS=3, TREE=bench/out/tree, USR_DIR=/usr, BUILD_DIR=build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
RUNS=${RUNS:-3}
TREE=${TREE:-bench/out/tree}
USR_DIR=${USR_DIR:-/usr}
CONTENT_USR=${CONTENT_USR:-$USR_DIR/include}
# Large files (shared libraries): the scan's throughput rather than the per-file cost.
CONTENT_LIB=${CONTENT_LIB:-$(ls -d "$USR_DIR"/lib/*-linux-gnu 2>/dev/null | head -1)}
SCENARIOS=("$@")
[ ${#SCENARIOS[@]} -gt 0 ] || SCENARIOS=(walk-usr walk-tree content-tree content-include content-lib)

# Peers from Debian's packages.
missing=()
command -v bfs >/dev/null || missing+=(bfs)
command -v fdfind >/dev/null || missing+=(fd-find)
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

bash scripts/build.sh >/dev/null
XF=$BUILD_DIR/xingzhou-find
FLOOR=$BUILD_DIR/walkfloor
[ -d "$TREE" ] || python3 bench/maketree.py "$TREE"

# "wall cpu": the best wall time and the best CPU time (user + system) in seconds of RUNS runs,
# after one warm-up run (page cache warm). CPU time is the steadier figure on a busy machine;
# for a multi-threaded peer (fd) the wall time is the one that counts.
best() {
    local best_wall="" best_cpu="" timing
    timing=$(mktemp)
    "$@" >/dev/null 2>&1 || true
    for _ in $(seq "$RUNS"); do
        /usr/bin/time -f "%e %U %S" -o "$timing" "$@" >/dev/null 2>&1 || true
        read -r wall user sys < <(tail -1 "$timing")
        cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
        if [ -z "$best_wall" ] || awk -v a="$wall" -v b="$best_wall" 'BEGIN { exit !(a < b) }'; then best_wall=$wall; fi
        if [ -z "$best_cpu" ] || awk -v a="$cpu" -v b="$best_cpu" 'BEGIN { exit !(a < b) }'; then best_cpu=$cpu; fi
    done
    rm -f "$timing"
    echo "$best_wall $best_cpu"
}

hits() { "$@" 2>/dev/null | wc -l; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

# row NAME "wall cpu" "base wall cpu" HITS: one line with both ratios against the base.
row() {
    local name=$1 hits=$4 wall cpu base_wall base_cpu
    read -r wall cpu <<<"$2"
    read -r base_wall base_cpu <<<"$3"
    printf "  %-16s wall %6ss (x%s)  cpu %6ss (x%s)  hits %s\n" "$name" "$wall" \
        "$(ratio "$wall" "$base_wall")" "$cpu" "$(ratio "$cpu" "$base_cpu")" "$hits"
}

# Options that make xingzhou-find list and enter what the peers do: hidden entries, folders
# and special files are not excluded.
ALL=(--hidden ignore --directory ignore --system ignore)

walks() {
    local dir=$1 floor ours find bfs fd
    echo "== name-only walk of $dir (mask *.h, case ignored); ratios against the floor"
    floor=$(best "$FLOOR" "$dir")
    ours=$(best "$XF" --name '*.h' "${ALL[@]}" --location "$dir")
    find=$(best find "$dir" -iname '*.h')
    bfs=$(best bfs "$dir" -iname '*.h')
    fd=$(best fdfind -u -g -i '*.h' "$dir")
    row floor "$floor" "$floor" -
    row xingzhou-find "$ours" "$floor" "$(hits "$XF" --name '*.h' "${ALL[@]}" --location "$dir")"
    row find "$find" "$floor" "$(hits find "$dir" -iname '*.h')"
    row bfs "$bfs" "$floor" "$(hits bfs "$dir" -iname '*.h')"
    row fd "$fd" "$floor" "$(hits fdfind -u -g -i '*.h' "$dir")"
    row "xingzhou/bfs" "$ours" "$bfs" -

    echo "== walk with a size bound on $dir (*.h of more than 1024 bytes); ratios against the floor"
    ours=$(best "$XF" --name '*.h' "${ALL[@]}" --min-size 1025 --location "$dir")
    find=$(best find "$dir" -iname '*.h' -size +1024c)
    bfs=$(best bfs "$dir" -iname '*.h' -size +1024c)
    fd=$(best fdfind -u -g -i '*.h' --size +1025b "$dir")
    row xingzhou-find "$ours" "$floor" "$(hits "$XF" --name '*.h' "${ALL[@]}" --min-size 1025 --location "$dir")"
    row find "$find" "$floor" "$(hits find "$dir" -iname '*.h' -size +1024c)"
    row bfs "$bfs" "$floor" "$(hits bfs "$dir" -iname '*.h' -size +1024c)"
    row fd "$fd" "$floor" "$(hits fdfind -u -g -i '*.h' --size +1025b "$dir")"
    row "xingzhou/bfs" "$ours" "$bfs" -
}

content() {
    local dir=$1 phrase=$2 bytes
    bytes=$(du -sb "$dir" | cut -f1)
    for mode in sensitive insensitive; do
        local ours grep extra=() grepflags=-rlF
        if [ "$mode" = sensitive ]; then extra=(--case-sensitive); else grepflags=-rliF; fi
        echo "== content search of $dir for '$phrase', case-$mode ($((bytes / 1000000)) MB); ratios against grep"
        ours=$(best "$XF" --hidden ignore --system ignore --phrase "$phrase" "${extra[@]}" --location "$dir")
        grep=$(best grep "$grepflags" "$phrase" "$dir")
        row "grep $grepflags" "$grep" "$grep" "$(hits grep "$grepflags" "$phrase" "$dir")"
        row xingzhou-find "$ours" "$grep" \
            "$(hits "$XF" --hidden ignore --system ignore --phrase "$phrase" "${extra[@]}" --location "$dir")"
        echo "  xingzhou-find reads $(awk -v b="$bytes" -v w="${ours%% *}" 'BEGIN { printf "%.0f", b / w / 1e6 }') MB/s (wall)"
    done
}

echo "Runs: best of $RUNS after a warm-up; $(nproc) cores"
for scenario in "${SCENARIOS[@]}"; do
    case $scenario in
    walk-usr) walks "$USR_DIR" ;;
    walk-tree) walks "$TREE" ;;
    content-tree) content "$TREE" quasarneedle ;;
    content-include) content "$CONTENT_USR" pthread_mutex_lock ;;
    content-lib) [ -n "$CONTENT_LIB" ] && content "$CONTENT_LIB" quasarneedle ;;
    *) echo "unknown scenario $scenario" >&2; exit 2 ;;
    esac
done
