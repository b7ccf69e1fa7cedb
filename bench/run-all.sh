#!/usr/bin/env bash
# Runs every benchmark section under bench/sections/ in order, on one private X server, and
# writes docs/benchmarks.md: the machine and the date, then each section as its script
# prints it. A new figure is a new script there that prints a "## " section in Markdown.
#   bench/run-all.sh [output]   (default docs/benchmarks.md; BUILD=dir picks the build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
output=${1:-$root/docs/benchmarks.md}

source "$here/xvfb-session.sh"
export BENCH_DISPLAY=$DISPLAY

body=$workdir/body.md
: >"$body"
for section in "$here"/sections/*.sh; do
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

HEAD
    cat "$body"
} >"$output"
echo "bench: wrote $output" >&2
