#!/usr/bin/env bash
# Her start beside the yardsticks: a bare Qt window of her size, the same with Qt Multimedia
# linked, and with a sound output made before the window shows (with a sound server and
# without one). Prints one section of docs/benchmarks.md.
#   bench/sections/20-start-up.sh [runs]   (default 11; HOURLING=path or BUILD=dir pick her)
source "$(dirname "$0")/../xvfb-session.sh"
runs=${1:-11}
maptime=$build/bench/map-time
for tool in map-time start-probe-bare start-probe-multimedia-linked start-probe-audio-output; do
    [[ -x $build/bench/$tool ]] || { echo "no $build/bench/$tool (build first)" >&2; exit 1; }
done

# A sound server with a null sink, as a desktop has one.
pulse=$workdir/pulse.socket
sound=no
if command -v pulseaudio >/dev/null; then
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr \
        --load="module-null-sink sink_name=null" \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$pulse" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do
        if PULSE_SERVER=unix:$pulse pactl info >/dev/null 2>&1; then sound=yes; break; fi
        sleep 0.1
    done
fi

names=(bare linked sink nosink hourling)
declare -A label=(
    [bare]="bare Qt window"
    [linked]="the same, Qt Multimedia linked"
    [sink]="the same, a sound output made before the show (sound server running)"
    [nosink]="the same, a sound output made before the show (no sound server)"
    [hourling]="hourling")
run_one() {
    case $1 in
    bare) "$maptime" "$build/bench/start-probe-bare" ;;
    linked) "$maptime" "$build/bench/start-probe-multimedia-linked" ;;
    sink) PULSE_SERVER=unix:$pulse "$maptime" "$build/bench/start-probe-audio-output" ;;
    nosink) PULSE_SERVER=unix:$workdir/none "$maptime" "$build/bench/start-probe-audio-output" ;;
    hourling) "$maptime" "$program" ;;
    esac
}
declare -A starts
for round in $(seq 0 "$runs"); do
    for name in "${names[@]}"; do
        [[ $name == sink && $sound == no ]] && continue
        ms=$(run_one "$name" 2>/dev/null) || ms=
        if ((round > 0)) && [[ -n $ms ]]; then starts[$name]+="$ms"$'\n'; fi
    done
done

bare=$(median <<<"${starts[bare]}")
cat <<HEAD
## Start-up beside a bare Qt window

From fork to the X server mapping the first top-level window, the median of $runs runs taken
in turns after one warming round; the yardsticks are small programs under bench/. The target
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
[[ $sound == yes ]] || echo $'\nNo sound server could be started here, so the row with one is missing.'
echo
