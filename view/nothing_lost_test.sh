#!/bin/sh
# nothing_lost_test.sh KUBRI_EXE NUMBER_DDS
# The real game under Wine where a player could lose work. Two copies: a
# second copy started in the same folder ends at once with status 0 and
# opens no window, the first plays on, and no file of the folder changed;
# a copy in another folder still starts. A game ended right after the entry
# that solved it (the files as a kill between its writes leaves them): the
# next start says 正解 and the records count the puzzle once, whether they
# were written before the kill or not; the temporary files of the killed
# saves are gone. Exits 77 (skipped) without a display, xdotool or Wine.
set -eu
exe=$1
dds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/view/game_test_common.sh"

own_display_and_prefix nothing-lost
require_tools xdotool wine
[ -f "$dds" ] || fail "no $dds"
make_work nothing-lost
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
client_geometry
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
# The second copy's window may still be on its way out.
for _ in $(seq 1 60); do
  open=$(windows)
  [ "$open" = 1 ] && break
  sleep 0.25
done
[ "$open" = 1 ] || fail "$open windows are open, not 1"
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
focus_board
xdotool key Escape
wait_for_end
[ "$status" = 0 ] || fail "the first copy ended with status $status"
[ -f "$work/Kubri.dat" ] || fail "the first copy wrote no Kubri.dat at close"
echo "the first copy: closed with status 0 and kept its files"

# --- A game ended right after its solving entry ---
resume="$work/resume"
mkdir "$resume"
cp "$exe" "$dds" "$resume/"
grid=534678912672195348198342567859761423426853791713924856961537284287419635345286179

# The saved game as the step that filled the board wrote it: a level-1
# puzzle solved by the player's entries in r1c4 and r5c5, not yet judged.
unjudged_game() {
  {
    printf 'Kubri game 1\nsource level 1\nediting 0\nseconds 42\nhints 0\nanswer 0\n'
    printf 'counted 0\nfinished 0\ncells\n'
    echo "$grid" | awk '{
      for (r = 0; r < 9; r++) {
        line = ""
        for (c = 0; c < 9; c++) {
          i = r * 9 + c
          line = line (c ? " " : "") substr($0, i + 1, 1) ((i == 3 || i == 40) ? "-" : "g") "000"
        }
        print line
      }
    }'
  } | sed 's/$/\r/' >"$resume/KubriGame.dat"
}

# Starts the game there, answers the box it shows at start, closes it with
# Esc; $said holds the texts of the boxes it showed.
trace="$resume/err"
resume_once() {
  (cd "$resume" && WINEDEBUG=-all,trace+msgbox exec "$root/scripts/wine-exec.sh" ./Kubri.exe) \
    >"$resume/out" 2>"$resume/err" &
  game=$!
  for _ in $(seq 1 120); do
    [ "$(boxes)" -ge 1 ] && break
    kill -0 "$game" 2>/dev/null || break
    sleep 0.5
  done
  said=$(box_texts)
  [ -n "$said" ] || fail "a full board left unjudged got no verdict at start"
  sleep 1
  box=$(xdotool search --onlyvisible --name '^Kubri$' 2>/dev/null | tail -1 || true)
  eval "$(xdotool getwindowgeometry --shell "$box")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 3)) click 1
  sleep 0.5
  xdotool key Return
  sleep 1
  kubri_find_window || fail "no window after the verdict"
  client_geometry
  focus_board
  xdotool key Escape
  wait_for_end
  [ "$status" = 0 ] || fail "the resumed game ended with status $status"
}

solved() { tr -d '\r' <"$resume/KubriRecords.dat" | sed -n 's/^level 1 solved \([0-9]*\) .*/\1/p'; }

# Killed before the records were written, with half-written saves about.
unjudged_game
printf 'half' >"$resume/KubriGame.dat.tmp"
printf 'half' >"$resume/Kubri.dat.tmp"
resume_once
[ "$said" = '正解＼(^▽^)／' ] || fail "the verdict at start was $said, not 正解"
[ "$(solved)" = 1 ] || fail "the puzzle counted $(solved) times, not once"
tr -d '\r' <"$resume/KubriGame.dat" | grep -qx 'finished 1' || fail "the solved game was not finished"
[ ! -e "$resume/KubriGame.dat.tmp" ] && [ ! -e "$resume/Kubri.dat.tmp" ] || fail "stale .tmp files were left"
echo "killed before the records were written: 正解 at start, counted once, stale .tmp files removed"

# Killed after the records were written, before the saved game was.
unjudged_game
resume_once
[ "$(solved)" = 1 ] || fail "after the records were written the puzzle counted $(solved) times, not once"
echo "killed after the records were written: 正解 at start, still counted once"
