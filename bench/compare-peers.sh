#!/bin/sh
# compare-peers.sh: times kubri-puzzle against two other puzzle programs from
# Debian's packages, as pairs of runs on the same machine:
#   grading:    kubri-puzzle grade  vs  qqwing --solve --stats --csv, same 3000 puzzles
#   hard:       kubri-puzzle solve / grade  vs  qqwing --solve, the 600 hard
#               puzzles of bench/puzzles/hard.txt ten times over (Solo's
#               Extreme and Unreasonable, qqwing's expert; one solution each)
#   generating: kubri-puzzle generate --level 2 / --level 3 --seed 1
#               vs  sgt-solo --generate N '3x3di#1' / '3x3da#1'
#               (Intermediate / Advanced; the #1 seeds Solo's run, so both
#               sides repeat the same work every round)
# Each round runs Kubri's side and the peer's side back to back, the order
# swapped from one round to the next, so that both meet the same machine; the
# figures are the CPU time (user + system) summed over all rounds. The peers
# run as black boxes. KUBRI_BUILD names the native build folder (default
# build/native); ROUNDS the number of rounds (5, at least 5); COUNT2 and
# COUNT3 the puzzles generated per run at levels 2 and 3 (40 and 20).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KUBRI_BUILD:-$root/build/native}
tool=$build/tools/kubri-puzzle
rounds=${ROUNDS:-5}
count2=${COUNT2:-40}
count3=${COUNT3:-20}
qqwing=$(command -v qqwing || true)
solo=$(command -v sgt-solo || ls /usr/games/sgt-solo 2>/dev/null || true)

[ -x "$tool" ] || { echo "compare-peers: build the tool first ($tool is missing)" >&2; exit 2; }
[ -n "$qqwing" ] || { echo "compare-peers: qqwing is missing (apt-get install qqwing)" >&2; exit 2; }
[ -n "$solo" ] || { echo "compare-peers: sgt-solo is missing (apt-get install sgt-puzzles)" >&2; exit 2; }
[ "$rounds" -ge 5 ] || { echo "compare-peers: ROUNDS must be at least 5" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# cpu STDIN COMMAND...: one run's user + system CPU time in seconds.
cpu() {
  input=$1
  shift
  /usr/bin/time -f '%U %S' -o "$work/time" "$@" <"$input" >/dev/null 2>&1
  awk '{ printf "%.3f", $1 + $2 }' "$work/time"
}

add() { awk "BEGIN { printf \"%.3f\", $1 + $2 }"; }
per() { awk "BEGIN { printf \"%.2f\", 1000 * $1 / $2 / $3 }"; }
# share KUBRI PEER: Kubri's time over the peer's (below 1: Kubri is faster).
share() { awk "BEGIN { if ($2 > 0) printf \"%.2f\", $1 / $2; else print \"n/a\" }"; }

# paired NAME N KUBRI-STDIN PEER-STDIN -- KUBRI... -- PEER...: runs both sides
# $rounds times, alternating which goes first, and prints the totals.
paired() {
  name=$1 n=$2 kin=$3 pin=$4
  shift 5
  kubri_cmd=""
  while [ "$1" != "--" ]; do kubri_cmd="$kubri_cmd '$1'"; shift; done
  shift
  peer_cmd=""
  for arg in "$@"; do peer_cmd="$peer_cmd '$arg'"; done
  k=0 p=0 i=0
  while [ $i -lt "$rounds" ]; do
    if [ $((i % 2)) -eq 0 ]; then
      k=$(add "$k" "$(eval cpu "$kin" $kubri_cmd)")
      p=$(add "$p" "$(eval cpu "$pin" $peer_cmd)")
    else
      p=$(add "$p" "$(eval cpu "$pin" $peer_cmd)")
      k=$(add "$k" "$(eval cpu "$kin" $kubri_cmd)")
    fi
    i=$((i + 1))
  done
  echo "$name: kubri-puzzle $k s ($(per "$k" "$rounds" "$n") ms each), $peer_name $p s ($(per "$p" "$rounds" "$n") ms each) over $rounds rounds; kubri-puzzle time / $peer_name time = $(share "$k" "$p")"
}

# Grading: the three fixed sets, ten times over.
puzzles=$work/puzzles.txt
for i in 1 2 3 4 5 6 7 8 9 10; do cat "$root"/bench/puzzles/level1.txt "$root"/bench/puzzles/level2.txt "$root"/bench/puzzles/level3.txt; done >"$puzzles"
n=$(wc -l <"$puzzles")
peer_name=qqwing
paired "grade $n puzzles" "$n" /dev/null "$puzzles" -- "$tool" grade "$puzzles" -- "$qqwing" --solve --stats --csv

# Hard puzzles, past level 3: solve finishes them with the search, grade
# rates them at levels 4 to 6; qqwing solves them.
hard=$work/hard.txt
for i in 1 2 3 4 5 6 7 8 9 10; do cat "$root"/bench/puzzles/hard.txt; done >"$hard"
n=$(wc -l <"$hard")
paired "solve $n hard puzzles" "$n" /dev/null "$hard" -- "$tool" solve "$hard" -- "$qqwing" --solve
paired "grade $n hard puzzles" "$n" /dev/null "$hard" -- "$tool" grade "$hard" -- "$qqwing" --solve

peer_name="Solo Intermediate"
paired "generate $count2 at level 2" "$count2" /dev/null /dev/null -- \
  "$tool" generate --level 2 --count "$count2" --seed 1 -- "$solo" --generate "$count2" '3x3di#1'
peer_name="Solo Advanced"
paired "generate $count3 at level 3" "$count3" /dev/null /dev/null -- \
  "$tool" generate --level 3 --count "$count3" --seed 1 -- "$solo" --generate "$count3" '3x3da#1'
