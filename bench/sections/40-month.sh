#!/usr/bin/env bash
# One simulated month of her clock, dial, schedules, anniversaries and loneliness together
# (bench/MonthBench.cpp), as fast as it runs: the time it takes and her resident memory
# along the way. Prints one section of docs/benchmarks.md.
#   bench/sections/40-month.sh [days]   (default 31; BUILD=dir picks the build)
source "$(dirname "$0")/../xvfb-session.sh"
days=${1:-31}
month=$build/bench/month-bench
[[ -x $month ]] || { echo "no $month (build first)" >&2; exit 1; }

out=$workdir/month
QT_QPA_PLATFORM=offscreen "$month" "$days" >"$out" 2>"$workdir/month.log" ||
    { echo "month-bench failed:" >&2; cat "$workdir/month.log" >&2; exit 1; }
value() { awk -F'\t' -v key="$1" '$1 == key { print $2 }' "$out"; }

cat <<HEAD
## One simulated month

Her window and balloon built over a settings file with three schedules (two every day, one
once), three anniversaries (one every month) and a patience of 5 minutes (her chance smiles,
about nine minutes apart, start her wait afresh), with a fake wall clock, fake timers and a
fake sound output, and her clock loop run over $days days of seconds, each second at once
after the last (bench/MonthBench.cpp, no display). Each second the dial is painted, each
minute composed; due schedules and anniversaries are announced in her balloon; she grows
lonely, calls and cries, and is touched half a minute after she began to call, or to cry,
by turns (her chance smiles shift that about). By the end of the first simulated day she
has done all of it at least once, so that memory taken there is the start against which
growth counts.

| point | simulated days | time taken | RSS |
|---|---|---|---|
HEAD
awk -F'\t' '$1 == "checkpoint" { printf "| %s | %.1f | %.1f s | %.1f MB (%d kB) |\n", $2, $3, $4, $5 / 1024, $5 }' "$out"
cat <<HEAD

| seconds simulated | dial paints | dial compositions | announcements shown | clips played | lonely calls | cries | touches | touches that comforted her |
|---|---|---|---|---|---|---|---|---|
| $(value seconds) | $(value paints) | $(value compositions) | $(value announcements) | $(value clips) | $(value "lonely calls") | $(value cries) | $(value touches) | $(value comforts) |

HEAD
awk -F'\t' '$1 == "checkpoint" { rss[$2] = $5; t[$2] = $4 }
    END { printf "Growth from the end of the first day to the end: %+d kB over %.0f days; %.0f simulated seconds per second of real time.\n",
                 rss["end"] - rss["first day"], '"$days"' - 1, '"$(value seconds)"' / t["end"] }' "$out"
echo
