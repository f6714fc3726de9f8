#!/usr/bin/env bash
# The whole road with the real binary: a local update server, the wizard pointed at it with a
# private home folder, Next clicked as a user would, the installer compared with the served
# bytes, a screenshot of the Finished page, and the window closed (exit status 0).
# Usage: end-to-end-test.sh LARKSPIRE_DOWNLOADER X11_CLOSE_WINDOW LARKSPIRE_DEVSERVER OUTPUT_DIR
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

start_devserver --file-size 3M --file-rate 2M
start_app
wait_for_window
press_next_until_download
echo "ok: Next started the download"

installer="$downloads/$installerName"
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

close_window "$windowId" "$appPid" 15
echo "ok: closed with status 0"
