#!/usr/bin/env bash
# How long a cancel takes to end a download, and a window close to end the program, while the
# installer comes over a stalled link (200 KiB, then silence) and over a 4 KiB/s trickle.
# Prints the median and the largest of five runs each, in milliseconds.
#   bash bench/cancel-latency.sh      (starts its own Xvfb for the window part)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${LARKSPIRE_BENCH_DISPLAY:-}" ]; then
    buildDir="${LARKSPIRE_BUILD_DIR:-build}"
    cmake -S . -B "$buildDir" -G Ninja -DLARKSPIRE_BUILD_BENCHMARKS=ON >/dev/null
    cmake --build "$buildDir" --target download_throughput larkspire-devserver \
        larkspire-downloader x11-close-window >/dev/null
    exec env LARKSPIRE_BENCH_DISPLAY=1 bash tools/with-xvfb.sh bash "$0" \
        "$buildDir/bench/download_throughput" "$buildDir/larkspire-downloader" \
        "$buildDir/tests/x11-close-window" "$buildDir/tools/larkspire-devserver"
fi

probe="$1"
# shellcheck source=../tests/shell/common.sh
source tests/shell/common.sh "$2" "$3" "$4"
runs="${RUNS:-5}"

summary() # LABEL MS...: median and largest
{
    local label="$1"
    shift
    printf '%s\n' "$@" | sort -n | awk -v label="$label" \
        '{ v[NR] = $1 } END { printf "%-34s median %7.1f ms   max %7.1f ms\n", label, v[int((NR + 1) / 2)], v[NR] }'
}

now() { date +%s%N; }

for link in "--file-stall-after 204800" "--file-rate 4K"; do
    # shellcheck disable=SC2086
    start_devserver --file-size 16M $link
    cancels=() quits=()
    for _ in $(seq "$runs"); do
        rm -rf "$work/probe" && mkdir -p "$work/probe"
        cancels+=("$("$probe" "$work/probe/$installerName" "$base/files/$installerName" 2000 |
            cut -d' ' -f1)")

        start_app
        wait_for_window "$appPid"
        press_next_until_download "$appPid"
        sleep 2
        started="$(now)"
        close_window "$appPid" 30
        quits+=("$(( ($(now) - started) / 1000000 ))")
        [ -z "$(ls -A "$downloads")" ] || fail "files left behind"
    done
    summary "cancel to worker end ($link)" "${cancels[@]}"
    summary "close to exit ($link)" "${quits[@]}"
done
