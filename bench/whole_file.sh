#!/usr/bin/env bash
# Whole files: `vantrel-cli encrypt` and `decrypt` beside `openssl enc` (and `enc -d`) with the
# same cipher, on one file, in turns, and the median of the rounds printed as time ratios
# (ours / openssl: lower is better). Then the peak resident size of encrypting a small and a
# large file, which must not grow with the file.
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

# OpenSSL's name and key length (bytes) of each of ours; the key lengths are what our 160-bit
# keys run as, so both sides run the same number of rounds.
declare -A ossl=([RIJ]=aes-192-cbc [BFS]=bf-cbc [CS1]=cast5-cbc [DES]=des-cbc [3DE]=des-ede3-cbc [RC2]=rc2-cbc)
declare -A keylen=([RIJ]=24 [BFS]=20 [CS1]=16 [DES]=8 [3DE]=24 [RC2]=20)
declare -A ivlen=([RIJ]=16)

now() { date +%s%N; }
# Runs the command, prints its wall time in milliseconds.
timed() {
  local t0 t1
  t0=$(now)
  "$@" >/dev/null
  t1=$(now)
  echo $(((t1 - t0) / 1000000))
}
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

echo "making a $size MiB file in $work ..." >&2
head -c $((size << 20)) /dev/urandom >"$work/enc/data"

echo "| cipher | ours enc ms | openssl enc ms | enc ratio | ours dec ms | openssl dec ms | dec ratio |"
echo "|---|---|---|---|---|---|---|"
for tag in "${tags[@]}"; do
  name=${ossl[$tag]:-}
  [[ -n $name ]] || { echo "whole_file: OpenSSL has no cipher for $tag" >&2; continue; }
  key=$(head -c "${keylen[$tag]}" /dev/zero | od -An -tx1 | tr -d ' \n' | tr 0 3)
  iv=$(printf '%0*d' $((2 * ${ivlen[$tag]:-8})) 0)
  osslargs=(enc "-$name" -K "$key" -iv "$iv" -nopad -provider legacy -provider default)
  oe=() od_=() ve=() vd=()
  for ((r = 0; r < rounds; ++r)); do
    rm -f "$work/enc/data.enc" "$work/dec/"*
    ve+=("$(timed "$cli" encrypt -a "$tag" --password-file "$work/password" "$work/enc/data")")
    oe+=("$(timed openssl "${osslargs[@]}" -in "$work/enc/data" -out "$work/enc/data.ossl")")
    mv "$work/enc/data.enc" "$work/dec/data.enc"
    vd+=("$(timed "$cli" decrypt --password-file "$work/password" "$work/dec/data.enc")")
    od_+=("$(timed openssl "${osslargs[@]}" -d -in "$work/enc/data.ossl" -out "$work/dec/data.ossl")")
    cmp -s "$work/enc/data" "$work/dec/data" || { echo "whole_file: $tag did not round-trip" >&2; exit 1; }
    rm -f "$work/enc/data.ossl" "$work/dec/data.ossl"
  done
  a=$(median "${ve[@]}") b=$(median "${oe[@]}") c=$(median "${vd[@]}") d=$(median "${od_[@]}")
  echo "| $tag ($name) | $a | $b | $(ratio "$a" "$b") | $c | $d | $(ratio "$c" "$d") |"
done

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
