#!/usr/bin/env bash
# Her at 50 % and 200 % of her size beside her at 100 % and xclock -update 1 on one private X
# server: processor time, wake-ups and resident memory while idling, start to a mapped window,
# and her window, with her targets at each size marked met or not. Prints one section of
# docs/benchmarks.md.
#   bench/sections/70-size.sh [seconds]   (idle stretch; default BENCH_IDLE_SECONDS, else 60;
#   START_RUNS=n starts each, default 9; HOURLING=path or BUILD=dir pick her)
source "$(dirname "$0")/../xvfb-session.sh"
seconds=${1:-${BENCH_IDLE_SECONDS:-60}}
runs=${START_RUNS:-9}
settle=5

# Each size has a settings folder of its own, so that the three of her are not one instance,
# and a place of its own right of xclock's corner, all of her on the screen.
names=(size100 size50 size200 xclock)
declare -A left=([size100]=200 [size50]=420 [size200]=540)
declare -A percent=([size100]=100 [size50]=50 [size200]=200)
for size in size100 size50 size200; do
    mkdir -p "$workdir/$size/hourling"
    sed -e "s/^\"FormLeft\"=.*/\"FormLeft\"=dword:$(printf %08x "${left[$size]}")/" \
        -e "s/^\"Size\"=.*/\"Size\"=dword:$(printf %08x "${percent[$size]}")/" \
        "$root/bench/defaults.reg" >"$workdir/$size/hourling/user.reg"
    grep -q "\"Size\"=dword:$(printf %08x "${percent[$size]}")" "$workdir/$size/hourling/user.reg" ||
        { echo "bench/defaults.reg has no Size value" >&2; exit 1; }
done
declare -A command=(
    [size100]="env XDG_CONFIG_HOME=$workdir/size100 $program"
    [size50]="env XDG_CONFIG_HOME=$workdir/size50 $program"
    [size200]="env XDG_CONFIG_HOME=$workdir/size200 $program"
    [xclock]="xclock -update 1")
declare -A label=([size100]="her, 100 %" [size50]="her, 50 %" [size200]="her, 200 %"
    [xclock]="xclock -update 1")

time_starts "$runs" command "${names[@]}"
idle_side_by_side "$seconds" "$settle" command "${names[@]}"
screen=$(xdpyinfo | awk '/dimensions:/ { print $2 }')

declare -A figure
for name in "${names[@]}"; do
    IFS=';' read -r "figure[$name,cpu]" "figure[$name,wake]" "figure[$name,pre]" \
        "figure[$name,mb]" "figure[$name,start]" "figure[$name,depth]" "figure[$name,window]" \
        < <(summary "$name")
done

start_ratio() {
    awk -v a="${figure[$1,start]}" -v b="${figure[size100,start]}" \
        'BEGIN { if (a != "" && b + 0 > 0) printf "%.2f", a / b }'
}

cat <<HEAD
## Her sizes

One private X server (Xvfb, $screen at depth 24, no window manager, no compositor).
She runs three times from three settings folders, stored at 100 %, 50 % and 200 % of her
size (the Size value); xclock -update 1 is the yardstick. Idle: the four side by side for
$(printf %.0f "$idle_interval") s, after $settle s to settle. Processor time is utime and stime of
/proc/<pid>/stat, in ticks of 1/$ticks_per_second s; a wake-up is a voluntary context switch of any
thread, a preemption a nonvoluntary one. Resident memory is read at the end of the stretch.
Start: from fork to the X server mapping the first top-level window, the median of $runs runs
taken in turns after one warming round. The window is her top-level one as xwininfo sees it.

| | ${label[size100]} | ${label[size50]} | ${label[size200]} | ${label[xclock]} |
|---|---|---|---|---|
HEAD
row "CPU % of a core" cpu ""
row "wake-ups/s" wake ""
row "preemptions/s" pre ""
row "RSS after $(printf %.0f "$idle_interval") s" mb " MB"
row "start to mapped window" start " ms"
row "window (width x height + x + y)" window ""
echo
for size in size100 size50 size200; do
    printf '%s: idle CPU at most 0.1 %% of a core: %s; at most 3 wake-ups/s: %s' "${label[$size]}" \
        "$(target "${figure[$size,cpu]}" 0.1 "${figure[$size,cpu]}")" \
        "$(target "${figure[$size,wake]}" 3 "${figure[$size,wake]}")"
    if [[ $size != size100 ]]; then
        printf '; start at most 1.2 times her start at 100 %%: %s' \
            "$(target "$(start_ratio "$size")" 1.2 "$(start_ratio "$size")")"
    fi
    if [[ $size == size200 ]]; then
        printf '; RSS at most 60 MB: %s' "$(target "${figure[$size,mb]}" 60 "${figure[$size,mb]} MB")"
    fi
    printf '.\n\n'
done
