#!/usr/bin/env bash
# Configures and builds into build/ (extra arguments go to cmake's configure step).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja "$@" >/dev/null
# An incremental build after new Q_OBJECT headers arrived (rebase, pull) can keep a stale
# moc list and fail to link with "undefined reference to `vtable for ..."; the moc output is
# then regenerated from scratch and the build runs once more.
log=$(mktemp)
if ! cmake --build "$BUILD_DIR" -j"$(nproc)" 2>&1 | tee "$log"; then
    if grep -q "undefined reference to \`vtable for\|undefined reference to .*::staticMetaObject" "$log"; then
        echo "build.sh: stale moc output, regenerating it" >&2
        find "$BUILD_DIR" -type d -name '*_autogen' -prune -exec rm -rf {} +
        rm -f "$log"
        cmake --build "$BUILD_DIR" -j"$(nproc)"
        exit $?
    fi
    rm -f "$log"
    exit 1
fi
rm -f "$log"
