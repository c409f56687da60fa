#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Brisel developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The offline pack of a full week: every provider family every hour, the sailing maps, the 22 spots
# of the shipped spots.ini and the 18 wave maps, downloaded from the demo services with
# `brisel --download` (the wave maps, which only the wave window fetches, with curl), then
# `brisel --export-pack` into a folder and into a zip: the pack's size and the export's time, the
# whole run of the program and the export inside it, beside `cp -r` of the same files.
# Usage: bench/export_pack_bench.sh [BUILD_BIN_DIR]   (default: build/default/bin)
# Builds nothing. Each time is the median of BENCH_RUNS runs (5 unless set), each into a new
# target. Prints its figures last, one name=value a line.
set -euo pipefail
. "$(dirname "$0")/demo_server.sh"
bin=$(cd "${1:-$(dirname "$0")/../build/default/bin}" && pwd)
runs=${BENCH_RUNS:-5}
moment=2007-04-10T06:00:00

if ! command -v curl >/dev/null; then
    echo "curl is missing; install it (apt-get install curl) to fetch the wave maps" >&2
    exit 1
fi

work=$(mktemp -d)
server_pid=
cleanup() {
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/user XDG_CONFIG_HOME=$work/user/.config XDG_RUNTIME_DIR=$work
mkdir -p "$XDG_CONFIG_HOME/Brisel"
# The account, every family, every hour, the whole week; no update check.
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' '[HKEY_CURRENT_USER\SOFTWARE\Brisel]' \
    '"QuellanUser"="demo"' '"QuellanPassword"="demo"' \
    '"pilvisuse kaart"=dword:00000001' '"temperatuuri kaart"=dword:00000001' \
    '"sademete kaart"=dword:00000001' '"www.quellan.example iga 3h tagant"=dword:00000000' \
    '"Lae ainult märgitud periood"=dword:00000000' '"Kontrolli programmi uuendusi"=dword:00000000' \
    >"$XDG_CONFIG_HOME/Brisel/settings.reg"
chmod 600 "$XDG_CONFIG_HOME/Brisel/settings.reg"

start_demo_server "$bin" "$work" --now "$moment"

home=$work/home
mkdir -p "$home"
printf '[hosts]\nprovider=%s\nmarevo=%s\nwave=%s\nhome=%s\n' "$base" "$base" "$base" "$base" >"$home/brisel.ini"
echo "download: $("$bin/brisel" --download --home "$home" --now "$moment")"
for i in $(seq 18); do
    nn=$(printf '%02d' $((3 * i)))
    curl -sf -o "$home/kaardid/wave$nn.gif" "$base/stc/itamerinyt/images/data/wave$nn.gif"
done
kill "$server_pid"
wait "$server_pid" 2>/dev/null || true
server_pid=

seconds_since() { awk -v start="$1" -v end="$(date +%s.%N)" 'BEGIN { printf "%.3f", end - start }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.3f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# A value of brisel's closing line, e.g. `summary_value "$summary" bytes`.
summary_value() { sed -n "s/.*\\b$2=\\([0-9.]*\\).*/\\1/p" <<<"$1"; }

# Runs `brisel --export-pack` into new targets named by $1 and a run number; sets $wall (the
# median time of the whole program), $inside (the median time it reports for the export) and
# $summary (the last closing line).
export_runs() {
    local walls=() insides=() started
    for run in $(seq "$runs"); do
        started=$(date +%s.%N)
        summary=$(env -u DISPLAY -u QT_QPA_PLATFORM "$bin/brisel" --export-pack "$work/$1$run$2" \
            --home "$home" --now "$moment")
        walls+=("$(seconds_since "$started")")
        insides+=("$(summary_value "$summary" seconds)")
    done
    wall=$(printf '%s\n' "${walls[@]}" | median)
    inside=$(printf '%s\n' "${insides[@]}" | median)
}

export_runs pack ""
folder_wall=$wall folder_inside=$inside folder_summary=$summary
export_runs pack .zip
zip_wall=$wall zip_inside=$inside zip_summary=$summary
echo "export into a folder: $folder_summary"
echo "export into a zip:    $zip_summary"

copies=()
for run in $(seq "$runs"); do
    started=$(date +%s.%N)
    cp -r "$work/pack1" "$work/copy$run"
    copies+=("$(seconds_since "$started")")
done
cp_seconds=$(printf '%s\n' "${copies[@]}" | median)

chart_files=$(find "$home/kaardid" -type f | wc -l)
chart_bytes=$(find "$home/kaardid" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
page_bytes=$(stat -c %s "$work/pack1/index.html")
cat <<EOF
chart_folder_files=$chart_files
chart_folder_bytes=$chart_bytes
pack_files=$(summary_value "$folder_summary" files)
pack_bytes=$(summary_value "$folder_summary" bytes)
page_bytes=$page_bytes
zip_bytes=$(summary_value "$zip_summary" bytes)
folder_export_seconds=$folder_inside
folder_run_seconds=$folder_wall
zip_export_seconds=$zip_inside
zip_run_seconds=$zip_wall
cp_r_seconds=$cp_seconds
folder_run_vs_cp_r=$(ratio "$folder_wall" "$cp_seconds")
zip_run_vs_cp_r=$(ratio "$zip_wall" "$cp_seconds")
EOF
