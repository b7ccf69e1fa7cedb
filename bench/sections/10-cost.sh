#!/usr/bin/env bash
# Her cost beside xclock -update 1 and oclock on one private X server: processor time,
# wake-ups and resident memory while idling with her analog dial, and the time from start
# to a mapped window. Prints one section of docs/benchmarks.md.
#   bench/sections/10-cost.sh [seconds]   (default 60; HOURLING=path or BUILD=dir pick her)
source "$(dirname "$0")/../xvfb-session.sh"
seconds=${1:-60}
runs=${START_RUNS:-5}
settle=5
maptime=$build/bench/map-time
[[ -x $maptime ]] || { echo "no $maptime (build first)" >&2; exit 1; }

names=(hourling xclock oclock)
declare -A command=([hourling]="$program" [xclock]="xclock -update 1" [oclock]="oclock")
declare -A label=([hourling]="hourling" [xclock]="xclock -update 1" [oclock]="oclock")

# Start to mapped window, the programs taking turns; the first round only warms the caches.
declare -A starts
for round in $(seq 0 "$runs"); do
    for name in "${names[@]}"; do
        # shellcheck disable=SC2086
        ms=$("$maptime" ${command[$name]} 2>/dev/null) || ms=
        if ((round > 0)) && [[ -n $ms ]]; then starts[$name]+="$ms"$'\n'; fi
    done
done

# Idling side by side.
declare -A pid
for name in "${names[@]}"; do
    # shellcheck disable=SC2086
    ${command[$name]} >/dev/null 2>&1 &
    pid[$name]=$!
    pids+=($!)
done
sleep "$settle"
for name in "${names[@]}"; do thread_counters "${pid[$name]}" >"$workdir/$name.0"; done
t0=$(date +%s.%N)
sleep "$seconds"
t1=$(date +%s.%N)
interval=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
declare -A rss
for name in "${names[@]}"; do
    thread_counters "${pid[$name]}" >"$workdir/$name.1"
    thread_rates "$workdir/$name.0" "$workdir/$name.1" "$interval" >"$workdir/$name.rates"
    rss[$name]=$(rss_kb "${pid[$name]}")
done

# One line per program: CPU %, wake-ups/s, preemptions/s, RSS in MB, median start in ms.
summary() {
    local name=$1
    awk -F'\t' -v seconds="$interval" -v rss="${rss[$name]}" -v start="$(median <<<"${starts[$name]:-}")" '
        { v += $3; n += $4; ms += $5 }
        END { printf "%.3f\t%.2f\t%.2f\t%.1f\t%s\n", 100 * ms / 1000 / seconds, v, n, rss / 1024, start }' \
        "$workdir/$name.rates"
}
for name in "${names[@]}"; do summary "$name" >"$workdir/$name.summary"; done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 > 0) printf "%.1f", a / b; else printf "-" }'; }
field() { cut -f"$2" "$workdir/$1.summary"; }

cat <<HEAD
## Cost beside xclock and oclock

One private X server (Xvfb, no window manager), each program with its default settings
(her analog dial). Idle: all three side by side for $(printf %.0f "$interval") s, after $settle s to settle.
Processor time is what /proc/<pid>/task/*/schedstat counts; a wake-up is a voluntary context
switch (a thread going to sleep, to be woken), a preemption a nonvoluntary one (the
machine's other load decides those). Start: from fork to the X server mapping the first
top-level window, the median of $runs runs taken in turns after one warming round.

| | CPU % of a core | wake-ups/s | preemptions/s | RSS | start to mapped window |
|---|---|---|---|---|---|
HEAD
for name in "${names[@]}"; do
    IFS=$'\t' read -r cpu wake pre mb start <"$workdir/$name.summary"
    printf '| %s | %s | %s | %s | %s MB | %s ms |\n' "${label[$name]}" "$cpu" "$wake" "$pre" "$mb" "$start"
done
printf '| hourling ÷ xclock | %s | %s | | %s | %s |\n' \
    "$(ratio "$(field hourling 1)" "$(field xclock 1)")" "$(ratio "$(field hourling 2)" "$(field xclock 2)")" \
    "$(ratio "$(field hourling 4)" "$(field xclock 4)")" "$(ratio "$(field hourling 5)" "$(field xclock 5)")"
printf '| target for hourling | at most 0.1 | at most 3 | | at most 40 MB | see the start-up section |\n'

cat <<HEAD

Her threads over the same stretch:

| thread | wake-ups/s | preemptions/s | CPU ms |
|---|---|---|---|
HEAD
sort -t$'\t' -k1,1n "$workdir/hourling.rates" |
    awk -F'\t' -v main="${pid[hourling]}" '{
        printf "| %s | %s | %s | %s |\n", $1 == main ? "user interface (" $2 ")" : $2, $3, $4, $5 }'
echo
