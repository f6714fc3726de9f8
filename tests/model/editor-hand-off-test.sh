#!/usr/bin/env bash
# The hand-off to an installed editor with the real binary, on a display of its own (run it
# through tools/with-xvfb.sh): exit code 42 ends the program with status 0 before any window or
# request to the update server; another code leaves the wizard to run.
# Usage: editor-hand-off-test.sh LARKSPIRE_DOWNLOADER LARKSPIRE_DEVSERVER
set -euo pipefail

app="$1" devserver="$2"
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; wait || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

wait_until() # SECONDS COMMAND...
{
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

"$devserver" >"$work/devserver.out" 2>&1 </dev/null &
wait_until 10 grep -q '^listening on ' "$work/devserver.out" || fail "devserver did not start"
base="$(sed -n 's/^listening on //p' "$work/devserver.out")"
stats() { curl -fs "$base/stats" | grep -q "$1"; }

# xev logs every window mapped on the display. Once it reports a root property set after some
# moment, it has listened since then and has reported everything before it, events being in order.
stdbuf -oL xev -root -event substructure -event property >"$work/xev.log" 2>&1 </dev/null &
sync_xev() # MARKER
{
    for _ in $(seq 15); do
        xprop -root -f "LARKSPIRE_$1" 8s -set "LARKSPIRE_$1" 1
        wait_until 2 grep -q "(LARKSPIRE_$1)" "$work/xev.log" && return 0
    done
    fail "xev did not report LARKSPIRE_$1"
}

contents="$work/Applications/larkspire.app/Contents"
mkdir -p "$contents/MacOS" "$work/home"
echo '<plist><dict><key>CFBundleVersion</key><string>3.0.1</string></dict></plist>' \
    >"$contents/Info.plist"
editor() # COMMANDS: an editor that records its arguments, one a line, then runs COMMANDS
{
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/arguments"\n%s\n' "$work" "$1" \
        >"$contents/MacOS/larkspire"
    chmod +x "$contents/MacOS/larkspire"
}
run_app()
{
    HOME="$work/home" TMPDIR="$work" LC_ALL=C LARKSPIRE_APPLICATIONS_DIR="$work/Applications" \
        LARKSPIRE_UPDATE_SERVER="$base" "$@" >>"$work/app.out" 2>&1 </dev/null
}

sync_xev start
editor 'sleep 1; exit 42' # long enough for a request sent meanwhile to arrive
status=0
run_app timeout 60 "$app" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after the editor took over, expected 0"
printf -- '--from-downloader\n--check-update-and-install-product\n' | cmp - "$work/arguments" ||
    fail "the editor got other arguments: $(cat "$work/arguments")"
sync_xev took_over
! grep -q '^MapNotify' "$work/xev.log" || fail "a window was mapped: $(cat "$work/xev.log")"
stats '"requests":{}' || fail "the update server was asked: $(curl -s "$base/stats")"
echo "ok: exit code 42 ends the program without a window or a request"

rm "$work/arguments"
editor 'exit 0'
run_app "$app" &
wait_until 30 grep -q '^MapNotify' "$work/xev.log" || fail "no window after the editor declined"
wait_until 30 stats '"/api/v1/version-info"' || fail "no update check after the editor declined"
[ -f "$work/arguments" ] || fail "the editor was not started"
kill -0 $! || fail "the wizard ended on its own: $(cat "$work/app.out")"
echo "ok: another exit code leaves the wizard to run"
