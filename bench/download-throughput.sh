#!/usr/bin/env bash
# Download throughput of the installer's worker against curl: nginx serves a 256 MiB and a
# 16 MiB file on 127.0.0.1; each is fetched five times by each client, alternating. Prints the
# median MiB/s, the ratio to curl, CPU seconds per GiB and peak resident memory.
#   LARKSPIRE_BUILD_DIR=build-bench bash bench/download-throughput.sh
set -euo pipefail
cd "$(dirname "$0")/.."

buildDir="${LARKSPIRE_BUILD_DIR:-build-bench}"
runs="${RUNS:-5}"

cmake -S . -B "$buildDir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLARKSPIRE_BUILD_BENCHMARKS=ON \
    -DLARKSPIRE_BUILD_TESTS=OFF >/dev/null
cmake --build "$buildDir" --target download_throughput >/dev/null
worker="$buildDir/bench/download_throughput"

work="$(mktemp -d)"
nginxPid=""
cleanup() {
    [ -n "$nginxPid" ] && kill "$nginxPid" 2>/dev/null && wait "$nginxPid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www" "$work/out" "$work/nginx"
# nginx workers drop root: they must be able to read the files.
chmod 755 "$work" "$work/www"
head -c $((256 * 1024 * 1024)) /dev/urandom >"$work/www/large.bin"
head -c $((16 * 1024 * 1024)) /dev/urandom >"$work/www/small.bin"

port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
cat >"$work/nginx/nginx.conf" <<CONF
daemon off;
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 64; }
http {
    access_log off;
    sendfile on;
    tcp_nopush on;
    client_body_temp_path $work/nginx/body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    types { application/octet-stream bin; }
    server {
        listen 127.0.0.1:$port;
        root $work/www;
    }
}
CONF
nginx -c "$work/nginx/nginx.conf" -e "$work/nginx/error.log" &
nginxPid=$!
for _ in $(seq 50); do
    curl -s -o /dev/null "http://127.0.0.1:$port/small.bin" && break
    sleep 0.1
done

# One timed download; prints "seconds cpu-seconds peak-kib".
measure() {
    local client="$1" name="$2" destination="$work/out/$2"
    rm -f "$destination"
    local timing="$work/time.txt" seconds
    if [ "$client" = worker ]; then
        seconds="$(/usr/bin/time -o "$timing" -f '%U %S %M' "$worker" "$destination" "http://127.0.0.1:$port/$name")"
    else
        seconds="$(/usr/bin/time -o "$timing" -f '%U %S %M' curl -s -o "$destination" -w '%{time_total}' "http://127.0.0.1:$port/$name")"
    fi
    cmp -s "$destination" "$work/www/$name" || { echo "$client: $name differs" >&2; exit 1; }
    rm -f "$destination"
    read -r user system peak <"$timing"
    echo "$seconds $user $system $peak" | awk '{ print $1, $2 + $3, $4 }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

printf '%-10s %-7s %10s %8s %12s %10s\n' file client "MiB/s" "vs curl" "CPU s/GiB" "peak MiB"
for name in large.bin small.bin; do
    mib="$(( $(stat -c %s "$work/www/$name") / 1024 / 1024 ))"
    : >"$work/worker.txt"
    : >"$work/curl.txt"
    for _ in $(seq "$runs"); do
        measure worker "$name" >>"$work/worker.txt"
        measure curl "$name" >>"$work/curl.txt"
    done

    curlRate=""
    for client in curl worker; do
        rate="$(awk -v m="$mib" '{ print m / $1 }' "$work/$client.txt" | median)"
        cpu="$(awk -v m="$mib" '{ print $2 / (m / 1024) }' "$work/$client.txt" | median)"
        peak="$(awk '{ print $3 / 1024 }' "$work/$client.txt" | sort -g | tail -1)"
        [ "$client" = curl ] && curlRate="$rate"
        ratio="$(awk -v a="$rate" -v b="$curlRate" 'BEGIN { print a / b }')"
        printf '%-10s %-7s %10.1f %8.2f %12.3f %10.1f\n' "$name" "$client" "$rate" "$ratio" "$cpu" "$peak"
    done
done
