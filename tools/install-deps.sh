#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the wizard and the tests need; only what is missing.
set -euo pipefail

packages=(
    # toolchain
    build-essential cmake ninja-build ccache pkg-config clang-format git patch
    # libraries
    juce-modules-source-data libfmt-dev libboost-dev libgtest-dev libbenchmark-dev
    libcpp-httplib-dev libcurl4-openssl-dev libicu-dev libfreetype-dev libpng-dev libjpeg-dev
    zlib1g-dev libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev libxrender-dev
    libxcomposite-dev
    # an https server for the tests
    openssl
    # the embedded font and its archive
    fonts-noto-cjk python3 python3-fonttools p7zip-full advancecomp
    # a display for window tests and the tools that drive it
    xvfb xauth x11-utils xdotool
    # benchmarks
    nginx-light curl procps time
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
