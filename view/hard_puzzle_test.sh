#!/bin/sh
# hard_puzzle_test.sh KUBRI_EXE NUMBER_DDS
# Types a puzzle that pairs cannot finish into the real game under Wine, as
# a player copying one from a newspaper would (編集開始, 初期化, a click and
# a key per given, 編集終了), asks for a hint and finds it naming the
# technique past pairs that decides the next cell, and selecting that cell;
# then 解答 fills every cell of the grid.
# Exits 77 (skipped) without a display, xdotool or ImageMagick.
set -eu
exe=$1
dds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/view/game_test_common.sh"

own_display_and_prefix hard
require_tools xdotool import convert wine
make_work hard KUBRI_KEEP_HARD
cp "$dds" "$work/Number.dds"

# What pairs leave of a Solo "Extreme" puzzle: no cell is decided below
# level 4, and a two-string kite on 7 decides r4c6 (4行6列に「7」が入ります).
puzzle='...351....1.9.43.543567.1.9..153....3...9..16....167.3526149837179..3..4843765..1'
technique='ツーストリングカイト'

(cd "$work" && WINEDEBUG=-all,trace+msgbox exec "$root/scripts/wine-exec.sh" ./Kubri.exe) \
  >"$work/game.out" 2>"$work/game.err" &
game=$!
kubri_find_window || fail "the window did not appear"
sleep 3
cell=32
client_geometry
focus_board

menu_keys alt+e s         # edit start
menu_keys alt+e f         # clear the board
givens=0
for x in $(seq 0 80); do
  d=$(echo "$puzzle" | cut -c$((x + 1)))
  case $d in [1-9]) ;; *) continue ;; esac
  press_digit $((x / 9)) $((x % 9)) 5   # selects the cell
  xdotool key "$d"                      # types the digit, drops the selection
  sleep 0.2
  givens=$((givens + 1))
done
menu_keys alt+e e         # edit end: the digits become givens
board_shot
typed=0
for r in 0 1 2 3 4 5 6 7 8; do
  for c in 0 1 2 3 4 5 6 7 8; do
    cell_has_colour "$r" "$c" "#0000C0" && typed=$((typed + 1))
  done
done
[ "$typed" -eq "$givens" ] || fail "$typed givens show, $givens were typed"
echo "typed in $givens givens"

menu_keys alt+q h         # hint
wait_boxes 1
hint=$(last_box)
printf "%s\n" "$hint" | grep -qF "$technique" || fail "the hint does not name the technique: $hint"
read -r hint_row hint_col _ <<EOT
$(last_box_cell)
EOT
[ "r${hint_row}c${hint_col}" = r4c6 ] || fail "the hint names r${hint_row}c${hint_col}, not r4c6: $hint"
xdotool key Return
sleep 1
board_shot
cell_has_colour $((hint_row - 1)) $((hint_col - 1)) "#FFFF00" ||
  fail "the hint did not select r${hint_row}c${hint_col}"
echo "the hint names the technique and selects r${hint_row}c${hint_col}"

menu_keys alt+q a         # the answer
board_shot
for r in 0 1 2 3 4 5 6 7 8; do
  for c in 0 1 2 3 4 5 6 7 8; do
    cell_has_colour "$r" "$c" "#404040" || cell_has_colour "$r" "$c" "#0000C0" ||
      fail "the answer left r$((r + 1))c$((c + 1)) empty"
  done
done
[ "$(boxes)" -eq 1 ] || fail "the answer showed a message"
echo "the answer fills the whole grid"

xdotool key Escape
wait_for_end
[ "$status" -eq 0 ] || fail "the game ended with status $status"
echo "PASS"
