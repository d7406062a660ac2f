#!/bin/sh
# two_copies_test.sh KUBRI_EXE NUMBER_DDS
# Starts the real game under Wine, then a second copy in the same folder:
# the second ends at once with status 0 and opens no window, the first
# plays on, and no file of the folder changed. A copy in another folder
# still starts. Exits 77 (skipped) without a display, xdotool or Wine.
set -eu
exe=$1
dds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/view/game_test_common.sh"

require_tools xdotool wine
[ -f "$dds" ] || fail "no $dds"
make_work two
cp "$dds" "$work/Number.dds"
other="$work/other"
mkdir "$other"
cp "$exe" "$dds" "$other/"
elsewhere=""
trap 'cleanup; [ -z "$elsewhere" ] || kill "$elsewhere" 2>/dev/null || true' EXIT INT TERM

# start FOLDER: the game in the background there; $started is its process.
start() {
  (cd "$1" && exec "$root/scripts/wine-exec.sh" ./Kubri.exe) >"$1/out" 2>"$1/err" &
  started=$!
}

windows() { xdotool search --name '^Kubri$' 2>/dev/null | wc -l; }

# Every file of the folder but the test's own output, with its bytes' sum.
snapshot() {
  (cd "$work" && find . -path ./other -prune -o -type f ! -name out ! -name err ! -name before ! -name after -print | sort |
    xargs md5sum)
}

start "$work"
game=$started
kubri_find_window || fail "the first copy opened no window"
sleep 3
# A step, so that the saved game exists and can be compared.
eval "$(xdotool getwindowgeometry --shell "$window")"
CX=$X
CY=$((Y + HEIGHT - WIDTH))
cell=$((WIDTH / 10))
press_digit 0 0 5
press_digit 0 0 5
press_digit 1 1 5
press_digit 1 1 5
sleep 1
snapshot >"$work/before"
[ -s "$work/before" ] || fail "no file to compare"

start "$work"
second=$started
ended=""
for _ in $(seq 1 40); do
  kill -0 "$second" 2>/dev/null || { ended=yes; break; }
  sleep 0.25
done
[ -n "$ended" ] || { kill "$second" 2>/dev/null; fail "the second copy in the same folder did not end"; }
status=0
wait "$second" || status=$?
[ "$status" = 0 ] || fail "the second copy ended with status $status, not 0"
kill -0 "$game" 2>/dev/null || fail "the first copy ended too"
[ "$(windows)" = 1 ] || fail "$(windows) windows are open, not 1"
snapshot >"$work/after"
cmp -s "$work/before" "$work/after" || fail "the second copy changed files: $(diff "$work/before" "$work/after")"
echo "a second copy in the same folder: ended with status 0, no window, no file changed"

start "$other"
elsewhere=$started
opened=""
for _ in $(seq 1 60); do
  [ "$(windows)" = 2 ] && { opened=yes; break; }
  kill -0 "$elsewhere" 2>/dev/null || break
  sleep 0.5
done
[ -n "$opened" ] || fail "a copy in another folder did not open its window"
kill "$elsewhere" 2>/dev/null || true
wait "$elsewhere" 2>/dev/null || true
elsewhere=""
echo "a copy in another folder: plays beside it"

# The first copy still answers and closes normally.
xdotool mousemove $((CX + 3)) $((CY + 3)) click 1
sleep 0.5
xdotool key Escape
wait_for_end
[ "$status" = 0 ] || fail "the first copy ended with status $status"
[ -f "$work/Kubri.dat" ] || fail "the first copy wrote no Kubri.dat at close"
echo "the first copy: closed with status 0 and kept its files"
