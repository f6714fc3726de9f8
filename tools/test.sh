#!/usr/bin/env bash
# Installs what is missing, builds, checks the formatting and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
bash tools/build.sh

bash tools/check-format.sh

buildDir="${LARKSPIRE_BUILD_DIR:-build}"
bash tools/with-xvfb.sh ctest --test-dir "$buildDir" --output-on-failure --timeout 300 \
    --parallel "$(nproc)"
