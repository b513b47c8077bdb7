#!/bin/sh
# Regenerates the committed cipher table headers from the published tables beside them.
set -e
cd "$(dirname "$0")/../src/crypto/ciphers/tables"
for f in *.txt; do
  b=${f%.txt}
  d=""
  [ "$b" = des ] && d=--decimal
  python3 ../../../../tools/gen_tables.py "$f" "$b" "${b}_tables.h" $d
done
