#!/usr/bin/env bash
# Closing the window while the installer downloads quits at once with status 0, and the
# cancelled download leaves nothing behind: on a steady link, a stalled one and a trickle, where
# a read of the body blocks until the cancel interrupts it.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

for link in "--file-rate 256K" "--file-stall-after 204800" "--file-rate 4K"; do
    # shellcheck disable=SC2086
    start_devserver --file-size 16M $link
    start_app
    wait_for_window "$appPid"
    press_next_until_download "$appPid"
    partial() { find "$downloads" -name "*.part" | grep -q .; }
    wait_until 10 partial || fail "the download did not get going ($link)"

    close_window "$appPid" 5
    leftovers="$(ls -A "$downloads")"
    [ -z "$leftovers" ] || fail "files left behind ($link): $leftovers"
done

# Closing the window while the update check waits between retries after a 404, or for an answer
# that never comes: the quit waits for the check's thread, which the cancel ends within about a
# second, and still ends promptly with status 0.
for check in "--version-status 404" "--version-hang"; do
    # shellcheck disable=SC2086
    start_devserver $check
    start_app
    wait_for_window "$appPid"
    asked() { [ "$(requests /api/v1/version-info)" -ge 1 ]; }
    wait_until 20 asked || fail "the update check never reached the server ($check)"
    close_window "$appPid" 5
done
