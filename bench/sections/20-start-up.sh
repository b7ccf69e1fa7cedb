#!/usr/bin/env bash
# Her start beside a bare Qt window of her size. Prints one section of docs/benchmarks.md.
#   bench/sections/20-start-up.sh [runs]   (default 11; HOURLING=path or BUILD=dir pick her)
source "$(dirname "$0")/../xvfb-session.sh"
runs=${1:-11}
[[ -x $build/bench/start-probe-bare ]] ||
    { echo "no $build/bench/start-probe-bare (build first)" >&2; exit 1; }

names=(bare hourling)
declare -A label=(
    [bare]="bare Qt window"
    [hourling]="hourling")
declare -A command=(
    [bare]="$build/bench/start-probe-bare"
    [hourling]="$program")
time_starts "$runs" command "${names[@]}"

bare=$(median <"$workdir/bare.starts")
cat <<HEAD
## Start-up beside a bare Qt window

From fork to the X server mapping the first top-level window, the median of $runs runs taken
in turns after one warming round; the bare window is a small program under bench/. The target
for her is at most 1.5 times the bare window.

| program | start to mapped window | ÷ bare window |
|---|---|---|
HEAD
for name in "${names[@]}"; do
    [[ -s $workdir/$name.starts ]] || continue
    ms=$(median <"$workdir/$name.starts")
    printf '| %s | %s ms | %s |\n' "${label[$name]}" "$ms" \
        "$(awk -v a="$ms" -v b="$bare" 'BEGIN { printf "%.2f", a / b }')"
done
echo
