#!/usr/bin/env bash
# The hand-off to an installed editor with the real binary, on a display of its own (run it
# through tools/with-xvfb.sh): exit code 42 ends the program with status 0 before any window or
# request to the update server; another code leaves the wizard to run.
# Usage: editor-hand-off-test.sh LARKSPIRE_DOWNLOADER LARKSPIRE_DEVSERVER
# shellcheck source=../shell/common.sh
source "$(dirname "$0")/../shell/common.sh" "$1" "" "$2"

start_devserver
stats() { curl -fs "$base/stats" | grep -q "$1"; }

# xev logs every window mapped on the display. Once it reports a root property set after some
# moment, it has listened since then and has reported everything before it, events being in order.
stdbuf -oL xev -root -event substructure -event property >"$work/xev.log" 2>&1 </dev/null &
pids+=($!)
sync_xev() # MARKER
{
    for _ in $(seq 15); do
        xprop -root -f "LARKSPIRE_$1" 8s -set "LARKSPIRE_$1" 1
        wait_until 2 grep -q "(LARKSPIRE_$1)" "$work/xev.log" && return 0
    done
    fail "xev did not report LARKSPIRE_$1"
}

contents="$work/applications/larkspire.app/Contents"
mkdir -p "$contents/MacOS"
echo '<plist><dict><key>CFBundleVersion</key><string>3.0.1</string></dict></plist>' \
    >"$contents/Info.plist"
editor() # COMMANDS: an editor that records its arguments, one a line, then runs COMMANDS
{
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/arguments"\n%s\n' "$work" "$1" \
        >"$contents/MacOS/larkspire"
    chmod +x "$contents/MacOS/larkspire"
}
sync_xev start
editor 'sleep 1; exit 42' # long enough for a request sent meanwhile to arrive
start_app
ended() { ! kill -0 "$appPid" 2>/dev/null; }
wait_until 60 ended || fail "the program did not end after the editor took over"
status=0
wait "$appPid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after the editor took over, expected 0"
printf -- '--from-downloader\n--check-update-and-install-product\n' | cmp - "$work/arguments" ||
    fail "the editor got other arguments: $(cat "$work/arguments")"
sync_xev took_over
! grep -q '^MapNotify' "$work/xev.log" || fail "a window was mapped: $(cat "$work/xev.log")"
stats '"requests":{}' || fail "the update server was asked: $(curl -s "$base/stats")"
echo "ok: exit code 42 ends the program without a window or a request"

rm "$work/arguments"
editor 'exit 0'
start_app
wait_until 30 grep -q '^MapNotify' "$work/xev.log" || fail "no window after the editor declined"
wait_until 30 stats '"/api/v1/version-info"' || fail "no update check after the editor declined"
[ -f "$work/arguments" ] || fail "the editor was not started"
kill -0 "$appPid" || fail "the wizard ended on its own: $(cat "$work/app.out")"
echo "ok: another exit code leaves the wizard to run"
