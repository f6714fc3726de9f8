#!/usr/bin/env bash
# Configures and builds everything into build/ (or $LARKSPIRE_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."

buildDir="${LARKSPIRE_BUILD_DIR:-build}"
cmake -S . -B "$buildDir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLARKSPIRE_WERROR=ON "$@" >/dev/null
cmake --build "$buildDir" --parallel "$(nproc)"
