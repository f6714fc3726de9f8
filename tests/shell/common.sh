# Sourced by the tests of the real binary, run under tools/with-xvfb.sh with the arguments
# LARKSPIRE_DOWNLOADER X11_CLOSE_WINDOW [LARKSPIRE_DEVSERVER]. The work folder and every process
# started here are gone at exit.
set -euo pipefail

app="$1" closer="$2" devserver="${3:-}"
work="$(mktemp -d)"
base="http://127.0.0.1:9" # the update server: a closed port until start_devserver
installerName="LarkspireEditorSetup-2.3.1.bin"
downloads="$work/home/Documents/Larkspire Downloads"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

wait_until() # SECONDS COMMAND...: polls COMMAND every 0.1 s until it succeeds
{
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# send_until SECONDS CONDITION COMMAND...: runs COMMAND every $interval (2) s until CONDITION
# holds. JUCE may leave an X event unhandled until another comes; on a bare Xvfb none may come.
send_until()
{
    local deadline=$((SECONDS + $1)) condition="$2"
    shift 2
    while [ "$SECONDS" -lt "$deadline" ]; do
        "$@"
        wait_until "${interval:-2}" "$condition" && return 0
    done
    return 1
}

start_devserver() # OPTION...: a server of its own, with an output file of its own
{
    local out
    out="$(mktemp -p "$work" devserver.XXXXXX)"
    "$devserver" "$@" >"$out" 2>&1 </dev/null &
    pids+=($!)
    wait_until 10 grep -q '^listening on ' "$out" || fail "devserver did not start"
    base="$(sed -n 's/^listening on //p' "$out")"
}

# requests PATH: how many requests the devserver has had for it
requests() { curl -s --max-time 10 "$base/stats" | grep -o "\"$1\":[0-9][0-9]*" | cut -d: -f2 || echo 0; }

start_app() # ARGUMENT...: with a private home and applications folder; sets appPid
{
    mkdir -p "$work/home/Documents" "$work/applications"
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" LC_ALL=C \
        LARKSPIRE_APPLICATIONS_DIR="$work/applications" LARKSPIRE_UPDATE_SERVER="$base" \
        "$app" "$@" >>"$work/app.out" 2>&1 </dev/null &
    appPid=$!
    pids+=("$appPid")
}

# found_window PID: its 640x480 window, looked up afresh (JUCE may replace it); sets windowId, X, Y
found_window()
{
    local id geometry WINDOW SCREEN WIDTH HEIGHT
    X="" Y=""
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '^larkspire-downloader$'); do
        # A window gone since the search has no geometry: look at the next one.
        geometry="$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
        WIDTH="" HEIGHT=""
        eval "$geometry"
        [ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] && windowId="$id" && return 0
    done
    return 1
}
wait_for_window() { wait_until 30 found_window "$1" || fail "no 640x480 window of process $1"; }

# Next is 84 x 32 at (532, 388) in the page, below the 44-pixel header. A press before the
# update check's answer is handled is refused, so press until the download starts, slowly: a
# second press on the Downloading page would be Cancel.
press_next_until_download() # PID
{
    checked() { [ "$(requests /api/v1/download-links)" -ge 1 ]; }
    started() { [ "$(requests "/files/$installerName")" -ge 1 ]; }
    next() { found_window "$1" && xdotool mousemove --window "$windowId" 574 448 click 1; }
    wait_until 20 checked || fail "the update check never reached the server"
    interval=5 send_until 20 started next "$1" || fail "Next never started the download"
}

close_window() # PID SECONDS: a window manager's close request; PID must end with status 0
{
    local pid="$1" status=0
    exited() { ! kill -0 "$pid" 2>/dev/null; }
    request() { ! found_window "$pid" || "$closer" "$windowId"; }
    send_until "$2" exited request || fail "the close request did not end $pid in $2 s"
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "exit status $status after the close request, expected 0"
}
