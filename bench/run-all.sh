#!/usr/bin/env bash
# Runs every benchmark section under bench/sections/ in order, on one private X server, and
# writes docs/benchmarks.md: the machine and the date, then each section as its script
# prints it. A new figure is a new script there that prints a "## " section in Markdown.
#   bench/run-all.sh [output]   (default docs/benchmarks.md; BUILD=dir picks the build)
# BENCH_SECTIONS="60 10" runs only the sections whose file names begin so; the page then
# goes to the output named, else to standard output, never over docs/benchmarks.md.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
chosen=${BENCH_SECTIONS:-}
if [[ -n $chosen ]]; then output=${1:-/dev/stdout}; else output=${1:-$root/docs/benchmarks.md}; fi

# A section runs when no filter is set or its file name begins with one of the filter's words.
chosen_section() {
    local prefix
    [[ -z $chosen ]] && return 0
    for prefix in $chosen; do
        if [[ $(basename "$1") == "$prefix"* ]]; then return 0; fi
    done
    return 1
}
sections=()
for section in "$here"/sections/*.sh; do
    if chosen_section "$section"; then sections+=("$section"); fi
done
((${#sections[@]})) || { echo "bench: no section begins with any of: $chosen" >&2; exit 1; }

source "$here/xvfb-session.sh"
export BENCH_DISPLAY=$DISPLAY

body=$workdir/body.md
: >"$body"
for section in "${sections[@]}"; do
    echo "bench: $(basename "$section")" >&2
    "$section" >>"$body"
done

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
{
    cat <<HEAD
# Benchmarks

Written by \`make bench\` (bench/run-all.sh) on $(date -u '+%Y-%m-%d %H:%M UTC'), on
$cpu, $(nproc) cores, Linux $(uname -r); load average $(cut -d' ' -f1-3 /proc/loadavg)
as it began, the machine being shared. Each section below comes from one script under
bench/sections/. Only figures taken in the same run compare well.
$([[ -z $chosen ]] || echo "
Only some sections ran: $(for section in "${sections[@]}"; do basename "$section"; done | paste -sd' ' -).")

HEAD
    cat "$body"
} >"$output"
echo "bench: wrote $output" >&2
