#!/usr/bin/env bash
# How soon the dial follows the wall clock: the delay from each change of second to the
# dial's repaint for it, from the program's own repaint trace, split into the clock thread's
# wake-up and the hand-over to the repaint, and set beside how busy the machine was in each
# second. Prints one section of docs/benchmarks.md.
#   bench/sections/30-repaint-delay.sh [seconds]  (default 300; HOURLING=path or BUILD=dir)
source "$(dirname "$0")/../xvfb-session.sh"
seconds=${1:-300}
trace=$workdir/repaints
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

HOURLING_TRACE_REPAINT=$trace "$program" >/dev/null 2>&1 &
her=$!
pids+=($her)
sleep 3
# Run-queue waits of her threads: schedstat's second field, and her wake-ups.
run_waits() {
    local task
    for task in /proc/"$her"/task/*; do
        printf '%s\t%s\t%s\n' "$(cat "$task/comm")" "$(cut -d' ' -f2 "$task/schedstat")" \
            "$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task/status")"
    done
}
run_waits >"$workdir/waits.0"
load0=$(cut -d' ' -f1-3 /proc/loadavg)
sleep "$seconds"
load1=$(cut -d' ' -f1-3 /proc/loadavg)
run_waits >"$workdir/waits.1"

# Per traced second: total delay, clock thread's wake-up, hand-over and paint (ms), the
# second of the minute, and the share of the processors others kept busy in it.
# The first few repaints belong to the start-up.
tail -n +4 "$trace" | awk -v busyfile="$busy" '
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
}' >"$workdir/delays"

# p50, p99 and max of a column, over the rows that pass a filter.
stats() {
    awk -F'\t' -v col="$1" "$2" "$workdir/delays" | cut -f"$1" | sort -n | awk '
    { d[NR] = $1 }
    END {
        if (NR == 0) { print "0\t-\t-\t-"; exit }
        p50 = int(NR * 0.50); if (p50 < 1) p50 = 1
        p99 = int(NR * 0.99); if (p99 < 1) p99 = 1
        printf "%d\t%.2f ms\t%.2f ms\t%.2f ms\n", NR, d[p50], d[p99], d[NR]
    }'
}
row() {
    IFS=$'\t' read -r n p50 p99 max < <(stats "$2" "$3")
    printf '| %s | %s | %s | %s | %s |\n' "$1" "$n" "$p50" "$p99" "$max"
}

[[ -s $workdir/delays ]] || { echo "No repaints were traced."; exit 1; }
cat <<HEAD
## How soon the dial follows the clock

Her analog dial repainted for each new second, over $seconds s: the delay after the whole
second of the wall clock, as the program's repaint trace (HOURLING_TRACE_REPAINT) records
it, split at the moment her clock thread takes up the second (its wake-up, target for the
whole: p99 at most 5 ms). Load average $load0 at the start, $load1 at the end.

| | repaints | p50 | p99 | max |
|---|---|---|---|---|
HEAD
row "change of second to repaint" 1 '1'
row "… to her clock thread awake" 2 '1'
row "… clock thread awake to repaint" 3 '1'
cat <<HEAD

The same delay by what the rest of the machine did in that second (the share of both
processors busy, from /proc/stat sampled half-way through each second), and by the second
of the minute (at :59 she builds the next minute's dial after the repaint; at :x1 the title
changes):

| seconds | repaints | p50 | p99 | max |
|---|---|---|---|---|
HEAD
row "machine under a quarter busy" 1 '$5 >= 0 && $5 < 0.25'
row "machine a quarter to three quarters busy" 1 '$5 >= 0.25 && $5 < 0.75'
row "machine over three quarters busy" 1 '$5 >= 0.75'
row "at :00" 1 '$4 == 0'
row "at :59" 1 '$4 == 59'
row "at :x1" 1 '$4 % 10 == 1'
row "all other seconds" 1 '$4 != 0 && $4 != 59 && $4 % 10 != 1'
cat <<HEAD

Her threads' waits for a processor over the stretch (schedstat's run-queue time), per
wake-up:

| thread | wake-ups | run-queue wait per wake-up |
|---|---|---|
HEAD
join -t$'\t' <(sort "$workdir/waits.0") <(sort "$workdir/waits.1") | awk -F'\t' '
    { n = $5 - $3; if (n > 0) printf "| %s | %d | %.3f ms |\n", $1, n, ($4 - $2) / n / 1e6 }'
echo
