#!/usr/bin/env bash
# The whole road with the real binary: Next clicked as a user would against a local update
# server, the installer identical to the served bytes, and the window closed with status 0.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

start_devserver --file-size 3M --file-rate 2M
start_app
wait_for_window "$appPid"
press_next_until_download "$appPid"

installer="$downloads/$installerName"
wait_until 60 test -f "$installer" || fail "no installer at $installer"
curl -s -o "$work/served.bin" "$base/files/$installerName"
cmp "$installer" "$work/served.bin" || fail "the installer differs from the served file"

close_window "$appPid" 15
