#!/usr/bin/env bash
# Her start with a settings file of 1 MiB, and the time each of her dialogs takes to open
# with it, beside the same with the default settings. Prints one section of
# docs/benchmarks.md.
#   bench/sections/50-large-settings.sh [runs]   (default 5; HOURLING=path or BUILD=dir pick her)
source "$(dirname "$0")/../xvfb-session.sh"
runs=${1:-5}
dialogtime=$build/bench/dialog-time
[[ -x $dialogtime ]] || { echo "no $dialogtime (build first)" >&2; exit 1; }

# The default file, and one of 1 MiB: the first schedule's and the first anniversary's
# message half of it each, letters without a space or a line break, as a hand-edited or
# hostile file may hold them.
mkdir -p "$workdir/defaults/hourling" "$workdir/large/hourling"
cp "$root/bench/defaults.reg" "$workdir/defaults/hourling/user.reg"
base=$(wc -c <"$root/bench/defaults.reg")
half=$(((1048576 - base) / 2))
rest=$((1048576 - base - half))
head -c "$half" /dev/zero | tr '\0' x >"$workdir/schedule-message"
head -c "$rest" /dev/zero | tr '\0' x >"$workdir/anniversary-message"
awk -v schedule="$workdir/schedule-message" -v anniversary="$workdir/anniversary-message" '
    /^"yoMes0"=/ { getline text <schedule; print "\"yoMes0\"=\"" text "\""; next }
    /^"kiMes0"=/ { getline text <anniversary; print "\"kiMes0\"=\"" text "\""; next }
    { print }' "$root/bench/defaults.reg" >"$workdir/large/hourling/user.reg"
size=$(wc -c <"$workdir/large/hourling/user.reg")
((size == 1048576)) || { echo "the large file has $size bytes, not 1 MiB" >&2; exit 1; }

# Picked in her menu with the keyboard: the version box by its key, the two settings dialogs
# by their places below it.
dialogs=(version anniversaries schedules)
declare -A keys=([version]="a" [anniversaries]="Down,Down,Down,Down,Down,Down,Return"
    [schedules]="Down,Down,Down,Down,Down,Down,Down,Return")
declare -A label=([version]="version box" [anniversaries]="anniversaries (記念日設定)"
    [schedules]="schedules (予定設定)")
specs=()
for name in "${dialogs[@]}"; do specs+=("$name=${keys[$name]}"); done

# One run: her start, then each dialog opened and closed again; the files take turns, and
# the first round only warms the caches. A save at each end writes the file back as it was.
declare -A took
for round in $(seq 0 "$runs"); do
    for file in defaults large; do
        out=$(XDG_CONFIG_HOME=$workdir/$file "$dialogtime" "$program" "${specs[@]}" 2>"$workdir/err") ||
            { echo "dialog-time failed with the $file file:" >&2; cat "$workdir/err" >&2; exit 1; }
        ((round > 0)) || continue
        while read -r what ms; do took[$file.$what]+="$ms"$'\n'; done <<<"$out"
    done
done
size=$(wc -c <"$workdir/large/hourling/user.reg")

cell() { median <<<"${took[$1]:-}"; }
cat <<HEAD
## A settings file of 1 MiB

Her start, from fork to the X server mapping her window, and the opening of each of her
dialogs: from her menu closing on its item to the dialog mapped and drawn (it has answered
a second _NET_WM_PING sent once it answered the first; bench/DialogTime.cpp), each closed
again by its close box before the next. The large file is the default one with the first
schedule's and the first anniversary's messages filled with letters without a space or a
line break, half of 1 MiB each; her closes wrote it back at $size bytes. The median of $runs runs taken
in turns after one warming round, on one private X server without a window manager.

| | default settings ($base bytes) | settings file of 1 MiB |
|---|---|---|
HEAD
printf '| start to mapped window | %s ms | %s ms |\n' "$(cell defaults.start)" "$(cell large.start)"
for name in "${dialogs[@]}"; do
    printf '| %s | %s ms | %s ms |\n' "${label[$name]}" "$(cell "defaults.$name")" "$(cell "large.$name")"
done
echo
