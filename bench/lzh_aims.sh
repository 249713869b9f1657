#!/usr/bin/env bash
# bench/lzh_aims.sh [BUILD_DIR] — the archiver's speed aims, each measured
# next to LHa for UNIX and gzip -6 in this one run, printed as ratios.
#
#   LHA=/path/to/lha   LHa for UNIX (../shared/peers/build-lha.sh builds it);
#                      without it the LHa columns are skipped with a note.
#   RUNS=3             runs per figure; the best (least) time counts.
#   WORK=/tmp/...      scratch folder (default: a new temporary one).
#
# A benchmark, not a test: it never fails, it reports.
set -uo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
BUILD="$(cd "${1:-$HERE/../build}" && pwd)"
PELKO="$BUILD/bin/pelko-lha"
ADDS="$BUILD/bin/bench_lzh_backup_adds"
CORPUS="${CORPUS:-}"
for c in "$HERE/../../shared/bench-corpus" "$HERE/../../../shared/bench-corpus"; do
  [ -z "$CORPUS" ] && [ -d "$c" ] && CORPUS="$c"
done
RUNS="${RUNS:-3}"
LHA="${LHA:-}"
WORK="${WORK:-$(mktemp -d)}"
export LC_ALL=C TZ=UTC
[ -x "$PELKO" ] || { echo "no $PELKO: build first"; exit 2; }
if [ -n "$LHA" ] && [ ! -x "$LHA" ]; then echo "# LHA=$LHA is not executable: LHa columns skipped"; LHA=""; fi
[ -z "$LHA" ] && echo "# LHA not set: LHa for UNIX columns skipped (build it with ../shared/peers/build-lha.sh)"

echo "# machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), runs=$RUNS, load average at start $(cut -d' ' -f1-3 /proc/loadavg)"

# --- inputs ---------------------------------------------------------------
C="$WORK/corpus"; mkdir -p "$C"
for f in text.tar bin.dat comp.gz; do
  [ -s "$C/$f" ] && continue
  if [ -f "$CORPUS/$f.xz" ]; then xz -dc "$CORPUS/$f.xz" > "$C/$f"; else cp "$CORPUS/$f" "$C/$f"; fi
done
SMALL="$WORK/small"
if [ ! -d "$SMALL" ]; then
  mkdir -p "$SMALL"
  (cd "$SMALL" && for i in $(seq 1 8000); do echo "file $i" > "f$i.txt"; done)
fi
TREE="$WORK/tree"
if [ -z "$(ls -A "$TREE" 2>/dev/null)" ]; then
  mkdir -p "$TREE" && tar -xf "$C/text.tar" -C "$TREE" 2>/dev/null  # cut short: ends in an error
fi
cpu1=0  # the one core of the single-threaded runs

# best_of "<command>" -> "wall cpu peakMiB" of the best run (least wall)
best_of() {
  local best="" line
  for _ in $(seq "$RUNS"); do
    rm -f "$WORK"/out.*
    /usr/bin/time -o "$WORK/time.txt" -f '%e %U %S %M' bash -c "$1" >/dev/null 2>&1
    line=$(tail -1 "$WORK/time.txt")
    line=$(awk '{printf "%.3f %.3f %.1f", $1, $2 + $3, $4 / 1024}' <<< "$line")
    if [ -z "$best" ] || awk -v a="$line" -v b="$best" 'BEGIN{split(a,x," ");split(b,y," ");exit !(x[1]<y[1])}'; then best=$line; fi
  done
  echo "$best"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b > 0) printf "%.2f", a / b; else print "-" }'; }
size() { stat -c %s "$1" 2>/dev/null || echo 0; }
verdict() { awk -v v="$1" -v op="$2" -v aim="$3" 'BEGIN{ ok = (op == "<=") ? v <= aim : (op == "<") ? v < aim : v >= aim; print ok ? "met" : "NOT met" }'; }

printf '\n| aim | measured | peer / reference | ratio | aim | verdict |\n|---|---|---|---|---|---|\n'

# --- aim 0: 8,000 small files ---------------------------------------------
read -r pw pc _ <<< "$(best_of "cd '$SMALL' && '$PELKO' a '$WORK/out.pelko.lzh' . ")"
psz=$(cd "$SMALL" && "$PELKO" a "$WORK/small.lzh" . >/dev/null 2>&1; size "$WORK/small.lzh")
if [ -n "$LHA" ]; then
  read -r lw lc _ <<< "$(best_of "cd '$SMALL' && '$LHA' aq '$WORK/out.lha.lzh' . ")"
  lsz=$(cd "$SMALL" && rm -f "$WORK/small.lha.lzh" && "$LHA" aq "$WORK/small.lha.lzh" . >/dev/null 2>&1; size "$WORK/small.lha.lzh")
  r=$(ratio "$pw" "$lw")
  echo "| 0 8,000 small files, wall | ${pw} s (cpu ${pc} s, ${psz} B) | LHa ${lw} s (cpu ${lc} s, ${lsz} B) | ${r}× | ≤ 1.00× | $(verdict "$r" "<=" 1.0) |"
else
  echo "| 0 8,000 small files, wall | ${pw} s (cpu ${pc} s, ${psz} B) | LHa skipped | - | ≤ 1.00× | - |"
fi

# --- aim 0: a backup's Add commands, one per entry ------------------------
if [ -x "$ADDS" ]; then
  mkdir -p "$WORK/adds"
  declare -A per perus size
  for _ in $(seq "$RUNS"); do
    rm -rf "$WORK/adds"; mkdir -p "$WORK/adds"
    while read -r n secs us bytes; do
      if [ -z "${per[$n]:-}" ] || awk -v a="$secs" -v b="${per[$n]}" 'BEGIN{exit !(a<b)}'; then
        per[$n]=$secs; perus[$n]=$us; size[$n]=$bytes
      fi
    done < <("$ADDS" "$WORK/adds" 100 400 1600 6400)
  done
  for n in 100 400 1600 6400; do
    echo "| 0 backup of $n entries | ${per[$n]} s (${perus[$n]} µs/entry, ${size[$n]} B) | | | | |"
  done
  p6=${per[6400]:-0}; p16=${per[1600]:-0}
  r=$(ratio "$p6" "$p16")
  echo "| 0 backup 6,400 vs 1,600 entries | $p6 s | $p16 s | ${r}× | ≤ 4.50× | $(verdict "$r" "<=" 4.5) |"
else
  echo "| 0 backup entries | no $ADDS | | | | skipped |"
fi

# --- aim 1: -lh7- on the corpus, one core ---------------------------------
FILES="text.tar bin.dat comp.gz"
read -r w1 c1 m1 <<< "$(best_of "cd '$C' && taskset -c $cpu1 '$PELKO' a '$WORK/out.pelko.lzh' $FILES")"
(cd "$C" && rm -f "$WORK/c1.lzh" && taskset -c "$cpu1" "$PELKO" a "$WORK/c1.lzh" $FILES >/dev/null 2>&1)
s1=$(size "$WORK/c1.lzh")
read -r gw gc _ <<< "$(best_of "cd '$C' && gzip -6 -n -c $FILES > '$WORK/out.gz'")"
gsz=$(cd "$C" && gzip -6 -n -c $FILES | wc -c)
if [ -n "$LHA" ]; then
  read -r lw lc _ <<< "$(best_of "cd '$C' && taskset -c $cpu1 '$LHA' ao7q '$WORK/out.lha.lzh' $FILES")"
  lsz=$(cd "$C" && rm -f "$WORK/c.lha.lzh" && "$LHA" ao7q "$WORK/c.lha.lzh" $FILES >/dev/null 2>&1; size "$WORK/c.lha.lzh")
  r=$(ratio "$lc" "$c1")
  echo "| 1 -lh7- corpus, speed (cpu) | ${c1} s | LHa -lh7- ${lc} s (${lsz} B) | ${r}× | ≥ 1.00× | $(verdict "$r" ">=" 1.0) |"
else
  echo "| 1 -lh7- corpus, speed (cpu) | ${c1} s | LHa skipped | - | ≥ 1.00× | - |"
fi
echo "| 1 -lh7- corpus, vs gzip -6 (cpu) | ${c1} s | gzip -6 ${gc} s (${gsz} B) | $(ratio "$gc" "$c1")× | (reference) | |"
echo "| 1 -lh7- corpus, size | ${s1} B | gzip -6 ${gsz} B | $(ratio "$s1" "$gsz")× | ≤ 7,310,000 B | $(verdict "$s1" "<=" 7310000) |"
echo "| 1 -lh7- corpus, peak memory | ${m1} MiB | | | < 8 MiB | $(verdict "$m1" "<" 8) |"

# --- aim 2: both cores ----------------------------------------------------
read -r w2 c2 m2 <<< "$(best_of "cd '$C' && '$PELKO' a '$WORK/out.pelko.lzh' $FILES")"
(cd "$C" && rm -f "$WORK/c2.lzh" && "$PELKO" a "$WORK/c2.lzh" $FILES >/dev/null 2>&1)
same=$(cmp -s "$WORK/c1.lzh" "$WORK/c2.lzh" && echo "same bytes" || echo "BYTES DIFFER")
r=$(ratio "$w2" "$w1")
echo "| 2 corpus, all cores vs one (wall) | ${w2} s, ${same} | ${w1} s | ${r}× | ≤ 0.60× | $(verdict "$r" "<=" 0.6) |"
echo "| 2 corpus, all cores, peak memory | ${m2} MiB | | | < 16 MiB | $(verdict "$m2" "<" 16) |"
read -r tw1 _ _ <<< "$(best_of "cd '$TREE' && taskset -c $cpu1 '$PELKO' a '$WORK/out.pelko.lzh' .")"
read -r tw2 _ tm2 <<< "$(best_of "cd '$TREE' && '$PELKO' a '$WORK/out.pelko.lzh' .")"
if [ -n "$LHA" ]; then
  read -r tlw _ _ <<< "$(best_of "cd '$TREE' && '$LHA' ao7q '$WORK/out.lha.lzh' .")"
  tl=" (LHa -lh7- ${tlw} s)"
else tl=""; fi
r=$(ratio "$tw2" "$tw1")
echo "| 2 text.tar unpacked, all cores vs one (wall) | ${tw2} s${tl} | ${tw1} s | ${r}× | ≤ 0.60× | $(verdict "$r" "<=" 0.6) |"
echo "| 2 text.tar unpacked, peak memory | ${tm2} MiB | | | < 16 MiB | $(verdict "$tm2" "<" 16) |"
