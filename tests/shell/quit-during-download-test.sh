#!/usr/bin/env bash
# Closing the window while the installer downloads quits at once with status 0, and the
# cancelled download leaves nothing behind.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

start_devserver --file-size 16M --file-rate 256K # about a minute
start_app
wait_for_window "$appPid"
press_next_until_download "$appPid"
partial() { find "$downloads" -name "*.part" -size +1k | grep -q .; }
wait_until 10 partial || fail "the download did not get going"

close_window "$appPid" 5
leftovers="$(ls -A "$downloads")"
[ -z "$leftovers" ] || fail "files left behind: $leftovers"
