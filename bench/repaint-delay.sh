#!/usr/bin/env bash
# How soon the dial follows the wall clock: the delay from each change of second to the
# dial's repaint for it, from the program's own repaint trace.
#   bench/repaint-delay.sh [seconds]  (default 300; HOURLING=path or BUILD=dir pick the program)
source "$(dirname "$0")/xvfb-session.sh"
seconds=${1:-300}
trace=$workdir/repaints

HOURLING_TRACE_REPAINT=$trace "$program" >/dev/null 2>&1 &
pids+=($!)
sleep "$seconds"

# The first few repaints belong to the start-up.
tail -n +4 "$trace" | awk '{ print ($1 % 1000000000) / 1e6 }' | sort -n | awk '
{ d[NR] = $1 }
END {
    if (NR == 0) { print "no repaints traced"; exit 1 }
    p50 = int(NR * 0.50); if (p50 < 1) p50 = 1
    p99 = int(NR * 0.99); if (p99 < 1) p99 = 1
    printf "%d repaints; delay after the whole second: p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", NR, d[p50], d[p99], d[NR]
}'
