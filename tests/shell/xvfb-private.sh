# Sourced by the shell tests: starts an Xvfb of their own (a free display number chosen by the
# server itself), so windows of tests running in parallel never meet. Creates the window-manager
# atoms JUCE only looks up. Sets DISPLAY; stop_private_xvfb ends the server.

start_private_xvfb()
{
    local fdFile="$1/displayfd"
    Xvfb -displayfd 7 -screen 0 1280x800x24 -noreset -nolisten tcp 7>"$fdFile" >/dev/null 2>&1 &
    privateXvfbPid=$!

    local number=""
    for _ in $(seq 1 100); do
        number="$(tr -dc '0-9' <"$fdFile" 2>/dev/null || true)"
        if [ -n "$number" ] && DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
            break
        fi
        number=""
        sleep 0.1
    done
    [ -n "$number" ] || { echo "private Xvfb did not start" >&2; return 1; }

    export DISPLAY=":$number"
    # Setting a root property of type ATOM interns its value; one property per atom, since
    # xprop takes a comma-separated list as one atom name.
    local atom
    for atom in WM_PROTOCOLS WM_DELETE_WINDOW WM_STATE _NET_WM_PING _NET_WM_STATE; do
        xprop -root -f "LARKSPIRE_ATOM_$atom" 32a -set "LARKSPIRE_ATOM_$atom" "$atom"
    done
}

stop_private_xvfb()
{
    if [ -n "${privateXvfbPid:-}" ]; then
        kill "$privateXvfbPid" 2>/dev/null || true
        wait "$privateXvfbPid" 2>/dev/null || true
    fi
}

# wait_until DEADLINE_SECONDS COMMAND...: polls COMMAND every 0.1 s until it succeeds.
wait_until()
{
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# wait_for_window TITLE DEADLINE_SECONDS: waits for a visible window with exactly this title and
# a size of 640 x 480; sets windowId, X, Y, WIDTH and HEIGHT. JUCE may replace a window's first
# X window right after creating it, so a window that vanishes is simply looked up again.
wait_for_window()
{
    local title="$1"
    local deadline=$((SECONDS + $2))
    local geometry
    while [ "$SECONDS" -lt "$deadline" ]; do
        windowId="$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)"
        if [ -n "$windowId" ] &&
            geometry="$(xdotool getwindowgeometry --shell "$windowId" 2>/dev/null)"; then
            eval "$geometry"
            if [ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ]; then
                return 0
            fi
        fi
        sleep 0.1
    done
    return 1
}
