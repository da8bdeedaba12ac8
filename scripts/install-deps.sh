#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test the file manager.
set -euo pipefail
PACKAGES=(
    build-essential cmake ninja-build ccache pkg-config git
    qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-translations-l10n qt6-qpa-plugins
    libgl-dev libglib2.0-dev libgtest-dev googletest
    fonts-wqy-microhei adwaita-icon-theme shared-mime-info
    xvfb xauth findutils
)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
