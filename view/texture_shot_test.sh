#!/bin/sh
# texture_shot_test.sh KUBRI_EXE NUMBER_DDS
# Draws the same board with the digit texture loaded by the D3DX runtime and
# by the game's own DDS reader (Wine told to refuse d3dx9_31.dll), at each of
# the three sizes, and compares the screenshots of the client area: prints
# the largest and the mean per-pixel difference (the largest of the three
# colour channels, 0 to 255) and fails on any difference.
# Exits 77 (skipped) without a display, xdotool or ImageMagick.
set -eu
exe=$1
dds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/view/game_test_common.sh"

own_display_and_prefix shots
require_tools xdotool import convert wine
make_work shots KUBRI_KEEP_SHOTS
cp "$dds" "$work/Number.dds"

# A level-1 puzzle twenty times over fills that level of the stock, so that
# レベル１ takes this very puzzle in both runs and the generator adds none.
puzzle='4..6.21.3.92.435.......9.7.6.....7.8.1........3.257....86.3.....7...5369........4'
{
  echo 1
  for _ in $(seq 1 20); do echo "$puzzle" | fold -w 9; done
} >"$work/stock.dat"

pixel() {
  convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1
}

# shot FILE: the client area of a fully drawn frame (the window shows black
# between some presents under Wine, so until the margin and the first cell
# show their colours).
shot() {
  client_geometry
  for _ in $(seq 1 40); do
    import -window root -crop "${WIDTH}x${WIDTH}+$CX+$CY" +repage "$1"
    if [ "$(pixel "$1" 2 2)" = "#E0E0E0" ] &&
       [ "$(pixel "$1" $((cell + 3)) $((cell + 3)))" != "#000000" ]; then
      return 0
    fi
    sleep 0.3
  done
  fail "no drawn frame to look at"
}

# shots NAME OVERRIDES: one run of the game, a screenshot per size.
shots() {
  cp "$work/stock.dat" "$work/Kubri.dat"
  (cd "$work" && WINEDLLOVERRIDES="$2" exec "$root/scripts/wine-exec.sh" ./Kubri.exe) \
    >"$work/game.out" 2>"$work/game.err" &
  game=$!
  kubri_find_window || fail "$1: the window did not appear"
  sleep 3
  client_geometry
  menu_keys alt+q 1
  cell=32
  # Selects the empty cell (0, 1): its keypad shows every small digit.
  xdotool mousemove $((CX + cell * 2)) $((CY + cell)) click 1
  sleep 0.5
  for size in l:48 m:32 s:24; do
    menu_keys alt+v s "${size%:*}"
    cell=${size#*:}
    sleep 1
    shot "$work/$1-$cell.png"
  done
  xdotool key Escape
  wait_for_end
  [ "$status" = 0 ] || fail "$1: the game ended with status $status"
}

shots runtime "mscoree,mshtml="
shots reader "mscoree,mshtml,d3dx9_31="

different=0
for cell in 48 32 24; do
  read -r largest mean <<EOT
$(convert "$work/runtime-$cell.png" "$work/reader-$cell.png" -compose difference -composite \
    -separate -evaluate-sequence max -format '%[fx:round(maxima*255)] %[fx:mean*255]' info:)
EOT
  echo "cells of $cell pixels: largest per-pixel difference $largest, mean $mean"
  [ "$largest" -eq 0 ] || different=1
done
[ "$different" -eq 0 ] || fail "the reader's texture draws differently from the runtime's"
echo "PASS"
