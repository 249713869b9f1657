#!/usr/bin/env bash
# bench/lzh_pair.sh OLD NEW — two builds of pelko-lha packing the corpus with
# each method on one core, run by turns so that both see the same load.
# Prints the least CPU time of each, the sizes, and whether the archives are
# byte for byte the same (a change meant to be faster only must keep them so).
#
#   RUNS=5          runs per binary and method; the least CPU time counts.
#   METHODS="5 6 7" the -lhN- methods to compare.
#
# A benchmark, not a test: it never fails, it reports.
set -uo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
if [ $# -ne 2 ] || [ ! -x "$1" ] || [ ! -x "$2" ]; then
  echo "usage: $0 OLD-pelko-lha NEW-pelko-lha"
  exit 2
fi
OLD="$(realpath "$1")"
NEW="$(realpath "$2")"
RUNS="${RUNS:-5}"
METHODS="${METHODS:-5 6 7}"
CORPUS="${CORPUS:-}"
for c in "$HERE/../../shared/bench-corpus" "$HERE/../../../shared/bench-corpus"; do
  [ -z "$CORPUS" ] && [ -d "$c" ] && CORPUS="$c"
done
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export LC_ALL=C TZ=UTC
FILES=(text.tar bin.dat comp.gz)
for f in "${FILES[@]}"; do
  if [ -f "$CORPUS/$f.xz" ]; then xz -dc "$CORPUS/$f.xz" > "$WORK/$f"; else cp "$CORPUS/$f" "$WORK/$f"; fi
done

echo "# machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), runs=$RUNS, load average at start $(cut -d' ' -f1-3 /proc/loadavg)"
printf '\n| method | old cpu s | new cpu s | new/old | old bytes | new bytes | same bytes |\n|---|---|---|---|---|---|---|\n'

# cpu_of BINARY METHOD OUT -> CPU seconds (user + system) of one run on core 0
cpu_of() {
  rm -f "$3"
  (cd "$WORK" && /usr/bin/time -o "$WORK/time.txt" -f '%U %S' taskset -c 0 "$1" a "-lh$2" "$3" "${FILES[@]}" >/dev/null 2>&1)
  awk '{printf "%.2f", $1 + $2}' "$WORK/time.txt"
}
least() { awk -v a="$1" -v b="$2" 'BEGIN{ print (b == "" || a < b) ? a : b }'; }

for m in $METHODS; do
  old="" new=""
  for _ in $(seq "$RUNS"); do
    old=$(least "$(cpu_of "$OLD" "$m" "$WORK/old.lzh")" "$old")
    new=$(least "$(cpu_of "$NEW" "$m" "$WORK/new.lzh")" "$new")
  done
  same=no
  cmp -s "$WORK/old.lzh" "$WORK/new.lzh" && same=yes
  printf '| -lh%s- | %s | %s | %s | %s | %s | %s |\n' "$m" "$old" "$new" \
    "$(awk -v a="$old" -v b="$new" 'BEGIN{ printf "%.3f", b / a }')" \
    "$(stat -c %s "$WORK/old.lzh")" "$(stat -c %s "$WORK/new.lzh")" "$same"
done
