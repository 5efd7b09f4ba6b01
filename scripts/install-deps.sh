#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
set -euo pipefail
packages=(
    build-essential cmake pkg-config git
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
    libsqlcipher-dev libgsf-1-dev libfreexl-dev python3-xlrd
    libxlsxwriter-dev libzip-dev libxml2-dev
    fonts-noto-cjk qt6-translations-l10n python3-fonttools
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    poppler-utils xvfb xauth
    postgresql libpq-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
