#!/usr/bin/env bash
# Her start beside a bare Qt window of her size. Prints one section of docs/benchmarks.md.
#   bench/sections/20-start-up.sh [runs]   (default 11; HOURLING=path or BUILD=dir pick her)
source "$(dirname "$0")/../xvfb-session.sh"
runs=${1:-11}
maptime=$build/bench/map-time
for tool in map-time start-probe-bare; do
    [[ -x $build/bench/$tool ]] || { echo "no $build/bench/$tool (build first)" >&2; exit 1; }
done

names=(bare hourling)
declare -A label=(
    [bare]="bare Qt window"
    [hourling]="hourling")
run_one() {
    case $1 in
    bare) "$maptime" "$build/bench/start-probe-bare" ;;
    hourling) "$maptime" "$program" ;;
    esac
}
declare -A starts
for round in $(seq 0 "$runs"); do
    for name in "${names[@]}"; do
        ms=$(run_one "$name" 2>/dev/null) || ms=
        if ((round > 0)) && [[ -n $ms ]]; then starts[$name]+="$ms"$'\n'; fi
    done
done

bare=$(median <<<"${starts[bare]}")
cat <<HEAD
## Start-up beside a bare Qt window

From fork to the X server mapping the first top-level window, the median of $runs runs taken
in turns after one warming round; the bare window is a small program under bench/. The target
for her, set where a bare Qt window maps in about 60 ms, is at most 150 ms: 2.5 times the
bare window.

| program | start to mapped window | ÷ bare window |
|---|---|---|
HEAD
for name in "${names[@]}"; do
    [[ -z ${starts[$name]:-} ]] && continue
    ms=$(median <<<"${starts[$name]}")
    printf '| %s | %s ms | %s |\n' "${label[$name]}" "$ms" \
        "$(awk -v a="$ms" -v b="$bare" 'BEGIN { printf "%.2f", a / b }')"
done
echo
