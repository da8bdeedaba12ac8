#!/usr/bin/env bash
# Installs what is missing, builds and starts the file manager.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "星舟文件工坊 needs a graphical display, and none is set (DISPLAY/WAYLAND_DISPLAY are empty)." >&2
    echo "Run it inside a desktop session, or under a virtual X server:" >&2
    echo "    xvfb-run -a -s '-screen 0 1600x1000x24' ./build/xingzhou" >&2
    exit 2
fi
exec ./build/xingzhou "$@"
