#!/usr/bin/env bash
# cleaner_scan.sh TREE [RUNS]
#
# Times a whole junk scan of TREE (behind drive C: of a machine root, headless, release
# build) against `find TREE -iname '*.tmp'` and `du -sb TREE`, RUNS times each (default 7),
# interleaved so a change in the machine's load hits all three alike, and prints the
# medians, the ratios and the scan's memory per listed row beyond the row texts, and its
# peak for the whole tree and for its largest subfolder (it must not grow with the tree
# beyond the rows).
#   - all shipped patterns active, zero-byte options off: compared with find
#   - both zero-byte options on (every entry needs its size): compared with du
# Build first: cmake --preset release && cmake --build --preset release --target bench_cleaner_scan
set -euo pipefail
cd "$(dirname "$0")/.."
TREE=${1:?usage: $0 TREE [RUNS]}
RUNS=${2:-7}
BIN=${BIN:-build/release/bench/bench_cleaner_scan}
PATTERNS=data/quorCleaner.cfg.Garbage
[[ -x $BIN ]] || { echo "missing $BIN: build the release preset first" >&2; exit 1; }

ms() { # runs "$@" and prints its wall time in ms
  local s e
  s=$(date +%s%N)
  "$@" >/dev/null 2>&1
  e=$(date +%s%N)
  echo $(((e - s) / 1000000))
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
# One pass to warm the caches; it is not counted.
find "$TREE" -iname '*.tmp' >/dev/null; du -sb "$TREE" >/dev/null; "$BIN" "$TREE" "$PATTERNS" >/dev/null

W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT
for ((i = 0; i < RUNS; i++)); do
  ms find "$TREE" -iname '*.tmp' >>$W/find
  ms du -sb "$TREE" >>$W/du
  "$BIN" "$TREE" "$PATTERNS" | tee -a $W/off.log | sed 's/.* ms=\([0-9.]*\) .*/\1/' >>$W/off
  "$BIN" "$TREE" "$PATTERNS" --zero | tee -a $W/on.log | sed 's/.* ms=\([0-9.]*\) .*/\1/' >>$W/on
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

F=$(median <$W/find)
D=$(median <$W/du)
OFF=$(median <$W/off)
ON=$(median <$W/on)
echo "find -iname '*.tmp': ${F} ms (median of $RUNS)"
echo "du -sb:              ${D} ms"
echo "scan, zero-byte off: ${OFF} ms  ratio to find $(awk -v a="$OFF" -v b="$F" 'BEGIN{printf "%.2f", a/b}') (target <= 0.75)"
echo "scan, zero-byte on:  ${ON} ms  ratio to du   $(awk -v a="$ON" -v b="$D" 'BEGIN{printf "%.2f", a/b}') (target <= 1.0)"
echo "last scan, zero-byte off: $(tail -1 $W/off.log)"
echo "last scan, zero-byte on:  $(tail -1 $W/on.log)"
SUB=$(cd "$TREE" && du -s -- */ 2>/dev/null | sort -n | tail -1 | cut -f2-)
peak() { sed 's/.* rows=\([0-9]*\) rssBeforeKB=\([0-9]*\) peakKB=\([0-9]*\) .*/\1 \2 \3/' | awk '{printf "+%d KiB (%d rows)", $3 - $2, $1}'; }
echo "peak, zero-byte off: tree $(tail -1 $W/off.log | peak), subtree ${SUB%/} $("$BIN" "$TREE/$SUB" "$PATTERNS" | peak)"
echo "peak, zero-byte on:  tree $(tail -1 $W/on.log | peak), subtree ${SUB%/} $("$BIN" "$TREE/$SUB" "$PATTERNS" --zero | peak)"
