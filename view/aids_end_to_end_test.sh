#!/bin/sh
# aids_end_to_end_test.sh KUBRI_EXE NUMBER_DDS
# Plays the player's aids in the real game under Wine, from a saved game on a
# solved grid with r1c1 and r5c4 to r5c6 open: Ctrl+M marks every open cell,
# a 5 entered with marks following entries takes the 5 marked beside it, and
# with clashes shown a wrong 8 and the given 8 it repeats turn red, on the
# board and on the selection; undo and redo take the red away and bring it
# back. Both switches are kept in KubriOptions.dat, and the next start draws
# the clash red at once. Exits 77 (skipped) without a display or xdotool.
set -eu
exe=$1
dds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/view/game_test_common.sh"

own_display_and_prefix aids
require_tools xdotool import convert wine
make_work aids KUBRI_KEEP_AIDS
cp "$dds" "$work/Number.dds"

write_saved_game "$work/KubriGame.dat" "0,0 4,3 4,4 4,5"

start_game() {
  (cd "$work" && WINEDEBUG=-all exec "$root/scripts/wine-exec.sh" ./Kubri.exe) \
    >"$work/game.out" 2>"$work/game.err" &
  game=$!
  kubri_find_window || fail "the window did not appear"
  sleep 3
  client_geometry
  cell=32
  focus_board
}

keys() {
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.4
  done
  sleep 1
}


start_game
board_shot
! cell_has_colour 0 0 "#C000C0" || fail "r1c1 shows marks before Ctrl+M"
keys ctrl+m
board_shot
for c in 0,0 4,3 4,4 4,5; do
  cell_has_colour "${c%,*}" "${c#*,}" "#C000C0" || fail "Ctrl+M left r$((${c%,*} + 1))c$((${c#*,} + 1)) unmarked"
done
echo "Ctrl+M marked every open cell"

focus_board
keys alt+v a          # marks follow entries
focus_board
keys alt+v d          # clashes shown
focus_board
[ -f "$work/KubriOptions.dat" ] || fail "no KubriOptions.dat after turning the switches on"
# r5c6 gets 5 as its only mark (its candidate 3 taken away), then a 5 entered
# in r5c5 takes that mark with it.
keys Up Right shift+3 shift+5 Left 5
board_shot
cell_has_colour 4 4 "#404040" || fail "the 5 was not entered in r5c5"
! cell_has_colour 4 5 "#C000C0" || fail "the 5 marked in r5c6 did not follow the entry"
echo "the entry took the mark beside it"

# An 8 in r5c6 repeats the given 8 of r1c6 in column 6.
keys Up Right 8
board_shot
cell_has_colour 4 5 "#C00000" || fail "the wrong 8 is not red"
cell_has_colour 0 5 "#C00000" || fail "the given 8 it repeats is not red"
! cell_has_colour 0 5 "#0000C0" || fail "the clashing given keeps its blue"
cell_has_colour 4 4 "#404040" || fail "the 5 beside it turned red"
keys Up Right         # the clashing cell selected
board_shot
cell_has_colour 4 5 "#FFFF00" || fail "r5c6 is not selected"
cell_has_colour 4 5 "#C00000" || fail "the clash does not show on the selection"
focus_board
keys ctrl+z
board_shot
cell_has_colour 0 5 "#0000C0" || fail "undo left the given red"
keys ctrl+y
board_shot
cell_has_colour 0 5 "#C00000" || fail "redo did not bring the clash back"
echo "the clash shows in red, on the board and on the selection"

xdotool key Escape
wait_for_end
[ "$status" = 0 ] || fail "the game ended with status $status"
grep -q '^marks follow entries 1' "$work/KubriOptions.dat" || fail "marks follow entries was not kept"
grep -q '^show clashes 1' "$work/KubriOptions.dat" || fail "show clashes was not kept"

start_game
board_shot
cell_has_colour 4 5 "#C00000" || fail "after a restart the clash is not red"
cell_has_colour 0 5 "#C00000" || fail "after a restart the given it repeats is not red"
xdotool key Escape
wait_for_end
echo "both switches kept across a restart"
echo "PASS"
