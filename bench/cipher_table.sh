#!/usr/bin/env bash
# Prints one table of every cipher's CBC throughput, ours beside Crypto++ and OpenSSL, with
# the ratio ours / the faster reference, from one run of each bench group.
#   bench/cipher_table.sh [BUILD_DIR] [REPETITIONS]      (defaults: build, 5)
# Repetitions are interleaved at random, so a load that comes and goes hits each side alike;
# each figure is the median. Build with -DCMAKE_BUILD_TYPE=Release -DVANTREL_BENCH=ON.
set -euo pipefail
build=${1:-build}
reps=${2:-5}
groups=(rijndael_bench blowfish_bench des_cast_bench idea_rc_bench mars_serpent_twofish_bench ice_misty_tea_bench)
rows=()
errfile=$(mktemp)
trap 'rm -f "$errfile"' EXIT
for g in "${groups[@]}"; do
  exe="$build/bin/$g"
  [[ -x $exe ]] || { echo "cipher_table: $exe is missing (ninja -C $build ${groups[*]})" >&2; exit 1; }
  echo "running $g ..." >&2
  rc=0
  out=$("$exe" --benchmark_repetitions="$reps" --benchmark_enable_random_interleaving=true \
    --benchmark_min_time=0.2 2>"$errfile") || rc=$?
  ((rc == 0)) || { echo "cipher_table: $g ended with status $rc:" >&2; tail -5 "$errfile" >&2; }
  while IFS= read -r line; do rows+=("$line"); done < <(grep -E '^\| ' <<<"$out" | grep -v '^| cipher ')
done
echo "| cipher | ours MB/s | Crypto++ MB/s | OpenSSL MB/s | ours / best |"
echo "|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
