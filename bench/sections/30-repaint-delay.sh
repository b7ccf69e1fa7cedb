#!/usr/bin/env bash
# How soon the dial follows the wall clock: the delay from each change of second to the
# dial's repaint for it, from the program's own repaint trace. Prints one section of
# docs/benchmarks.md.
#   bench/sections/30-repaint-delay.sh [seconds]  (default 60; HOURLING=path or BUILD=dir)
source "$(dirname "$0")/../xvfb-session.sh"
seconds=${1:-60}
trace=$workdir/repaints

HOURLING_TRACE_REPAINT=$trace "$program" >/dev/null 2>&1 &
pids+=($!)
sleep "$seconds"

cat <<HEAD
## How soon the dial follows the clock

Her dial repainted for each new second, over $seconds s: the delay after the whole second of
the wall clock, as the program's repaint trace (HOURLING_TRACE_REPAINT) records it.

HEAD
# The first few repaints belong to the start-up.
tail -n +4 "$trace" | awk '{ print ($1 % 1000000000) / 1e6 }' | sort -n | awk '
{ d[NR] = $1 }
END {
    if (NR == 0) { print "No repaints were traced."; exit 1 }
    p50 = int(NR * 0.50); if (p50 < 1) p50 = 1
    p99 = int(NR * 0.99); if (p99 < 1) p99 = 1
    print "| repaints | p50 | p99 | max |"
    print "|---|---|---|---|"
    printf "| %d | %.2f ms | %.2f ms | %.2f ms |\n", NR, d[p50], d[p99], d[NR]
}'
echo
