#!/usr/bin/env bash
# The whole road with the real binary: a local update server, the wizard pointed at it with a
# private home folder, Next clicked as a user would, the installer compared with the served
# bytes, a screenshot of the Finished page, and the window closed (exit status 0).
# Usage: end-to-end-test.sh LARKSPIRE_DOWNLOADER LARKSPIRE_DEVSERVER X11_CLOSE_WINDOW OUTPUT_DIR
set -euo pipefail

app="$1"
devserver="$2"
closer="$3"
outputDir="$4"
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

"$devserver" --file-size 3M --file-rate 2M >"$work/devserver.out" 2>&1 </dev/null &
serverPid=$!
wait_until 10 grep -q '^listening on ' "$work/devserver.out" || fail "devserver did not start"
base="$(sed -n 's/^listening on //p' "$work/devserver.out")"
installerName="LarkspireEditorSetup-2.3.1.bin"
echo "ok: devserver at $base"

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

# The model starts the update check at start-up; Next waits for it.
checked() { [ "$(requests /api/v1/download-links)" -ge 1 ]; }
wait_until 20 checked || fail "the update check never reached the server"

# Next sits at (532, 388) in the page, 84 x 32, below the 44-pixel header. A press that comes
# before the check's answer is handled is refused; then press again.
downloadStarted() { [ "$(requests "/files/$installerName")" -ge 1 ]; }
for attempt in 1 2 3 4 5; do
    xdotool mousemove --window "$windowId" $((532 + 84 / 2)) $((44 + 388 + 16)) click 1
    if wait_until 3 downloadStarted; then break; fi
    [ "$attempt" -lt 5 ] || fail "Next never started the download"
done
echo "ok: Next started the download"

installer="$work/home/Documents/Larkspire Downloads/$installerName"
wait_until 60 test -f "$installer" || fail "no installer at $installer"
curl -s -o "$work/served.bin" "$base/files/$installerName"
cmp "$installer" "$work/served.bin" || fail "the installer differs from the served file"
[ "$(stat -c %s "$installer")" -eq $((3 * 1024 * 1024)) ] || fail "installer has the wrong size"
echo "ok: installer matches the served bytes"

# The page moves on at its next 100 ms refresh; give it a few.
sleep 1
mkdir -p "$outputDir"
import -window root "$outputDir/end-to-end-finished.png"
echo "ok: screenshot in $outputDir/end-to-end-finished.png"

"$closer" "$windowId"
exited() { ! kill -0 "$appPid" 2>/dev/null; }
wait_until 15 exited || fail "the close request did not end the program"
status=0
wait "$appPid" || status=$?
appPid=""
[ "$status" -eq 0 ] || fail "exit status $status, expected 0"
echo "ok: closed with status 0"
