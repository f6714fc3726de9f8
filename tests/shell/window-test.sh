#!/usr/bin/env bash
# The real binary's window: without a display one line and status 1; under X a 640x480 window,
# centred, titled "larkspire-downloader" whatever the arguments, a second copy beside it, and a
# close request ending it with status 0.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

for display in "" 127.0.0.1:57; do
    status=0
    DISPLAY="$display" "$app" --ignored >"$work/out" 2>"$work/err" </dev/null || status=$?
    [ "$status" -eq 1 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] &&
        grep -q display "$work/err" ||
        fail "DISPLAY=\"$display\": status $status, printed: $(cat "$work/out" "$work/err")"
done

start_app --help -psn_0_1 "some file"
first="$appPid"
wait_for_window "$first"
# Looked up again: JUCE may replace its first X window, briefly elsewhere.
centred() { found_window "$first" && [ "$X" = 320 ] && [ "$Y" = 160 ]; }
wait_until 10 centred || fail "window at ($X, $Y), expected centred at (320, 160)"

start_app # a second copy runs as if alone
wait_for_window "$appPid"
close_window "$appPid" 15
kill -0 "$first" 2>/dev/null || fail "closing the second copy ended the first"
close_window "$first" 15
