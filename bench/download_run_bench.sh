#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Brisel developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The default morning download without a window against the demo services, at 50 ms and at 400 ms
# of latency on every reply: Brisel with one connection and with six, beside the sequential floor
# (requests x latency), beside the same addresses fetched by `wget -i` over one kept-alive
# connection and by `curl --parallel --parallel-max 6`, and a second run right after the first
# (its time as a share of the first's, its requests and its bytes), which should ask for nothing
# that is still fresh. The first run starts from an empty folder.
# Usage: bench/download_run_bench.sh [BUILD_BIN_DIR]   (default: build/default/bin)
# Builds nothing. Prints its figures last, one name=value a line, each name led by its latency.
# The server draws each picture at its first request and keeps it; an untimed run comes first, so
# every timed run meets a server that only sends.
set -euo pipefail
. "$(dirname "$0")/demo_server.sh"
bin=$(cd "${1:-$(dirname "$0")/../build/default/bin}" && pwd)
latencies="${BENCH_LATENCIES:-50 400}"
# A morning download: the marked period runs from 06:00 to the end of the week.
moment=2007-04-10T06:00:00

for tool in wget curl; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is missing; install it (apt-get install $tool) for the reference figures" >&2
        exit 1
    fi
done

work=$(mktemp -d)
server_pid=
stop_server() {
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
        server_pid=
    fi
}
cleanup() {
    stop_server
    rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/user XDG_CONFIG_HOME=$work/user/.config XDG_RUNTIME_DIR=$work
mkdir -p "$XDG_CONFIG_HOME/Brisel"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\r\n"QuellanUser"="demo"\r\n"QuellanPassword"="demo"\r\n' \
    >"$XDG_CONFIG_HOME/Brisel/settings.reg"
chmod 600 "$XDG_CONFIG_HOME/Brisel/settings.reg"

seconds_since() { awk -v start="$1" -v end="$(date +%s.%N)" 'BEGIN { printf "%.2f", end - start }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
requests_logged() { wc -l <"$log"; }
# A value of the closing line, e.g. `summary_value "$summary" bytes`.
summary_value() { sed -n "s/.*\\b$2=\\([0-9.]*\\).*/\\1/p" <<<"$1"; }

# A program folder pointing at the server, keeping the given number of connections.
program_folder() {
    local folder=$work/$1
    mkdir -p "$folder"
    printf '[hosts]\nprovider=%s\nmarevo=%s\nwave=%s\nhome=%s\n[download]\nconnections=%s\n' \
        "$base" "$base" "$base" "$base" "$2" >"$folder/brisel.ini"
    echo "$folder"
}

# Runs brisel --download into a folder; sets $summary and $elapsed.
download_into() {
    local started
    started=$(date +%s.%N)
    summary=$("$bin/brisel" --download --home "$1" --now "$moment")
    elapsed=$(seconds_since "$started")
}

figures=()
say() { figures+=("l${latency_ms}_$1=$2"); }

for latency_ms in $latencies; do
    log=$work/requests-$latency_ms.log
    start_demo_server "$bin" "$work" --now "$moment" --latency-ms "$latency_ms" --log "$log"

    download_into "$(program_folder "warm-up-$latency_ms" 6)"

    mark=$(requests_logged)
    download_into "$(program_folder "one-$latency_ms" 1)"
    one_seconds=$elapsed
    tail -n +$((mark + 1)) "$log" >"$work/run.log"
    requests=$(wc -l <"$work/run.log")
    non_2xx=$(awk '$3 !~ /^2/' "$work/run.log" | wc -l)
    awk -v base="$base" '{ print base $2 }' "$work/run.log" >"$work/urls.txt"

    mark=$(requests_logged)
    six=$(program_folder "six-$latency_ms" 6)
    download_into "$six"
    six_seconds=$elapsed
    six_summary=$summary
    six_requests=$(($(requests_logged) - mark))
    mark=$(requests_logged)
    download_into "$six"
    second_summary=$summary
    second_seconds=$elapsed
    second_requests=$(($(requests_logged) - mark))

    mark=$(requests_logged)
    started=$(date +%s.%N)
    wget -q -i "$work/urls.txt" -O /dev/null || true
    wget_seconds=$(seconds_since "$started")
    wget_requests=$(($(requests_logged) - mark))

    awk '{ printf "url = \"%s\"\noutput = \"/dev/null\"\n", $0 }' "$work/urls.txt" >"$work/curl.config"
    mark=$(requests_logged)
    started=$(date +%s.%N)
    curl --silent --no-progress-meter --parallel --parallel-max 6 -K "$work/curl.config" 2>/dev/null || true
    curl_seconds=$(seconds_since "$started")
    curl_requests=$(($(requests_logged) - mark))
    stop_server

    floor_seconds=$(awk -v n="$requests" -v ms="$latency_ms" 'BEGIN { printf "%.2f", n * ms / 1000 }')
    first_bytes=$(summary_value "$six_summary" bytes)
    second_bytes=$(summary_value "$second_summary" bytes)
    echo "brisel at $latency_ms ms, six connections: $six_summary"
    echo "brisel at $latency_ms ms, right after:     $second_summary"
    say requests "$requests"
    say non_2xx_replies "$non_2xx"
    say floor_seconds "$floor_seconds"
    say one_connection_seconds "$one_seconds"
    say one_connection_ratio "$(ratio "$one_seconds" "$floor_seconds")"
    say six_connections_requests "$six_requests"
    say six_connections_seconds "$six_seconds"
    say six_connections_ratio "$(ratio "$six_seconds" "$floor_seconds")"
    say six_connections_vs_curl "$(ratio "$six_seconds" "$curl_seconds")"
    say wget_requests "$wget_requests"
    say wget_seconds "$wget_seconds"
    say wget_ratio "$(ratio "$wget_seconds" "$floor_seconds")"
    say curl_requests "$curl_requests"
    say curl_seconds "$curl_seconds"
    say curl_ratio "$(ratio "$curl_seconds" "$floor_seconds")"
    say second_run_seconds "$second_seconds"
    say second_run_vs_first "$(ratio "$second_seconds" "$six_seconds")"
    say second_run_requests "$second_requests"
    say second_run_bytes "$second_bytes"
    say second_run_bytes_share "$(ratio "$second_bytes" "$first_bytes")"
done

printf '%s\n' "${figures[@]}"
