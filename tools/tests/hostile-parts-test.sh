#!/bin/sh
# The parts of tools/hostile-input.sh (HOSTILE_SHARD=k/n) together name every
# case exactly once, and none is much bigger than the others.
# usage: hostile-parts-test.sh <program> <demo data folder> <parts>
set -u
SCRIPT="$(cd "$(dirname "$0")" && pwd)/../hostile-input.sh"
PARTS=$3
WORK=$(mktemp -d "${TMPDIR:-/tmp}/zelv-parts.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

HOSTILE_LIST=1 "$SCRIPT" "$1" "$2" >"$WORK/all" || exit 1
total=$(wc -l <"$WORK/all")
largest=$(((total + PARTS - 1) / PARTS))
status=0
: >"$WORK/parts"
for k in $(seq 1 "$PARTS"); do
  HOSTILE_LIST=1 HOSTILE_SHARD="$k/$PARTS" "$SCRIPT" "$1" "$2" >"$WORK/part" || exit 1
  n=$(wc -l <"$WORK/part")
  echo "part $k/$PARTS: $n cases"
  if [ "$n" -gt "$largest" ]; then echo "FAIL part $k/$PARTS has $n cases, more than $largest"; status=1; fi
  cat "$WORK/part" >>"$WORK/parts"
done
if [ "$total" -lt 1 ] || ! sort "$WORK/all" | cmp -s - "$(sort "$WORK/parts" >"$WORK/sorted"; echo "$WORK/sorted")"; then
  echo "FAIL the $PARTS parts do not name each of the $total cases once:"
  sort "$WORK/all" | diff - "$WORK/sorted" | sed -n 's/^[<>]/  &/p'
  status=1
fi
if [ "$(sort -u "$WORK/all" | wc -l)" -ne "$total" ]; then echo "FAIL two cases share a name"; status=1; fi
[ "$status" -ne 0 ] || echo "hostile-parts-test: $total cases in $PARTS parts, each once"
exit $status
