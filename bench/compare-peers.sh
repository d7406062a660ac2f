#!/bin/sh
# compare-peers.sh: times kubri-puzzle against two other puzzle programs from
# Debian's packages, each pair in turn on the same machine:
#   grading:    kubri-puzzle grade  vs  qqwing --solve --stats, same puzzles
#   generating: kubri-puzzle generate --level 2 / --level 3
#               vs  sgt-solo --generate N 3x3di / 3x3da (Intermediate / Advanced)
# The peers run as black boxes. KUBRI_BUILD names the native build folder
# (default build/native); ROUNDS the repetitions kept at their best (3);
# COUNT the puzzles generated per run (30). Times are user + system CPU.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KUBRI_BUILD:-$root/build/native}
tool=$build/tools/kubri-puzzle
rounds=${ROUNDS:-3}
count=${COUNT:-30}
qqwing=$(command -v qqwing || true)
solo=$(command -v sgt-solo || ls /usr/games/sgt-solo 2>/dev/null || true)

[ -x "$tool" ] || { echo "compare-peers: build the tool first ($tool is missing)" >&2; exit 2; }
[ -n "$qqwing" ] || { echo "compare-peers: qqwing is missing (apt-get install qqwing)" >&2; exit 2; }
[ -n "$solo" ] || { echo "compare-peers: sgt-solo is missing (apt-get install sgt-puzzles)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# best_of COMMAND...: the smallest user + system CPU time, in seconds, of
# $rounds runs (stdin from $work/stdin when present).
best_of() {
  best=
  i=0
  while [ $i -lt "$rounds" ]; do
    if [ -f "$work/stdin" ]; then
      /usr/bin/time -f '%U %S' -o "$work/time" "$@" <"$work/stdin" >/dev/null 2>&1
    else
      /usr/bin/time -f '%U %S' -o "$work/time" "$@" </dev/null >/dev/null 2>&1
    fi
    t=$(awk '{ printf "%.3f", $1 + $2 }' "$work/time")
    if [ -z "$best" ] || awk "BEGIN { exit !($t < $best) }"; then best=$t; fi
    i=$((i + 1))
  done
  echo "$best"
}

# ratio KUBRI PEER: the peer's time over Kubri's (above 1: Kubri is faster).
ratio() { awk "BEGIN { if ($1 > 0) printf \"%.2f\", $2 / $1; else print \"n/a\" }"; }
per() { awk "BEGIN { printf \"%.2f\", 1000 * $1 / $2 }"; }

# Grading: the three fixed sets, ten times over.
puzzles=$work/puzzles.txt
for i in 1 2 3 4 5 6 7 8 9 10; do cat "$root"/bench/puzzles/level1.txt "$root"/bench/puzzles/level2.txt "$root"/bench/puzzles/level3.txt; done >"$puzzles"
n=$(wc -l <"$puzzles")
k=$(best_of "$tool" grade "$puzzles")
cp "$puzzles" "$work/stdin"
q=$(best_of "$qqwing" --solve --stats)
rm -f "$work/stdin"
echo "grade $n puzzles: kubri-puzzle ${k} s ($(per "$k" "$n") ms each), qqwing ${q} s ($(per "$q" "$n") ms each); qqwing time / kubri-puzzle time = $(ratio "$k" "$q")"

# Generating: $count puzzles of each pair of levels.
for pair in "2 3x3di Intermediate" "3 3x3da Advanced"; do
  set -- $pair
  k=$(best_of "$tool" generate --level "$1" --count "$count" --seed 1)
  s=$(best_of "$solo" --generate "$count" "$2")
  echo "generate $count at level $1: kubri-puzzle $(per "$k" "$count") ms each, Solo $3 $(per "$s" "$count") ms each; Solo time / kubri-puzzle time = $(ratio "$k" "$s")"
done
