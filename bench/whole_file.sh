#!/usr/bin/env bash
# Whole files: `vantrel-cli encrypt` and `decrypt` beside `openssl enc` (and `enc -d`) with the
# same cipher, on one file, in turns, and the median of the rounds printed as time ratios
# (ours / openssl: lower is better), for the wall-clock time and for the processor time (user
# plus system), which a machine busy with other work disturbs less. Then the peak resident
# size of encrypting and decrypting a small and a large file, which must not grow with the file.
#   bench/whole_file.sh [BUILD_DIR] [SIZE_MIB] [ROUNDS] [TAGS...]
# Defaults: build, 256, 5, and every cipher OpenSSL has (RIJ BFS CS1 DES 3DE RC2).
# Work files go to $VANTREL_BENCH_DIR (default: a fresh folder under /var/tmp, on the disk,
# not in memory). Ours makes its output durable before naming it (fdatasync); openssl enc
# leaves its output in the page cache, so ours does strictly more.
set -euo pipefail
build=${1:-build}
size=${2:-256}
rounds=${3:-5}
shift $(($# < 3 ? $# : 3))
tags=("$@")
((${#tags[@]})) || tags=(RIJ BFS CS1 DES 3DE RC2)

cli=$(realpath "$build/bin/vantrel-cli")
command -v openssl >/dev/null || { echo "whole_file: openssl is missing (apt install openssl)" >&2; exit 1; }
work=$(mktemp -d "${VANTREL_BENCH_DIR:-/var/tmp}/vantrel-whole-file.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
printf 'benchmark\n' >"$work/password"
mkdir -p "$work/enc" "$work/dec"

# OpenSSL's name and key length (bytes) of each of ours. AES-192 and CAST5 with 16 bytes run
# the rounds ours run on its 160-bit key; `enc -K` keys Blowfish and RC2 with 16 bytes only,
# and their speed does not depend on the key length.
declare -A ossl=([RIJ]=aes-192-cbc [BFS]=bf-cbc [CS1]=cast5-cbc [DES]=des-cbc [3DE]=des-ede3-cbc [RC2]=rc2-cbc)
declare -A keylen=([RIJ]=24 [BFS]=16 [CS1]=16 [DES]=8 [3DE]=24 [RC2]=16)
declare -A ivlen=([RIJ]=16)

# Runs the command quietly; prints its wall time and its processor time, in milliseconds.
timed() {
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >/dev/null 2>"$work/err" ||
    { echo "whole_file: failed: $*" >&2; cat "$work/err" >&2; exit 1; }
  awk '{printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000}' "$work/time"
}
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
# Times the command into the wall and cpu arrays named by the first two arguments.
run() {
  local -n wall=$1 cpu=$2
  shift 2
  local w c
  read -r w c < <(timed "$@")
  [[ -n $w ]] || exit 1
  wall+=("$w")
  cpu+=("$c")
}

echo "making a $size MiB file in $work ..." >&2
head -c $((size << 20)) /dev/urandom >"$work/enc/data"

echo "| cipher | enc ms ours / openssl | enc ratio | enc cpu ratio | dec ms ours / openssl | dec ratio | dec cpu ratio |"
echo "|---|---|---|---|---|---|---|"
for tag in "${tags[@]}"; do
  name=${ossl[$tag]:-}
  [[ -n $name ]] || { echo "whole_file: OpenSSL has no cipher for $tag" >&2; continue; }
  key=$(head -c "${keylen[$tag]}" /dev/zero | od -An -tx1 | tr -d ' \n' | tr 0 3)
  iv=$(printf '%0*d' $((2 * ${ivlen[$tag]:-8})) 0)
  osslargs=(enc "-$name" -K "$key" -iv "$iv" -nopad -provider legacy -provider default)
  ve=() vec=() oe=() oec=() vd=() vdc=() od_=() odc=()
  for ((r = 0; r < rounds; ++r)); do
    rm -f "$work/enc/data.enc" "$work/dec/"*
    run ve vec "$cli" encrypt -a "$tag" --password-file "$work/password" "$work/enc/data"
    run oe oec openssl "${osslargs[@]}" -in "$work/enc/data" -out "$work/enc/data.ossl"
    mv "$work/enc/data.enc" "$work/dec/data.enc"
    run vd vdc "$cli" decrypt --password-file "$work/password" "$work/dec/data.enc"
    run od_ odc openssl "${osslargs[@]}" -d -in "$work/enc/data.ossl" -out "$work/dec/data.ossl"
    cmp -s "$work/enc/data" "$work/dec/data" || { echo "whole_file: $tag did not round-trip" >&2; exit 1; }
    rm -f "$work/enc/data.ossl" "$work/dec/data.ossl"
  done
  a=$(median "${ve[@]}") b=$(median "${oe[@]}") c=$(median "${vd[@]}") d=$(median "${od_[@]}")
  echo "| $tag ($name) | $a / $b | $(ratio "$a" "$b") | $(ratio "$(median "${vec[@]}")" "$(median "${oec[@]}")") |" \
    "$c / $d | $(ratio "$c" "$d") | $(ratio "$(median "${vdc[@]}")" "$(median "${odc[@]}")") |"
done

# What reaching the disk costs by itself: the same file copied by dd, left in the page cache
# as openssl enc leaves its output, and made durable (conv=fdatasync) as ours does.
cw=() cc=() sw=() sc=()
for ((r = 0; r < rounds; ++r)); do
  run cw cc dd if="$work/enc/data" of="$work/dec/copy" bs=1M
  rm -f "$work/dec/copy"
  run sw sc dd if="$work/enc/data" of="$work/dec/copy" bs=1M conv=fdatasync
  rm -f "$work/dec/copy"
done
echo
echo "| copying the file with dd | ms |"
echo "|---|---|"
echo "| into the page cache | $(median "${cw[@]}") |"
echo "| to the disk (conv=fdatasync) | $(median "${sw[@]}") |"

# Peak resident size of one encryption, 16 MiB against 1 GiB.
echo
echo "| file | peak resident KiB (encrypt) | peak resident KiB (decrypt) |"
echo "|---|---|---|"
for mib in 16 1024; do
  rm -rf "$work/enc/"* "$work/dec/"*
  head -c $((mib << 20)) /dev/zero >"$work/enc/m"
  peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
  e=$(peak "$cli" encrypt -a BFS --password-file "$work/password" "$work/enc/m")
  mv "$work/enc/m.enc" "$work/dec/m.enc"
  d=$(peak "$cli" decrypt --password-file "$work/password" "$work/dec/m.enc")
  echo "| $mib MiB | $e | $d |"
done
