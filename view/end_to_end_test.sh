#!/bin/sh
# end_to_end_test.sh KUBRI_EXE NUMBER_DDS SETTINGS_CHECK_EXE
# Plays the real game under Wine on the current (virtual) display with
# xdotool: selects an empty cell, marks and enters a digit, asks for a hint
# and finds the cell it names selected, switches edit mode on and off from
# the menu by keyboard, wipes a nearly finished grid with リトライ, undoes
# that with Ctrl+Z and finishes the grid to 正解, opens and closes the about
# box, changes the size and checks that the client area follows, closes the
# window, checks Kubri.dat (size index and a stock whose puzzles grade as
# filed), starts again and finds the size kept; then resumes a saved game,
# plays it with the keyboard, closes and starts again on the same board,
# finishes it and reads one solved puzzle in 記録.
# Exits 77 (skipped) without a display or xdotool.
set -eu
exe=$1
dds=$2
checker=$3
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/view/game_test_common.sh"
# ctest's KubriEndToEndWithoutD3DX plays the same with d3dx9_31.dll refused.
case $WINEDLLOVERRIDES in *d3dx9_31=*) echo "without the D3DX runtime" ;; esac

case $WINEDLLOVERRIDES in
  *d3dx9_31=*) own_display_and_prefix e2e-without-d3dx ;;
  *) own_display_and_prefix e2e ;;
esac
require_tools xdotool import convert wine
make_work e2e KUBRI_KEEP_E2E
cp "$dds" "$work/Number.dds"
cp "$checker" "$work/check.exe"

start_game() {
  (cd "$work" && WINEDEBUG=-all,trace+msgbox exec "$root/scripts/wine-exec.sh" ./Kubri.exe) \
    >"$work/game.out" 2>"$work/game.err" &
  game=$!
  kubri_find_window || fail "the window did not appear"
  sleep 3
  client_geometry
  focus_board
}

wait_for_exit() {
  for _ in $(seq 1 60); do
    kill -0 "$game" 2>/dev/null || { game=""; return 0; }
    sleep 0.5
  done
  fail "the game did not end after closing"
}

# Presses digit position 5 (the middle) of cell (row, col).
press() { click_keypad "$1" "$2" 5 "${3:-1}"; }

# The client area is $1 pixels square: the board's bottom border lies half a
# cell above the window's bottom edge, with only margin below it.
expect_client() {
  client_geometry
  [ "$WIDTH" -eq "$1" ] || fail "client width $WIDTH, expected $1"
  board_shot
  half=$(($1 / 20))
  [ "$(pixel_at $((CX + $1 / 2 + 3)) $((CY + $1 - half)))" = "#404040" ] || fail "no board border at the bottom for $1"
  [ "$(pixel_at $((CX + $1 / 2 + 3)) $((CY + $1 - 2)))" = "#E0E0E0" ] || fail "no margin at the bottom for $1"
  echo "client area ${1} x ${1}"
}

is_correct_box() { [ "$(last_box)" = '正解＼(^▽^)／' ]; }

# --- First run ------------------------------------------------------------------
start_game
cell=32
expect_client 320

# An empty cell of the generated puzzle.
board_shot
row=-1
for r in 0 1 2 3 4 5 6 7 8; do
  for c in 0 1 2 3 4 5 6 7 8; do
    if [ "$(cell_colours "$r" "$c")" = "#F0F0F0" ]; then row=$r; col=$c; break 2; fi
  done
done
[ "$row" -ge 0 ] || fail "no empty cell found"
echo "empty cell ($row, $col)"

press "$row" "$col"
board_shot
cell_has_colour "$row" "$col" "#FFFF00" || fail "the cell was not selected"
cell_has_colour "$row" "$col" "#C0C0C0" || fail "the selected cell shows no keypad"
press "$row" "$col"
board_shot
cell_has_colour "$row" "$col" "#C000C0" || fail "5 was not marked"
cell_has_colour "$row" "$col" "#FFFF00" || fail "marking dropped the selection"
press "$row" "$col"
board_shot
cell_has_colour "$row" "$col" "#404040" || fail "5 was not entered"
! cell_has_colour "$row" "$col" "#FFFF00" || fail "entering kept the selection"
echo "selected, marked and entered 5"

seen=$(boxes)
menu_keys alt+q h          # hint: names a wrong value or the next cell, and selects it
wait_boxes $((seen + 1))
read -r hint_row hint_col _ <<EOT
$(last_box_cell)
EOT
[ -n "$hint_row" ] || fail "the hint names no cell: $(last_box)"
xdotool key Return
sleep 1
board_shot
cell_has_colour $((hint_row - 1)) $((hint_col - 1)) "#FFFF00" || fail "the hint did not select r${hint_row}c${hint_col}"
echo "hint for r${hint_row}c${hint_col}"

menu_keys alt+e s          # edit start
press "$row" "$col"
board_shot
cell_has_colour "$row" "$col" "#C000C0" || fail "edit mode: no purple keypad"
! cell_has_colour "$row" "$col" "#404040" || fail "edit mode: the value still shows"
menu_keys alt+e e          # edit end
board_shot
! cell_has_colour "$row" "$col" "#FFFF00" || fail "edit end kept the selection"
cell_has_colour "$row" "$col" "#0000C0" || fail "edit end did not make the 5 a given"
echo "edit mode on and off"

# --- The hint on a broken board: a second 5 typed into the given 5's row ----
other=$(((col + 1) % 9))
menu_keys alt+e s
press "$row" "$other"        # select
press "$row" "$other"        # digit position 5: the value 5
menu_keys alt+e e
seen=$(boxes)
menu_keys alt+q h
wait_boxes $((seen + 1))
last_box | grep -q 'と重なっています$' ||
  fail "the hint did not name the clash: $(last_box)"
xdotool key Return
sleep 1
echo "hint names the clash on a broken board"

# --- Undo: a nearly finished grid wiped by retry comes back -------------------
menu_keys alt+q 1          # a fresh level-1 puzzle
menu_keys alt+q a          # the answer fills every cell
board_shot
seen=$(boxes)
found=""
for r in 0 1 2 3 4 5 6 7 8; do
  for c in 0 1 2 3 4 5 6 7 8; do
    if cell_has_colour "$r" "$c" "#404040" && ! cell_has_colour "$r" "$c" "#0000C0"; then found="$found $r,$c"; fi
    [ "$(echo $found | wc -w)" -lt 2 ] || break 2
  done
done
set -- $found
[ $# -ge 2 ] || fail "the answer filled fewer than two cells"
row=${1%,*}; col=${1#*,}     # the cell left open
row2=${2%,*}; col2=${2#*,}   # a cell the retry must empty
press "$row" "$col"
press "$row" "$col" 3        # erase the answered value: one cell is open
press "$row" "$col" 3        # 5 is not marked there: drops the selection
board_shot
! cell_has_colour "$row" "$col" "#404040" || fail "the value was not erased"

# Find the value that belongs there: mark and enter each digit until the
# grid is judged correct; each wrong try is undone with Ctrl+Z.
digit=0
for d in 1 2 3 4 5 6 7 8 9; do
  press "$row" "$col"        # select
  press_digit "$row" "$col" "$d"
  press_digit "$row" "$col" "$d"
  seen=$((seen + 1))
  wait_boxes "$seen"
  sleep 0.5
  xdotool key Return
  sleep 0.5
  if is_correct_box; then digit=$d; break; fi
  focus_board
  xdotool key ctrl+z
  sleep 0.5
done
[ "$digit" -gt 0 ] || fail "no digit completed the grid correctly"
echo "($row, $col) holds $digit"

focus_board
xdotool key ctrl+z           # the grid is nearly finished again
sleep 0.5
xdotool key ctrl+y           # redo fills it: no message
sleep 1.5
[ "$(boxes)" -eq "$seen" ] || fail "redo that fills the grid showed a message"
board_shot
cell_has_colour "$row" "$col" "#404040" || fail "redo did not bring the value back"
menu_keys alt+e u                 # undo from the menu
board_shot
! cell_has_colour "$row" "$col" "#404040" || fail "undo did not take the value away"

menu_keys alt+q r                 # retry wipes the player's work
board_shot
! cell_has_colour "$row2" "$col2" "#404040" || fail "retry did not empty ($row2, $col2)"
focus_board
xdotool key ctrl+z
board_shot
cell_has_colour "$row2" "$col2" "#404040" || fail "undo did not bring back ($row2, $col2)"
! cell_has_colour "$row" "$col" "#404040" || fail "undo filled the open cell"
[ "$(boxes)" -eq "$seen" ] || fail "undo showed a message"
press "$row" "$col"
press_digit "$row" "$col" "$digit"   # marked before: entered at once
wait_boxes $((seen + 1))
is_correct_box || fail "the finished grid was not judged correct: $(last_box)"
sleep 0.5
xdotool key Return
sleep 0.5
echo "retry undone with Ctrl+Z and the grid finished to 正解"

menu_keys alt+h a          # about box: a real message box, read from Wine's trace
box_texts | grep -qx 'Kubri v1.2' || fail "no about box"
xdotool key Return
sleep 1
echo "about box shown and closed"

menu_keys alt+v s l
cell=48
expect_client 480
menu_keys alt+v s m
cell=32
expect_client 320
menu_keys alt+v s s
cell=24
expect_client 240

menu_keys alt+f x          # exit
wait_for_exit
[ -f "$work/Kubri.dat" ] || fail "no Kubri.dat after closing"
report=$("$root/scripts/wine-exec.sh" "$work/check.exe" "$work/Kubri.dat" | tr -d '\r') ||
  fail "the stock in Kubri.dat does not grade as filed: $report"
echo "$report"
echo "$report" | grep -q '^size 2$' || fail "Kubri.dat does not hold size 2"
puzzles=$(echo "$report" | sed -n 's/^puzzles //p')
[ "${puzzles:-0}" -ge 1 ] || fail "Kubri.dat holds no puzzles"

# --- Second run: the size is kept -------------------------------------------------
start_game
cell=24
expect_client 240
xdotool key Escape
wait_for_exit
report=$("$root/scripts/wine-exec.sh" "$work/check.exe" "$work/Kubri.dat" | tr -d '\r') ||
  fail "second save does not grade as filed: $report"
echo "$report" | grep -q '^size 2$' || fail "the second save lost the size"

# --- Keyboard, saved game and records -------------------------------------------
# A level-1 game saved with four cells open (the grid is a solved one).
# Two are played with the keyboard, the game is closed and started again
# and shows the same board; the last two finish it to 正解, and 記録 then
# counts one solved level-1 puzzle.
write_saved_game "$work/KubriGame.dat" "4,4 4,5 5,5 8,8"
rm -f "$work/KubriRecords.dat"

# Presses the keys one by one.
keys() {
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.3
  done
  sleep 0.5
}
save_board() {
  board_shot
  convert "$work/shot.png" -crop "$((cell * 10))x$((cell * 10))+$CX+$CY" +repage "$work/$1.png"
}

start_game
cell=24
board_shot
! cell_has_colour 4 4 "#404040" || fail "the saved game was not resumed: r5c5 is filled"
cell_has_colour 0 0 "#0000C0" || fail "the saved game was not resumed: no givens"
keys Up                     # no selection: r5c5
board_shot
cell_has_colour 4 4 "#FFFF00" || fail "the arrow did not select r5c5"
keys shift+5
board_shot
cell_has_colour 4 4 "#C000C0" || fail "Shift+5 did not mark 5"
keys 5                      # entered; the selection goes
keys Right Right 3          # r5c5 again, then r5c6
board_shot
cell_has_colour 4 4 "#404040" || fail "5 was not entered with the keyboard"
cell_has_colour 4 5 "#404040" || fail "3 was not entered with the keyboard"
save_board before
echo "played two cells with the keyboard"
xdotool key Escape
wait_for_exit
grep -q '^finished 0' "$work/KubriGame.dat" || fail "the saved game was not written at close"

start_game
cell=24
save_board after
differ=$(compare -metric AE -fuzz 10% "$work/before.png" "$work/after.png" null: 2>&1 || true)
[ "${differ%% *}" -lt 50 ] 2>/dev/null || fail "the board after starting again differs ($differ pixels)"
echo "started again on the same board"
seen=$(boxes)
keys Down Down Right 4      # r5c5, r6c5, r6c6
keys Up Down Down Down Down Right Right Right Right 9   # r5c5 down to r9c5, across to r9c9
wait_boxes $((seen + 1))
is_correct_box || fail "the keyboard did not finish the grid to 正解: $(last_box)"
sleep 0.5
xdotool key Return
sleep 1
menu_keys alt+q t                # 記録
wait_boxes $((seen + 2))
last_box | grep -qF 'レベル１：解いた数 1、' ||
  fail "記録 does not show one solved level-1 puzzle: $(last_box)"
xdotool key Return
sleep 1
xdotool key Escape
wait_for_exit
grep -q '^level 1 solved 1 ' "$work/KubriRecords.dat" || fail "KubriRecords.dat does not hold the solve"
grep -q '^finished 1' "$work/KubriGame.dat" || fail "the finished game is not marked finished"
echo "finished with the keyboard; 記録 shows one solved puzzle"

echo "PASS"
