#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, then runs the Qt-free
# layers' tests again under AddressSanitizer/UBSan and ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j2
BUILD_DIR=build-asan bash scripts/build.sh -DXZ_CORE_ONLY=ON -DXZ_SANITIZE=address,undefined
ctest --test-dir build-asan --output-on-failure -j2
BUILD_DIR=build-tsan bash scripts/build.sh -DXZ_CORE_ONLY=ON -DXZ_SANITIZE=thread
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j2
