# Sourced by the benchmarks: a private X server (the one bench/run-all.sh shares through
# BENCH_DISPLAY, else one of its own), a scratch folder and the program's settings folder,
# all removed on exit, readers of what /proc tells about a process, and the timing of starts
# and of idling that the sections share.
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
    # Large enough for her whole at scale 2 (an 800x600 desktop to her), so that no section
    # sees her moved to where she can be seen.
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -br -nolisten tcp -noreset 3>"$workdir/display" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 200); do [[ -s $workdir/display ]] && break; sleep 0.1; done
    [[ -s $workdir/display ]] || { echo "Xvfb did not start" >&2; exit 1; }
    DISPLAY=:$(head -n 1 "$workdir/display")
    export DISPLAY
fi
# She runs as on a plain desktop at scale 1 whatever the caller's session sets; a section
# that wants another scale says so for her alone.
unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING \
    QT_SCALE_FACTOR_ROUNDING_POLICY QT_USE_PHYSICAL_DPI QT_FONT_DPI
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

# Processor time of a whole process, threads that ended included, in clock ticks: utime and
# stime of /proc/<pid>/stat, counted after the name, which may hold spaces and parentheses.
cpu_ticks() {
    local stat
    stat=$(<"/proc/$1/stat")
    # shellcheck disable=SC2086
    set -- ${stat##*) }
    echo $((${12} + ${13}))
}

# Start to mapped window (bench/map-time) of each named program, the programs taking turns,
# the first round only warming the caches. $1 is the number of measured rounds, $2 the name
# of an associative array of command lines (split at spaces), the rest the names to run.
# Each run's milliseconds go to $workdir/<name>.starts, one a line; a run that fails or
# maps nothing within a minute adds none.
time_starts() {
    local runs=$1 round name ms
    local -n commands_=$2
    shift 2
    [[ -x $build/bench/map-time ]] || { echo "no $build/bench/map-time (build first)" >&2; return 1; }
    for name; do : >"$workdir/$name.starts"; done
    for round in $(seq 0 "$runs"); do
        for name; do
            # timeout ends the program along with map-time, both being in its process group.
            # shellcheck disable=SC2086
            ms=$(timeout 60 "$build/bench/map-time" ${commands_[$name]} 2>/dev/null) || ms=
            if ((round > 0)) && [[ -n $ms ]]; then echo "$ms" >>"$workdir/$name.starts"; fi
        done
    done
}

# Starts the named programs side by side, lets them settle, and watches them idle. $1 is the
# seconds to watch, $2 those to settle first, $3 the name of an associative array of command
# lines (split at spaces; env execs the program, so a process id stays the program's), the
# rest the names. Per name, in $workdir: <name>.pid, <name>.rates (thread_rates over the
# stretch), <name>.ticks (cpu_ticks over it) and <name>.rss (kB at its end); the seconds the
# stretch really took in idle_interval. The programs run on until the section ends.
idle_side_by_side() {
    local seconds=$1 settle=$2 name t0 t1 started
    local -n commands_=$3
    shift 3
    for name; do
        # shellcheck disable=SC2086
        ${commands_[$name]} >"$workdir/$name.log" 2>&1 &
        echo $! >"$workdir/$name.pid"
        pids+=($!)
    done
    sleep "$settle"
    for name; do
        started=$(<"$workdir/$name.pid")
        kill -0 "$started" 2>/dev/null ||
            { echo "$name ended while settling:" >&2; cat "$workdir/$name.log" >&2; return 1; }
        thread_counters "$started" >"$workdir/$name.0"
        cpu_ticks "$started" >"$workdir/$name.ticks0"
    done
    t0=$(date +%s.%N)
    sleep "$seconds"
    t1=$(date +%s.%N)
    idle_interval=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
    for name; do
        started=$(<"$workdir/$name.pid")
        kill -0 "$started" 2>/dev/null ||
            { echo "$name ended while idling:" >&2; cat "$workdir/$name.log" >&2; return 1; }
        echo $(($(cpu_ticks "$started") - $(<"$workdir/$name.ticks0"))) >"$workdir/$name.ticks"
        thread_counters "$started" >"$workdir/$name.1"
        thread_rates "$workdir/$name.0" "$workdir/$name.1" "$idle_interval" >"$workdir/$name.rates"
        rss_kb "$started" >"$workdir/$name.rss"
    done
}

# The idle figures of the sections that set programs side by side in a table, one column
# each: summary NAME prints its line, row and target print the table's rows and its verdicts.
ticks_per_second=$(getconf CLK_TCK)

# The program's own top-level window (not a menu or a balloon, which set override-redirect):
# the first such window the X server shows for its process id.
window_of() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        if [[ $(xwininfo -id "$id") == *"Override Redirect State: no"* ]]; then
            echo "$id"
            return
        fi
    done
}

# One line per program, separated by semicolons (so that an empty field stays one): CPU %, wake-ups/s, preemptions/s, RSS in MB, median
# start in ms (empty without one), window depth and the window as width x height + x + y.
summary() {
    local name=$1 id depth='' geometry=''
    id=$(window_of "$(<"$workdir/$name.pid")")
    if [[ -n $id ]]; then
        read -r depth geometry < <(xwininfo -id "$id" | awk -F': *' '
            /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
            /^ *Width/ { w = $2 } /^ *Height/ { h = $2 } /^ *Depth/ { d = $2 }
            END { printf "%s %sx%s+%s+%s\n", d, w, h, x, y }')
    fi
    awk -F'\t' -v seconds="$idle_interval" -v ticks="$(<"$workdir/$name.ticks")" \
        -v hz="$ticks_per_second" -v rss="$(<"$workdir/$name.rss")" \
        -v start="$(median <"$workdir/$name.starts")" -v depth="$depth" -v geometry="$geometry" '
        { v += $3; n += $4 }
        END { printf "%.3f;%.2f;%.2f;%.1f;%s;%s;%s\n", 100 * ticks / hz / seconds, v, n,
                     rss / 1024, start, depth, geometry }' "$workdir/$name.rates"
}

# A row of the table: its heading, then the figure's key, a unit after each figure, and
# what stands where a figure is missing.
row() {
    local name cell
    printf '| %s |' "$1"
    for name in "${names[@]}"; do
        cell=${figure[$name,$2]:-}
        if [[ -n $cell ]]; then printf ' %s%s |' "$cell" "$3"; else printf ' not measured |'; fi
    done
    echo
}

# "met (figure)" or "not met (figure)" for a figure and its limit; a missing one is neither.
target() {
    [[ -n $1 ]] || { echo "not measured"; return; }
    awk -v value="$1" -v limit="$2" -v shown="$3" \
        'BEGIN { printf "%s (%s)", value + 0 <= limit + 0 ? "met" : "not met", shown }'
}
