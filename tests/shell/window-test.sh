#!/usr/bin/env bash
# The real binary's window: no display gives one line and status 1; under X it opens at
# 640 x 480, centred, titled "larkspire-downloader" (command-line arguments change nothing), a
# second copy runs beside it, Browse opens the folder chooser, and a window manager's close
# request ends it with status 0.
# Usage: window-test.sh LARKSPIRE_DOWNLOADER X11_CLOSE_WINDOW
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

expect_no_display()
{
    local label="$1" status=0
    shift
    "$@" >"$work/out" 2>"$work/err" </dev/null || status=$?
    [ "$status" -eq 1 ] || fail "$label: exit status $status, expected 1"
    [ ! -s "$work/out" ] || fail "$label: printed on standard output"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$label: expected one line, got: $(cat "$work/err")"
    grep -q "display" "$work/err" || fail "$label: the line does not mention the display"
    echo "ok: $label: $(cat "$work/err")"
}

expect_no_display "DISPLAY unset" env -u DISPLAY "$app"
expect_no_display "DISPLAY empty" env DISPLAY= "$app"
expect_no_display "unreachable display" env DISPLAY=127.0.0.1:57 "$app" --ignored-argument

start_app --help -psn_0_1 "some file"
wait_for_window
firstId="$windowId"
firstPid="$appPid"
[ "$X" = 320 ] && [ "$Y" = 160 ] || fail "window at ($X, $Y), expected centred at (320, 160)"
echo "ok: window $firstId is 640x480 at ($X, $Y) titled larkspire-downloader"

# A second copy starts as if it were alone, and closes on its own.
start_app
wait_for_window "$firstId"
close_window "$windowId" "$appPid" 15
kill -0 "$firstPid" 2>/dev/null || fail "closing the second copy ended the first"
echo "ok: a second copy ran beside the first and closed with status 0"

# Browse (72 wide at the right of the 32-high folder field at y 184) opens the folder chooser.
chooser() { chooserId="$(xdotool search --onlyvisible --name '^Choose save location$' 2>/dev/null | head -n 1)"; [ -n "$chooserId" ]; }
send_until 15 chooser xdotool mousemove --window "$firstId" $((24 + 592 - 36)) $((44 + 184 + 16)) click 1 ||
    fail "Browse opened no window titled \"Choose save location\""
echo "ok: Browse opened \"Choose save location\""
# JUCE's own chooser ignores close requests; its Cancel button answers Escape.
xdotool mousemove --window "$chooserId" 10 10
chooser_closed() { ! chooser; }
send_until 10 chooser_closed xdotool key Escape || fail "the folder chooser did not close"
kill -0 "$firstPid" 2>/dev/null || fail "closing the folder chooser ended the program"

close_window "$firstId" "$firstPid" 15
echo "ok: close request ended the program with status 0"
