#!/usr/bin/env bash
# Installs what is missing, builds and starts the wizard against a local update server
# (larkspire-devserver on 127.0.0.1, an ephemeral port, a generated 48 MiB installer sent at
# about 8 MiB/s so the progress is visible). The server stops when the wizard ends.
# With LARKSPIRE_UPDATE_SERVER already set, that server is used and none is started.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
bash tools/build.sh

buildDir="${LARKSPIRE_BUILD_DIR:-build}"

if [ -n "${LARKSPIRE_UPDATE_SERVER:-}" ]; then
    exec "$buildDir/larkspire-downloader"
fi

serverOutput="$(mktemp)"
"$buildDir/tools/larkspire-devserver" --file-size 48M --file-rate 8M >"$serverOutput" &
serverPid=$!

stopServer() {
    kill "$serverPid" 2>/dev/null || true
    wait "$serverPid" 2>/dev/null || true
    sed -n 's/^served /update server: served /p' "$serverOutput" >&2
    rm -f "$serverOutput"
}
trap stopServer EXIT

address=""
for _ in $(seq 100); do
    address="$(sed -n '1s/^listening on //p' "$serverOutput")"
    [ -n "$address" ] && break
    kill -0 "$serverPid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$address" ]; then
    echo "The local update server did not start." >&2
    exit 1
fi

echo "Local update server: $address" >&2
LARKSPIRE_UPDATE_SERVER="$address" "$buildDir/larkspire-downloader"
