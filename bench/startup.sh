#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Brisel developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Start-up to the first painted main window, and the resident memory then, over several starts.
# Usage: bench/startup.sh [BUILD_BIN_DIR] [RUNS]   (defaults: build/default/bin, 10)
# Prints the median and worst start-up in milliseconds and the largest resident set in MB, last,
# one name=value a line.
set -euo pipefail
bin=${1:-$(dirname "$0")/../build/default/bin}
runs=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/user QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
mkdir -p "$HOME"

# One start to seed the program folder, so every measured start finds what a user's would.
"$bin/brisel" --home "$work/program" --measure-startup >/dev/null

times=()
rss_max=0
for _ in $(seq "$runs"); do
    launched=$(date +%s%3N)
    out=$("$bin/brisel" --home "$work/program" --measure-startup)
    painted=$(sed -n 's/^first_paint_epoch_ms=//p' <<<"$out")
    rss=$(sed -n 's/^rss_kb=//p' <<<"$out")
    times+=($((painted - launched)))
    [ "$rss" -gt "$rss_max" ] && rss_max=$rss
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "platform=$QT_QPA_PLATFORM runs=$runs"
echo "startup_ms_median=${sorted[$((runs / 2))]}"
echo "startup_ms_worst=${sorted[$((runs - 1))]}"
echo "rss_mb_max=$((rss_max / 1024))"
