#!/usr/bin/env bash
# Runs every benchmark script bench/run-*.sh in turn; each prints its ratios against its peers.
set -uo pipefail
cd "$(dirname "$0")"
status=0
for script in run-*.sh; do
    echo "### $script"
    bash "$script" || status=1
done
exit $status
