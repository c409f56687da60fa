# SPDX-FileCopyrightText: 2026 The Brisel developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the benchmarks: starts the demo server on a free loopback port.
# start_demo_server BIN WORK [SERVER OPTIONS...] sets $server_pid and $base; the caller stops the
# server (kill "$server_pid") in its own clean-up.
start_demo_server() {
    local bin=$1 work=$2 port=
    shift 2
    # An earlier server's port must not be read while this one starts.
    rm -f "$work/server.out"
    # The demo server draws its pictures with a GUI application; the offscreen platform will do.
    QT_QPA_PLATFORM=offscreen "$bin/brisel-demo-server" --port 0 "$@" >"$work/server.out" 2>"$work/server.err" &
    server_pid=$!
    for _ in $(seq 100); do
        port=$(head -n 1 "$work/server.out" 2>/dev/null || true)
        [ -n "$port" ] && break
        sleep 0.1
    done
    [ -n "$port" ] || { echo "the demo server did not start" >&2; cat "$work/server.err" >&2; exit 1; }
    base=http://127.0.0.1:$port
}
