#!/usr/bin/env bash
# Runs a command with DISPLAY pointing at a private Xvfb, stopped afterwards.
# -noreset keeps atoms alive between clients. JUCE only looks the window-manager atoms up, and a
# bare server has none, so they are created first; without them a close request is ignored.
set -euo pipefail

display=""
for number in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ]; then
        display=":$number"
        break
    fi
done
[ -n "$display" ] || { echo "with-xvfb: no free display number" >&2; exit 1; }

Xvfb "$display" -screen 0 1280x800x24 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfbPid=$!
trap 'kill "$xvfbPid" 2>/dev/null || true; wait "$xvfbPid" 2>/dev/null || true' EXIT

for _ in $(seq 1 100); do
    if DISPLAY="$display" xdpyinfo >/dev/null 2>&1; then
        break
    fi
    sleep 0.1
done
DISPLAY="$display" xdpyinfo >/dev/null 2>&1 || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }

# Setting a root property interns its name and its atom value, one atom per property.
for atom in WM_PROTOCOLS WM_DELETE_WINDOW WM_STATE _NET_WM_PING _NET_WM_STATE; do
    DISPLAY="$display" xprop -root -f "LARKSPIRE_ATOM_$atom" 32a -set "LARKSPIRE_ATOM_$atom" "$atom"
done

export DISPLAY="$display"
"$@"
