#!/usr/bin/env bash
# Closing the window while the installer downloads quits at once, with status 0 and without a
# confirmation; the cancelled download leaves no partial file behind.
# Usage: quit-during-download-test.sh LARKSPIRE_DOWNLOADER X11_CLOSE_WINDOW LARKSPIRE_DEVSERVER
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

start_devserver --file-size 16M --file-rate 256K # about a minute
start_app
wait_for_window
press_next_until_download

partial() { find "$downloads" -name "*.part" -size +1k | grep -q .; }
wait_until 10 partial || fail "the download did not get going"
echo "ok: downloading"

close_window "$windowId" "$appPid" 5
leftovers="$(ls -A "$downloads")"
[ -z "$leftovers" ] || fail "files left behind: $leftovers"
echo "ok: closed during the download with status 0; nothing left in the download folder"
