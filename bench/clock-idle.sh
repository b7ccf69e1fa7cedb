#!/usr/bin/env bash
# Processor time and wake-ups of the running program with the analog dial showing, beside
# xclock updating each second, on the same private X server and over the same interval.
#   bench/clock-idle.sh [seconds]     (default 60; HOURLING=path or BUILD=dir pick the program)
source "$(dirname "$0")/xvfb-session.sh"
seconds=${1:-60}

"$program" >/dev/null 2>&1 &
hourling=$!
pids+=($hourling)
xclock -update 1 >/dev/null 2>&1 &
xclock=$!
pids+=($xclock)
# Start-up costs are not the steady state.
sleep 5

tick=$(getconf CLK_TCK)
h0=$(cpu_ticks $hourling); x0=$(cpu_ticks $xclock)
hs0=$(switches $hourling); xs0=$(switches $xclock)
t0=$(date +%s.%N)
sleep "$seconds"
h1=$(cpu_ticks $hourling); x1=$(cpu_ticks $xclock)
hs1=$(switches $hourling); xs1=$(switches $xclock)
t1=$(date +%s.%N)

awk -v t0="$t0" -v t1="$t1" -v tick="$tick" \
    -v h="$((h1 - h0))" -v x="$((x1 - x0))" -v hs="$((hs1 - hs0))" -v xs="$((xs1 - xs0))" '
BEGIN {
    t = t1 - t0
    printf "over %.1f s of wall time\n", t
    printf "  hourling: %.3f %% of one core, %.2f wake-ups/s\n", 100 * h / tick / t, hs / t
    printf "  xclock:   %.3f %% of one core, %.2f wake-ups/s\n", 100 * x / tick / t, xs / t
}'
