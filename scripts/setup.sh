#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Varnel needs.
# Safe to run again: it installs only what is missing, and touches no network when
# nothing is. With --check it installs nothing: it lists what is missing and fails if any is.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev
    libgl-dev libgtest-dev libgmock-dev libcli11-dev
    clang libclang-rt-14-dev
    fonts-dejavu-core qt6-translations-l10n python3 poppler-utils
    dpkg-dev file desktop-file-utils lintian appstream groff-base bash-completion
    libudev-dev ser2net
    libqt6sql6-sqlite libqt6sql6-psql postgresql
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [[ ${1:-} == --check ]]; then
    ((${#missing[@]} == 0)) || { echo "Missing packages: ${missing[*]}" >&2; exit 1; }
    exit 0
fi

if ((${#missing[@]})); then
    sudo_cmd=()
    [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
