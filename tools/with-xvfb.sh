#!/usr/bin/env bash
# Runs a command with DISPLAY pointing at a private Xvfb, stopped afterwards.
# -noreset keeps atoms alive between clients. JUCE only looks the window-manager atoms up, and a
# bare server has none, so they are created first; without them a close request is ignored.
set -euo pipefail

# Xvfb picks a free display number itself and reports it once it accepts clients, so runs
# started side by side never share or race for a display.
displayFile="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1280x800x24 -noreset -nolisten tcp 3>"$displayFile" >/dev/null 2>&1 &
xvfbPid=$!
trap 'kill "$xvfbPid" 2>/dev/null || true; wait "$xvfbPid" 2>/dev/null || true; rm -f "$displayFile"' EXIT

number=""
for _ in $(seq 1 100); do
    number="$(head -n 1 "$displayFile" | tr -dc '0-9')"
    [ -n "$number" ] && break
    kill -0 "$xvfbPid" 2>/dev/null || break
    sleep 0.1
done
[ -n "$number" ] || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }
display=":$number"

# Setting a root property interns its name and its atom value, one atom per property.
for atom in WM_PROTOCOLS WM_DELETE_WINDOW WM_STATE _NET_WM_PING _NET_WM_STATE; do
    DISPLAY="$display" xprop -root -f "LARKSPIRE_ATOM_$atom" 32a -set "LARKSPIRE_ATOM_$atom" "$atom"
done

export DISPLAY="$display"
"$@"
