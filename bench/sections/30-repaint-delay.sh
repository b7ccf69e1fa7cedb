#!/usr/bin/env bash
# How soon the dial follows the wall clock: the delay from each change of second to the
# dial's repaint for it, from the program's own repaint trace, split into the clock thread's
# wake-up and the hand-over to the repaint, and set beside how busy the machine was in each
# second. She runs twice side by side: with her clock thread at the stored level's default
# (0, SCHED_IDLE) and at level 3 (nice 0). Prints one section of docs/benchmarks.md.
#   bench/sections/30-repaint-delay.sh [seconds]  (default 300; HOURLING=path or BUILD=dir)
source "$(dirname "$0")/../xvfb-session.sh"
seconds=${1:-300}
busy=$workdir/busy

# The machine's processor use, sampled half-way through each second, away from the change
# of second that is being measured: the time and the first line of /proc/stat.
sample_busy() {
    while :; do
        sleep "$(date +%s.%N | awk '{ printf "%.3f", 1.5 - ($1 - int($1)) }')"
        echo "$(date +%s) $(head -1 /proc/stat)"
    done
}
sample_busy >"$busy" &
pids+=($!)

# Each level has a settings folder of its own, the second one written as a save leaves it.
levels=(0 3)
declare -A label=([0]="level 0 (default, SCHED_IDLE)" [3]="level 3 (nice 0)")
declare -A her
for level in "${levels[@]}"; do
    mkdir -p "$workdir/level$level/hourling"
    sed -e "s/^\"ThreadPrio\"=.*/\"ThreadPrio\"=dword:0000000$level/" \
        -e "s/^\"FormLeft\"=.*/\"FormLeft\"=dword:$(printf %08x $((40 + 300 * level / 3)))/" \
        "$root/bench/defaults.reg" >"$workdir/level$level/hourling/user.reg"
    XDG_CONFIG_HOME=$workdir/level$level HOURLING_TRACE_REPAINT=$workdir/trace$level \
        "$program" >"$workdir/her$level.log" 2>&1 &
    her[$level]=$!
    pids+=($!)
done
sleep 3
for level in "${levels[@]}"; do
    kill -0 "${her[$level]}" 2>/dev/null || { echo "she ended at level $level:" >&2; cat "$workdir/her$level.log" >&2; exit 1; }
done
# Run-queue waits of her threads: schedstat's second field, and their wake-ups.
run_waits() {
    local task
    for task in /proc/"$1"/task/*; do
        printf '%s\t%s\t%s\n' "$(cat "$task/comm")" "$(cut -d' ' -f2 "$task/schedstat")" \
            "$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task/status")"
    done
}
for level in "${levels[@]}"; do run_waits "${her[$level]}" >"$workdir/waits$level.0"; done
load0=$(cut -d' ' -f1-3 /proc/loadavg)
sleep "$seconds"
load1=$(cut -d' ' -f1-3 /proc/loadavg)
for level in "${levels[@]}"; do run_waits "${her[$level]}" >"$workdir/waits$level.1"; done

# Per traced second: total delay, clock thread's wake-up, hand-over and paint (ms), the
# second of the minute, and the share of the processors busy in it. The first few repaints
# belong to the start-up.
for level in "${levels[@]}"; do
    tail -n +4 "$workdir/trace$level" | awk -v busyfile="$busy" '
    BEGIN {
        while ((getline line < busyfile) > 0) {
            n = split(line, f, " ")
            # user to steal; the guest fields are counted in user already.
            total = 0; for (i = 3; i <= n && i <= 10; i++) total += f[i]
            idle = f[6] + f[7]
            if (have) { b = (total - ptotal) > 0 ? 1 - (idle - pidle) / (total - ptotal) : 0
                        for (s = psec; s < f[1]; s++) share[s] = b }
            psec = f[1]; ptotal = total; pidle = idle; have = 1
        }
    }
    {
        second = int($1 / 1e9)
        delay = ($1 - second * 1e9) / 1e6
        wake = ($2 - second * 1e9) / 1e6
        printf "%.3f\t%.3f\t%.3f\t%d\t%s\n", delay, wake, delay - wake, second % 60,
               (second in share) ? share[second] : -1
    }' >"$workdir/delays$level"
    [[ -s $workdir/delays$level ]] || { echo "No repaints were traced at level $level."; exit 1; }
done

# Count, p50, p99 and max of a column of one level's delays, over the rows a filter passes.
stats() {
    awk -F'\t' "$3" "$workdir/delays$1" | cut -f"$2" | sort -n | awk '
    { d[NR] = $1 }
    END {
        if (NR == 0) { print "0\t-\t-\t-"; exit }
        p50 = int(NR * 0.50); if (p50 < 1) p50 = 1
        p99 = int(NR * 0.99); if (p99 < 1) p99 = 1
        printf "%d\t%.2f ms\t%.2f ms\t%.2f ms\n", NR, d[p50], d[p99], d[NR]
    }'
}
# A row with both levels side by side.
row() {
    local cells=()
    for level in "${levels[@]}"; do
        IFS=$'\t' read -r n p50 p99 max < <(stats "$level" "$2" "$3")
        cells+=("$n | $p50 | $p99 | $max")
    done
    printf '| %s | %s | %s |\n' "$1" "${cells[0]}" "${cells[1]}"
}
header() {
    printf '| %s | %s: repaints | p50 | p99 | max | %s: repaints | p50 | p99 | max |\n' \
        "$1" "${label[0]}" "${label[3]}"
    echo '|---|---|---|---|---|---|---|---|---|'
}

cat <<HEAD
## How soon the dial follows the clock

Her analog dial repainted for each new second, over $seconds s: the delay after the whole
second of the wall clock, as the program's repaint trace (HOURLING_TRACE_REPAINT) records
it, split at the moment her clock thread takes up the second. Target for the whole: p99 at
most 5 ms. She runs twice side by side, from two settings files that differ only in her
clock thread's priority level (ThreadPrio, the "priority" menu): the default 0, which runs
it only when the processors are otherwise idle, and 3, an ordinary thread. Load average
$load0 at the start, $load1 at the end.

HEAD
header "delay"
row "change of second to repaint" 1 '1'
row "… to her clock thread awake" 2 '1'
row "… clock thread awake to repaint" 3 '1'
cat <<HEAD

The change of second to the repaint by how busy the machine was in that second (the share
of both processors busy, from /proc/stat sampled half-way through each second, she and
everyone else), and by the second of the minute (at :59 she builds the next minute's dial
after the repaint; at :x1 the title changes):

HEAD
header "seconds"
row "machine under a quarter busy" 1 '$5 >= 0 && $5 < 0.25'
row "machine a quarter to three quarters busy" 1 '$5 >= 0.25 && $5 < 0.75'
row "machine over three quarters busy" 1 '$5 >= 0.75'
row "at :59 and :00" 1 '$4 == 59 || $4 == 0'
row "at :x1" 1 '$4 % 10 == 1'
row "all other seconds" 1 '$4 != 0 && $4 != 59 && $4 % 10 != 1'
cat <<HEAD

Her threads' waits for a processor over the stretch (schedstat's run-queue time), per
wake-up:

| level | thread | wake-ups | run-queue wait per wake-up |
|---|---|---|---|
HEAD
for level in "${levels[@]}"; do
    join -t$'\t' <(sort "$workdir/waits$level.0") <(sort "$workdir/waits$level.1") |
        awk -F'\t' -v level="$level" '
        { n = $5 - $3; if (n > 0) printf "| %s | %s | %d | %.3f ms |\n", level, $1, n, ($4 - $2) / n / 1e6 }'
done
echo
