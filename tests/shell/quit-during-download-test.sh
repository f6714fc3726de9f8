#!/usr/bin/env bash
# Closing the window while the installer downloads quits at once, with status 0 and without a
# confirmation; the cancelled download leaves no partial file behind.
# Usage: quit-during-download-test.sh LARKSPIRE_DOWNLOADER LARKSPIRE_DEVSERVER X11_CLOSE_WINDOW
set -euo pipefail

app="$1"
devserver="$2"
closer="$3"
work="$(mktemp -d)"
appPid=""
serverPid=""

cleanup()
{
    if [ -n "$appPid" ]; then kill "$appPid" 2>/dev/null || true; fi
    if [ -n "$serverPid" ]; then kill "$serverPid" 2>/dev/null || true; wait "$serverPid" 2>/dev/null || true; fi
    stop_private_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=xvfb-private.sh
source "$(dirname "$0")/xvfb-private.sh"

fail() { echo "FAIL: $*" >&2; exit 1; }

start_private_xvfb "$work"

# A download that takes about a minute.
"$devserver" --file-size 16M --file-rate 256K >"$work/devserver.out" 2>&1 </dev/null &
serverPid=$!
wait_until 10 grep -q '^listening on ' "$work/devserver.out" || fail "devserver did not start"
base="$(sed -n 's/^listening on //p' "$work/devserver.out")"
installerName="LarkspireEditorSetup-2.3.1.bin"

requests()
{
    curl -s "$base/stats" | python3 -c \
        'import json, sys; print(json.load(sys.stdin)["requests"].get(sys.argv[1], 0))' "$1"
}

mkdir -p "$work/home/Documents" "$work/applications"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" LC_ALL=C \
    LARKSPIRE_APPLICATIONS_DIR="$work/applications" LARKSPIRE_UPDATE_SERVER="$base" \
    "$app" >"$work/app.out" 2>&1 </dev/null &
appPid=$!

wait_for_window larkspire-downloader 30 || fail "no 640x480 window titled larkspire-downloader appeared"
checked() { [ "$(requests /api/v1/download-links)" -ge 1 ]; }
wait_until 20 checked || fail "the update check never reached the server"

downloadStarted() { [ "$(requests "/files/$installerName")" -ge 1 ]; }
for attempt in 1 2 3 4 5; do
    xdotool mousemove --window "$windowId" $((532 + 84 / 2)) $((44 + 388 + 16)) click 1
    if wait_until 3 downloadStarted; then break; fi
    [ "$attempt" -lt 5 ] || fail "Next never started the download"
done

# Some bytes are in: the download is under way.
partial() { find "$work/home/Documents/Larkspire Downloads" -name "*.part" -size +1k | grep -q .; }
wait_until 10 partial || fail "the download did not get going"
echo "ok: downloading"

"$closer" "$windowId"
exited() { ! kill -0 "$appPid" 2>/dev/null; }
wait_until 5 exited || fail "closing during the download did not end the program promptly"
status=0
wait "$appPid" || status=$?
appPid=""
[ "$status" -eq 0 ] || fail "exit status $status, expected 0"
leftovers="$(ls -A "$work/home/Documents/Larkspire Downloads")"
[ -z "$leftovers" ] || fail "files left behind: $leftovers"
echo "ok: closed during the download with status 0; nothing left in the download folder"
