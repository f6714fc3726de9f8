#!/usr/bin/env bash
# Installs what is missing, builds and starts the wizard.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
bash tools/build.sh

buildDir="${LARKSPIRE_BUILD_DIR:-build}"
exec "$buildDir/larkspire-downloader"
