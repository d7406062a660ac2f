#!/bin/sh
# dpi_test.sh KUBRI_EXE NUMBER_DDS DPI [SHOT]
# Plays the real game under Wine on a display and in a prefix of its own
# (build/wineprefix-dpiDPI) whose screen is set to DPI dots per inch: the
# window is scaled by DPI / 96 (the medium board's 32-pixel cells become 48 at 144), the grid
# is drawn at the scaled places with scaled line widths, and clicks select
# the cell drawn under the pointer, out to the far corner of the board. With
# SHOT the board's screenshot is kept there. The prefix's helpers are
# stopped at the end.
# Exits 77 (skipped) without a display, xdotool or ImageMagick.
set -eu
exe=$1
dds=$2
dpi=$3
keep_shot=${4:-}
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/view/game_test_common.sh"
own_display_and_prefix "dpi$dpi"

require_tools xdotool import convert wine
make_work dpi
cp "$dds" "$work/Number.dds"
stop_prefix() {
  cleanup
  wineserver -k 2>/dev/null || true
}
trap stop_prefix EXIT INT TERM

# The screen's DPI is read as the prefix's helpers start: set it, then start
# them again.
kubri_wine_up
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 ||
  fail "cannot set LogPixels in $WINEPREFIX"
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
kubri_wine_up

scaled() { echo $(($1 * dpi / 96)); }
cell=$(scaled 32)
client=$((cell * 10))

(cd "$work" && exec "$root/scripts/wine-exec.sh" ./Kubri.exe) >"$work/game.out" 2>"$work/game.err" &
game=$!
kubri_find_window || fail "the window did not appear"
sleep 3
client_geometry
[ "$WIDTH" -eq "$client" ] || fail "at $dpi DPI the client area is $WIDTH wide, not $client"

pixel() {
  convert "$work/shot.png" -crop "1x1+$1+$2" +repage -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1
}
# A fully drawn frame: margin and board background where they belong.
shot() {
  sleep 0.7
  for _ in $(seq 1 40); do
    import -window root "$work/shot.png"
    if [ "$(pixel $((CX + 2)) $((CY + 2)))" = "#E0E0E0" ] &&
       [ "$(pixel $((CX + client / 2 + 3)) $((CY + client - cell / 2 - 1)))" = "#404040" ]; then
      return 0
    fi
    sleep 0.3
  done
  fail "no drawn frame to look at"
}
# is COLOUR X Y: the pixel at client (X, Y) has that colour.
is() { [ "$(pixel $((CX + $2)) $((CY + $3)))" = "$1" ]; }

shot
# The border is centred on the first column's edge, 4 pixels wide at 96 DPI.
margin=$((cell / 2))
border=$(scaled 2)
is "#404040" $((margin - border)) $((client / 2)) || fail "no border at x $((margin - border))"
is "#404040" $((margin + border - 1)) $((client / 2)) || fail "the border ends before x $((margin + border - 1))"
is "#E0E0E0" $((margin - border - 1)) $((client / 2)) || fail "the border is wider than $((2 * border))"
echo "at $dpi DPI: client area $client square, cells of $cell, border $((2 * border)) pixels wide"

# select ROW COL: a click in the middle of that cell makes exactly it yellow.
select_cell() {
  left=$((margin + $2 * cell))
  top=$((margin + $1 * cell))
  xdotool mousemove $((CX + left + cell / 2)) $((CY + top + cell / 2)) click 1
  shot
  inset=$(scaled 3)
  is "#FFFF00" $((left + inset)) $((top + inset)) || fail "r$(($1 + 1))c$(($2 + 1)) was not selected"
  is "#FFFF00" $((left + cell - inset)) $((top + cell - inset)) ||
    fail "r$(($1 + 1))c$(($2 + 1)) is selected but not $cell pixels square"
  ! is "#FFFF00" $((left + cell + inset)) $((top + inset)) || fail "the selection spills past r$(($1 + 1))c$(($2 + 1))"
}
select_cell 4 4
select_cell 8 8
echo "clicks select the cell drawn under the pointer, r5c5 and r9c9"
[ -z "$keep_shot" ] ||
  convert "$work/shot.png" -crop "${client}x${client}+$CX+$CY" +repage "$keep_shot"

xdotool key Escape
wait_for_end
[ "$status" = 0 ] || fail "the game ended with status $status"
echo "PASS"
