#!/usr/bin/env bash
# Her cost with the analog and the digital dial beside xclock -update 1 and oclock on one
# private X server: processor time, wake-ups per thread and resident memory while idling,
# and the time from start to a mapped window. Prints one section of docs/benchmarks.md.
#   bench/sections/10-cost.sh [seconds]   (default BENCH_IDLE_SECONDS, else 60; HOURLING=path
#   or BUILD=dir pick her)
source "$(dirname "$0")/../xvfb-session.sh"
seconds=${1:-${BENCH_IDLE_SECONDS:-60}}
runs=${START_RUNS:-5}
settle=5

# Each dial of hers has a settings folder of its own; the digital one starts from a file
# written as a save leaves it, with the dial digital and the window beside the analog one.
mkdir -p "$workdir/analog" "$workdir/digital/hourling"
sed -e 's/^"AnaDigi"=.*/"AnaDigi"=dword:00000000/' -e 's/^"FormLeft"=.*/"FormLeft"=dword:00000190/' \
    "$root/bench/defaults.reg" >"$workdir/digital/hourling/user.reg"
grep -q '"AnaDigi"=dword:00000000' "$workdir/digital/hourling/user.reg" ||
    { echo "bench/defaults.reg has no AnaDigi value" >&2; exit 1; }

names=(analog digital xclock oclock)
declare -A command=(
    [analog]="env XDG_CONFIG_HOME=$workdir/analog $program"
    [digital]="env XDG_CONFIG_HOME=$workdir/digital $program"
    [xclock]="xclock -update 1"
    [oclock]="oclock")
declare -A label=([analog]="hourling, analog" [digital]="hourling, digital"
    [xclock]="xclock -update 1" [oclock]="oclock")

time_starts "$runs" command "${names[@]}"
grep -q '"AnaDigi"=dword:00000000' "$workdir/digital/hourling/user.reg" ||
    { echo "her digital dial did not keep its setting" >&2; exit 1; }

idle_side_by_side "$seconds" "$settle" command "${names[@]}"
interval=$idle_interval

# One line per program: CPU %, wake-ups/s, preemptions/s, RSS in MB, median start in ms.
summary() {
    local name=$1
    awk -F'\t' -v seconds="$interval" -v rss="$(<"$workdir/$name.rss")" \
        -v start="$(median <"$workdir/$name.starts")" '
        { v += $3; n += $4; ms += $5 }
        END { printf "%.3f\t%.2f\t%.2f\t%.1f\t%s\n", 100 * ms / 1000 / seconds, v, n, rss / 1024, start }' \
        "$workdir/$name.rates"
}
for name in "${names[@]}"; do summary "$name" >"$workdir/$name.summary"; done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 > 0) printf "%.1f", a / b; else printf "-" }'; }
field() { cut -f"$2" "$workdir/$1.summary"; }

cat <<HEAD
## Cost beside xclock and oclock

One private X server (Xvfb, no window manager). She runs twice, from two settings folders:
with her default analog dial, and with the digital dial from a settings file written before
the start. Idle: all four side by side for $(printf %.0f "$interval") s, after $settle s to settle; resident
memory is read at the end of that stretch. Processor time is what
/proc/<pid>/task/*/schedstat counts; a wake-up is a voluntary context switch (a thread
going to sleep, to be woken), a preemption a nonvoluntary one (the machine's other load
decides those). Start: from fork to the X server mapping the first top-level window, the
median of $runs runs taken in turns after one warming round. A ratio is "-" where the
yardstick measured nothing.

| | CPU % of a core | wake-ups/s | preemptions/s | RSS after $(printf %.0f "$interval") s | start to mapped window |
|---|---|---|---|---|---|
HEAD
for name in "${names[@]}"; do
    IFS=$'\t' read -r cpu wake pre mb start <"$workdir/$name.summary"
    printf '| %s | %s | %s | %s | %s MB | %s ms |\n' "${label[$name]}" "$cpu" "$wake" "$pre" "$mb" "$start"
done
for dial in analog digital; do
    for yardstick in xclock oclock; do
        printf '| %s ÷ %s | %s | %s | | %s | %s |\n' "$dial" "$yardstick" \
            "$(ratio "$(field $dial 1)" "$(field $yardstick 1)")" \
            "$(ratio "$(field $dial 2)" "$(field $yardstick 2)")" \
            "$(ratio "$(field $dial 4)" "$(field $yardstick 4)")" \
            "$(ratio "$(field $dial 5)" "$(field $yardstick 5)")"
    done
done
printf '| target for hourling | at most 0.1 | at most 3 | | at most 40 MB | see the start-up section |\n'

cat <<HEAD

Per thread over the same stretch:

| program | thread | wake-ups/s | preemptions/s | CPU ms |
|---|---|---|---|---|
HEAD
for name in "${names[@]}"; do
    sort -t$'\t' -k1,1n "$workdir/$name.rates" |
        awk -F'\t' -v main="$(<"$workdir/$name.pid")" -v program="${label[$name]}" '{
            printf "| %s | %s | %s | %s | %s |\n", program,
                   $1 == main ? "main (" $2 ")" : $2, $3, $4, $5 }'
done
echo
