# Sourced by the benchmarks: a private X server and the program's settings folder, both
# removed on exit.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
program=${HOURLING:-$root/${BUILD:-build}/hourling}
[[ -x $program ]] || { echo "no program at $program (build it first, or set HOURLING)" >&2; exit 1; }

workdir=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$workdir"
}
trap cleanup EXIT

display=
for n in $(seq 120 199); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=:$n; break; fi
done
[[ -n $display ]] || { echo "no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -br -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display
export XDG_CONFIG_HOME=$workdir/config
mkdir -p "$XDG_CONFIG_HOME"

# Clock ticks of user and system time of a process, all its threads together.
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }

# Context switches of all threads of a process: each one is a thread going to sleep or
# being put aside, so their rate bounds the wake-ups.
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { n += $2 } END { print n }'
}
