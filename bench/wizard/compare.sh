#!/usr/bin/env bash
# Times encrypting one file through the encrypt wizard against `vantrel-cli encrypt`, same
# file, same algorithm, same password, whole processes, alternating, and prints the medians of
# each and their ratios (the wizard's over the terminal's): wall time, and processor time
# (user + system), which a busy machine disturbs less; and the wizard's time from the Encrypt
# click to its finish page, which leaves out the toolkit's start-up.
#
#   bench/wizard/compare.sh BUILD_DIR [SIZE_MIB=256] [POSITION=0] [ROUNDS=5]
set -euo pipefail
build="$(cd "${1:?usage: compare.sh BUILD_DIR [SIZE_MIB] [POSITION] [ROUNDS]}" && pwd)"
size="${2:-256}" position="${3:-0}" rounds="${4:-5}"
bin="$build/bin"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
printf 'benchmark' > "$work/password"
head -c "$((size << 20))" /dev/urandom > "$work/data.bin"

seconds() {  # "wall cpu" of a command, in seconds
    local TIMEFORMAT='%R %U %S' t
    t=$( { time "$@" > /dev/null 2> "$work/last.err"; } 2>&1 ) || { cat "$work/last.err" >&2; return 1; }
    set -- $t
    echo "$1 $(echo "$2 + $3" | bc -l) $(sed -n 's/^wizard run: \([0-9.]*\) s.*/\1/p' "$work/last.err")"
}
median() { sort -g | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

: > "$work/cli" ; : > "$work/wizard"
for ((i = 0; i < rounds; i++)); do
    rm -f "$work/data.bin.enc"
    seconds "$bin/vantrel-cli" encrypt -a "$position" --password-file "$work/password" "$work/data.bin" >> "$work/cli"
    rm -f "$work/data.bin.enc"
    seconds "$bin/wizard_encrypt" "$position" "$work/password" "$work/data.bin" >> "$work/wizard"
done
column() { cut -d' ' -f"$1" "$2"; }
report() {  # label, field
    local c w
    c=$(column "$2" "$work/cli" | median) w=$(column "$2" "$work/wizard" | median)
    printf '%-10s vantrel-cli %.3f s   wizard %.3f s   ratio %.3f\n' "$1" "$c" "$w" "$(echo "$w / $c" | bc -l)"
}
echo "file: ${size} MiB, algorithm position ${position}, ${rounds} rounds each, medians"
report wall 1
report cpu 2
# The wizard's own clock, from the Encrypt click to the finish page (no start-up of the
# toolkit), beside the terminal's whole process.
c=$(column 1 "$work/cli" | median) w=$(column 3 "$work/wizard" | median)
printf '%-10s vantrel-cli %.3f s   wizard %.3f s   ratio %.3f   (click to finish page)\n' run "$c" "$w" "$(echo "$w / $c" | bc -l)"
