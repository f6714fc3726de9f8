#!/usr/bin/env bash
# The real binary's window: no display gives one line and status 1; under X it opens at
# 640 x 480, centred, titled "larkspire-downloader" (command-line arguments change nothing),
# Browse opens the folder chooser, and a window manager's close request ends it with status 0.
# Usage: window-test.sh LARKSPIRE_DOWNLOADER X11_CLOSE_WINDOW
set -euo pipefail

app="$1"
closer="$2"
work="$(mktemp -d)"
appPid=""

cleanup()
{
    if [ -n "$appPid" ]; then kill "$appPid" 2>/dev/null || true; fi
    stop_private_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=xvfb-private.sh
source "$(dirname "$0")/xvfb-private.sh"

fail() { echo "FAIL: $*" >&2; exit 1; }

expect_no_display()
{
    local label="$1"
    shift
    local status=0
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

start_private_xvfb "$work"
mkdir -p "$work/home/Documents" "$work/applications"

HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" LC_ALL=C \
    LARKSPIRE_APPLICATIONS_DIR="$work/applications" \
    LARKSPIRE_UPDATE_SERVER="http://127.0.0.1:9" \
    "$app" --help -psn_0_1 "some file" >"$work/app.out" 2>&1 </dev/null &
appPid=$!

wait_for_window larkspire-downloader 30 || fail "no 640x480 window titled larkspire-downloader appeared"
[ "$X" = 320 ] && [ "$Y" = 160 ] || fail "window at ($X, $Y), expected centred at (320, 160)"
[ "$(xdotool getwindowname "$windowId")" = "larkspire-downloader" ] || fail "wrong title"
echo "ok: window $windowId is 640x480 at ($X, $Y) titled larkspire-downloader"

# A second copy starts as if it were alone, and closes on its own.
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" LC_ALL=C \
    LARKSPIRE_APPLICATIONS_DIR="$work/applications" \
    LARKSPIRE_UPDATE_SERVER="http://127.0.0.1:9" \
    "$app" >"$work/second.out" 2>&1 </dev/null &
secondPid=$!
second_window()
{
    local candidate geometry
    for candidate in $(xdotool search --onlyvisible --name '^larkspire-downloader$' 2>/dev/null); do
        [ "$candidate" != "$windowId" ] || continue
        geometry="$(xdotool getwindowgeometry --shell "$candidate" 2>/dev/null)" || continue
        if (eval "$geometry"; [ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ]); then
            secondId="$candidate"
            return 0
        fi
    done
    return 1
}
wait_until 30 second_window || fail "the second copy showed no window of its own"
"$closer" "$secondId"
secondStatus=0
second_exited() { ! kill -0 "$secondPid" 2>/dev/null; }
wait_until 15 second_exited || fail "the second copy did not close"
wait "$secondPid" || secondStatus=$?
[ "$secondStatus" -eq 0 ] || fail "the second copy ended with status $secondStatus"
kill -0 "$appPid" 2>/dev/null || fail "closing the second copy ended the first"
echo "ok: a second copy ran beside the first and closed with status 0"

# Browse (72 wide at the right of the 32-high folder field at y 184) opens the folder chooser.
xdotool mousemove --window "$windowId" $((24 + 592 - 36)) $((44 + 184 + 16)) click 1
find_chooser() { chooserId="$(xdotool search --onlyvisible --name '^Choose save location$' 2>/dev/null | head -n 1)"; [ -n "$chooserId" ]; }
wait_until 15 find_chooser || fail "Browse opened no window titled \"Choose save location\""
echo "ok: Browse opened \"Choose save location\""
# JUCE's own chooser ignores close requests; its Cancel button answers Escape.
xdotool mousemove --window "$chooserId" 10 10
xdotool key Escape
chooser_closed() { ! find_chooser; }
wait_until 10 chooser_closed || fail "the folder chooser did not close"
kill -0 "$appPid" 2>/dev/null || fail "closing the folder chooser ended the program"

"$closer" "$windowId"
exited() { ! kill -0 "$appPid" 2>/dev/null; }
wait_until 15 exited || fail "the close request did not end the program"
status=0
wait "$appPid" || status=$?
appPid=""
[ "$status" -eq 0 ] || fail "exit status $status after the close request, expected 0"
echo "ok: close request ended the program with status 0"
