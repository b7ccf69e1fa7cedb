#!/usr/bin/env bash
# How long starting a clip holds the user-interface thread: with a running sound server,
# with one that has stopped answering, and with none at all.
#   bench/voice-start.sh [rounds]  (default 50; BUILD=dir picks the build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=${VOICE_START_BENCH:-$here/../${BUILD:-build}/bench/voice_start_bench}
[[ -x $bench ]] || { echo "no benchmark at $bench (build it first)" >&2; exit 1; }
rounds=${1:-50}

workdir=$(mktemp -d)
server=
cleanup() {
    if [[ -n $server ]]; then kill -CONT "$server" 2>/dev/null || true; kill "$server" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    rm -rf "$workdir"
}
trap cleanup EXIT

mkdir -p "$workdir"/{run,state,home,config}
export PULSE_SERVER=unix:$workdir/run/native
HOME=$workdir/home XDG_CONFIG_HOME=$workdir/config XDG_RUNTIME_DIR=$workdir/run \
PULSE_RUNTIME_PATH=$workdir/run PULSE_STATE_PATH=$workdir/state DBUS_SESSION_BUS_ADDRESS=disabled: \
    env -u DISPLAY -u PULSE_SERVER pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --realtime=no --high-priority=no --log-target=stderr --log-level=error \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$workdir/run/native" \
    -L "module-null-sink sink_name=null" 2>/dev/null &
server=$!
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done

echo -n "running server: "; "$bench" "$rounds"
kill -STOP "$server"
echo -n "frozen server:  "; "$bench" "$rounds"
kill -CONT "$server"; kill -KILL "$server"; wait "$server" 2>/dev/null || true; server=
echo -n "no server:      "; "$bench" "$rounds"
