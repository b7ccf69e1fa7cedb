#!/usr/bin/env bash
# Her at scale 2 beside her at scale 1 and xclock -update 1 on one private X server:
# processor time, wake-ups and resident memory while idling, start to a mapped window, and
# the depth of the window each shows, with her targets at scale 2 marked met or not. Prints
# one section of docs/benchmarks.md.
#   bench/sections/60-scale.sh [seconds]   (idle stretch; default BENCH_IDLE_SECONDS, else 60;
#   START_RUNS=n starts each, default 9; HOURLING=path or BUILD=dir pick her)
source "$(dirname "$0")/../xvfb-session.sh"
seconds=${1:-${BENCH_IDLE_SECONDS:-60}}
runs=${START_RUNS:-9}
settle=5

# Each scale has a settings folder of its own, so that the two of her are not one instance,
# and a place of its own: at scale 1 right of xclock's corner, at scale 2 (a place in her
# own, logical pixels) right of her at scale 1, all of her on the screen.
names=(scale1 scale2 xclock)
declare -A left=([scale1]=200 [scale2]=400)
for scale in scale1 scale2; do
    mkdir -p "$workdir/$scale/hourling"
    sed -e "s/^\"FormLeft\"=.*/\"FormLeft\"=dword:$(printf %08x "${left[$scale]}")/" \
        "$root/bench/defaults.reg" >"$workdir/$scale/hourling/user.reg"
done
declare -A command=(
    [scale1]="env XDG_CONFIG_HOME=$workdir/scale1 $program"
    [scale2]="env QT_SCALE_FACTOR=2 XDG_CONFIG_HOME=$workdir/scale2 $program"
    [xclock]="xclock -update 1")
declare -A label=([scale1]="her, scale 1" [scale2]="her, scale 2" [xclock]="xclock -update 1")

time_starts "$runs" command "${names[@]}"
idle_side_by_side "$seconds" "$settle" command "${names[@]}"
screen=$(xdpyinfo | awk '/dimensions:/ { print $2 }')

declare -A figure
for name in "${names[@]}"; do
    IFS=';' read -r "figure[$name,cpu]" "figure[$name,wake]" "figure[$name,pre]" \
        "figure[$name,mb]" "figure[$name,start]" "figure[$name,depth]" "figure[$name,window]" \
        < <(summary "$name")
done

ratio=$(awk -v a="${figure[scale2,start]}" -v b="${figure[scale1,start]}" \
    'BEGIN { if (a != "" && b + 0 > 0) printf "%.2f", a / b }')
s1=${figure[scale1,window]%%+*}
s2=${figure[scale2,window]%%+*}
doubled=$(awk -v a="$s1" -v b="$s2" 'BEGIN { split(a, p, "x"); split(b, q, "x")
    print (p[1] && 2 * p[1] == q[1] && 2 * p[2] == q[2]) ? "yes" : "no" }')

cat <<HEAD
## Her at scale 2

One private X server (Xvfb, $screen at depth 24, no window manager, no compositor).
She runs twice from two settings folders, at scale 1 and at scale 2 (QT_SCALE_FACTOR=2 in her
environment alone); xclock -update 1 is the yardstick. QT_SCALE_FACTOR_ROUNDING_POLICY does
not matter here: it rounds only the factor Qt takes from the screen, and this server sets no
Xft.dpi, so that factor is 1 under any policy; the bench clears the caller's QT_ scaling
variables. Idle: the three side by side for $(printf %.0f "$idle_interval") s, after $settle s to settle. Processor
time is utime and stime of /proc/<pid>/stat, so whole processes, in ticks of 1/$ticks_per_second s (one
tick over the stretch is $(awk -v s="$idle_interval" -v hz="$ticks_per_second" 'BEGIN { printf "%.3f", 100 / hz / s }') % of a core); a wake-up is a voluntary context switch of
any thread (/proc/<pid>/task/*/status), a preemption a nonvoluntary one, which the machine's
other load decides. Resident memory is read at the end of the stretch. Start: from fork to
the X server mapping the first top-level window, the median of $runs runs taken in turns
after one warming round. The window is the program's own top-level one as xwininfo sees it
from outside, in device pixels.

| | ${label[scale1]} | ${label[scale2]} | ${label[xclock]} |
|---|---|---|---|
HEAD
row "CPU % of a core" cpu ""
row "wake-ups/s" wake ""
row "preemptions/s" pre ""
row "RSS after $(printf %.0f "$idle_interval") s" mb " MB"
row "start to mapped window" start " ms"
row "window depth (xwininfo)" depth ""
row "window (width x height + x + y)" window ""
cat <<TAIL

Start at scale 2 ÷ start at scale 1: ${ratio:-not measured}.$([[ $doubled == yes ]] ||
    echo " Her window at scale 2 is not twice her window at scale 1: the scale did not take.")

Targets at scale 2: idle CPU at most 0.1 % of a core: $(target "${figure[scale2,cpu]}" 0.1 "${figure[scale2,cpu]}");
at most 3 wake-ups/s: $(target "${figure[scale2,wake]}" 3 "${figure[scale2,wake]}");
start at most 1.5 times her start at scale 1: $(target "$ratio" 1.5 "$ratio");
RSS at most 60 MB: $(target "${figure[scale2,mb]}" 60 "${figure[scale2,mb]} MB").

TAIL
