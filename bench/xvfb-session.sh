# Sourced by the benchmarks: a private X server (the one bench/run-all.sh shares through
# BENCH_DISPLAY, else one of its own), a scratch folder and the program's settings folder,
# all removed on exit, and readers of what /proc tells about a process.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=${BUILD:-build}
[[ $build == /* ]] || build=$root/$build
program=${HOURLING:-$build/hourling}
[[ -x $program ]] || { echo "no program at $program (build it first, or set HOURLING)" >&2; exit 1; }

workdir=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$workdir"
}
trap cleanup EXIT

if [[ -n ${BENCH_DISPLAY:-} ]]; then
    export DISPLAY=$BENCH_DISPLAY
else
    # The server picks a free display itself and names it once it takes connections:
    # choosing one by its lock file races with other servers started at the same moment.
    # Without -noreset it resets whenever its last client leaves, and refuses the next
    # one meanwhile, as when one program of a benchmark ends just as another starts.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -br -nolisten tcp -noreset 3>"$workdir/display" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 200); do [[ -s $workdir/display ]] && break; sleep 0.1; done
    [[ -s $workdir/display ]] || { echo "Xvfb did not start" >&2; exit 1; }
    DISPLAY=:$(head -n 1 "$workdir/display")
    export DISPLAY
fi
export XDG_CONFIG_HOME=$workdir/config
export XDG_RUNTIME_DIR=$workdir/runtime
mkdir -p "$XDG_CONFIG_HOME"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

# One line per thread of a process, tab-separated: id, name, voluntary and nonvoluntary
# context switches, and nanoseconds on a processor.
thread_counters() {
    local task
    for task in /proc/"$1"/task/*; do
        [[ -r $task/status ]] || continue
        awk -v tid="${task##*/}" -v name="$(cat "$task/comm" 2>/dev/null)" \
            -v ns="$(cut -d' ' -f1 "$task/schedstat" 2>/dev/null)" '
            /^voluntary_ctxt_switches/ { v = $2 }
            /^nonvoluntary_ctxt_switches/ { n = $2 }
            END { if (ns != "") printf "%s\t%s\t%d\t%d\t%s\n", tid, name, v, n, ns }' "$task/status"
    done
}

# The difference of two thread_counters snapshots, per thread alive at the end (a thread
# born in between counts from zero), divided by the seconds between them: id, name,
# voluntary/s, nonvoluntary/s, milliseconds on a processor.
thread_rates() {
    awk -F'\t' -v seconds="$3" '
        FNR == NR { v[$1] = $3; n[$1] = $4; ns[$1] = $5; next }
        { printf "%s\t%s\t%.2f\t%.2f\t%.2f\n", $1, $2, ($3 - v[$1]) / seconds,
                 ($4 - n[$1]) / seconds, ($5 - ns[$1]) / 1e6 }' "$1" "$2"
}

# Resident memory in kilobytes.
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }

# The median of numbers, one a line; empty lines (a here-string adds one) do not count.
median() { sort -n | awk 'NF { v[++n] = $1 } END { if (n) print (n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2) }'; }
