#!/usr/bin/env bash
# The default download run without a window against the demo services with 50 ms of latency on
# every reply, beside the sequential floor (requests x 50 ms) and beside the same addresses
# fetched by wget over one kept-alive connection, as a user could script it by hand.
# Usage: bench/download_run_bench.sh [BUILD_BIN_DIR]   (default: build/default/bin)
# Builds nothing. Prints its figures last, one name=value a line.
# The server draws each picture at its first request and keeps it; an untimed run comes first, so
# both timed runs meet a server that only sends.
set -euo pipefail
bin=$(cd "${1:-$(dirname "$0")/../build/default/bin}" && pwd)
latency_ms=50
# A morning download: the marked period runs from 06:00 to the end of the week.
moment=2007-04-10T06:00:00

if ! command -v wget >/dev/null; then
    echo "wget is missing; install it (apt-get install wget) for the reference figure" >&2
    exit 1
fi

work=$(mktemp -d)
server_pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/user XDG_CONFIG_HOME=$work/user/.config XDG_RUNTIME_DIR=$work
mkdir -p "$XDG_CONFIG_HOME/Brisel" "$work/warm-up" "$work/program"

# The demo server draws its pictures with a GUI application; the offscreen platform will do.
QT_QPA_PLATFORM=offscreen "$bin/brisel-demo-server" --port 0 --now "$moment" --latency-ms "$latency_ms" \
    --log "$work/requests.log" >"$work/server.out" 2>"$work/server.err" &
server_pid=$!
for _ in $(seq 100); do
    port=$(head -n 1 "$work/server.out" 2>/dev/null || true)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { echo "the demo server did not start" >&2; cat "$work/server.err" >&2; exit 1; }
base=http://127.0.0.1:$port

for folder in warm-up program; do
    printf '[hosts]\nprovider=%s\nmarevo=%s\nwave=%s\nhome=%s\n' "$base" "$base" "$base" "$base" \
        >"$work/$folder/brisel.ini"
done
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\r\n"QuellanUser"="demo"\r\n"QuellanPassword"="demo"\r\n' \
    >"$XDG_CONFIG_HOME/Brisel/settings.reg"
chmod 600 "$XDG_CONFIG_HOME/Brisel/settings.reg"

seconds_since() { awk -v start="$1" -v end="$(date +%s.%N)" 'BEGIN { printf "%.2f", end - start }'; }

"$bin/brisel" --download --home "$work/warm-up" --now "$moment" >/dev/null
warm_up_requests=$(wc -l <"$work/requests.log")

started=$(date +%s.%N)
summary=$("$bin/brisel" --download --home "$work/program" --now "$moment")
brisel_seconds=$(seconds_since "$started")

tail -n +$((warm_up_requests + 1)) "$work/requests.log" >"$work/run.log"
requests=$(wc -l <"$work/run.log")
awk -v base="$base" '{ print base $2 }' "$work/run.log" >"$work/urls.txt"
failed_replies=$(awk '$3 !~ /^2/' "$work/run.log" | wc -l)

started=$(date +%s.%N)
wget -q -i "$work/urls.txt" -O /dev/null || true
wget_seconds=$(seconds_since "$started")
wget_requests=$(($(wc -l <"$work/requests.log") - warm_up_requests - requests))

floor_seconds=$(awk -v n="$requests" -v ms="$latency_ms" 'BEGIN { printf "%.2f", n * ms / 1000 }')
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

echo "brisel: $summary"
echo "latency_ms=$latency_ms"
echo "requests=$requests"
echo "non_2xx_replies=$failed_replies"
echo "floor_seconds=$floor_seconds"
echo "wall_seconds=$brisel_seconds"
echo "ratio=$(ratio "$brisel_seconds" "$floor_seconds")"
echo "wget_requests=$wget_requests"
echo "wget_seconds=$wget_seconds"
echo "wget_ratio=$(ratio "$wget_seconds" "$floor_seconds")"
