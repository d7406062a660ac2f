#!/bin/sh
# start_up_test.sh KUBRI_EXE NUMBER_DDS
# Starts the real game under Wine where something it needs is missing and
# checks what the player is told and the exit status: without d3dx9_31.dll
# (Wine is told to refuse it) no box, the board drawn with its digits, and
# status 0 after Esc, also with the DXT5 and 24-bit textures ImageMagick
# writes by default; without the runtime and with a cut Number.dds, or
# without Number.dds, only the device-objects box and status 9; and
# -width:-100 -height:-100 start on the screen at the board's size.
# Exits 77 (skipped) without a display, xdotool or ImageMagick.
set -eu
exe=$1
dds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/view/game_test_common.sh"

own_display_and_prefix start
require_tools xdotool import convert wine
[ -f "$dds" ] || fail "no $dds"
make_work start
trace="$work/err"

# run OVERRIDES CAPTION [OPTIONS...]: starts the game with those DLL
# overrides and Wine's message-box trace; when a box captioned CAPTION
# appears, clicks into it (giving it the focus) and presses Return. Sets
# $status and leaves the box texts, one a line, in $work/boxes.
run() {
  overrides=$1
  caption=$2
  shift 2
  (cd "$work" && WINEDLLOVERRIDES="$overrides" WINEDEBUG=-all,trace+msgbox \
    exec "$root/scripts/wine-exec.sh" ./Kubri.exe "$@") >"$work/out" 2>"$work/err" &
  game=$!
  for _ in $(seq 1 120); do
    kill -0 "$game" 2>/dev/null || break
    if [ "$(boxes)" -gt 0 ]; then
      sleep 1
      box=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | tail -1 || true)
      if [ -n "$box" ]; then
        eval "$(xdotool getwindowgeometry --shell "$box")"
        xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 3)) click 1
        sleep 0.5
        xdotool key Return
        break
      fi
    fi
    sleep 0.5
  done
  wait_for_end
  box_texts >"$work/boxes"
}

refuse="mscoree,mshtml,d3dx9_31="

# Clicks into the game's board and presses Esc, as a player ends it; a busy
# machine may take the first Esc before the game listens, so it is pressed
# again until the game ends. Sets $status.
end_with_escape() {
  for _ in 1 2 3 4 5 6; do
    geometry=$(python3 "$game_window" geometry "$window" 2>/dev/null) || break
    eval "$geometry"
    focus_board
    xdotool key Escape
    for _ in $(seq 1 20); do kill -0 "$game" 2>/dev/null || break; sleep 0.25; done
    kill -0 "$game" 2>/dev/null || break
  done
  wait_for_end
}

# Without the runtime the game reads Number.dds itself: the board shows its
# given digits (dark blue), and Esc ends it normally.
cp "$dds" "$work/Number.dds"
(cd "$work" && WINEDLLOVERRIDES="$refuse" WINEDEBUG=-all,trace+msgbox \
  exec "$root/scripts/wine-exec.sh" ./Kubri.exe) >"$work/out" 2>"$work/err" &
game=$!
kubri_find_window || fail "without d3dx9_31.dll no window appeared"
client_geometry
given=""
for _ in $(seq 1 20); do
  import -window root -crop "${WIDTH}x${WIDTH}+$CX+$CY" +repage "$work/shot.png"
  given=$(convert "$work/shot.png" -unique-colors -depth 8 txt:- | grep -c '#0000C0' || true)
  [ "$given" -gt 0 ] && break
  sleep 0.5
done
[ "$given" -gt 0 ] || fail "without d3dx9_31.dll the board shows no given digit"
end_with_escape
[ "$status" = 0 ] || fail "without d3dx9_31.dll the game ended with status $status"
[ "$(boxes)" -eq 0 ] || fail "without d3dx9_31.dll a box was shown: $(box_texts)"
echo "without d3dx9_31.dll: the board drawn from the game's own reading of Number.dds, status 0"

# Textures as image tools write them by default: DXT5 resized to 150 x 150
# (sides that are not multiples of 4) and 24-bit R8G8B8 without alpha. The
# game reads them itself and plays: no box, status 0 after Esc.
for kind in dxt5 none; do
  case $kind in
    dxt5) convert "$dds" -resize 150x150 -define dds:compression=dxt5 "$work/Number.dds" ;;
    *) convert "$dds" -alpha off -resize 150x150 -define dds:compression=none "$work/Number.dds" ;;
  esac
  (cd "$work" && WINEDLLOVERRIDES="$refuse" WINEDEBUG=-all,trace+msgbox \
    exec "$root/scripts/wine-exec.sh" ./Kubri.exe) >"$work/out" 2>"$work/err" &
  game=$!
  kubri_find_window || fail "with a $kind Number.dds of 150 x 150 no window appeared"
  end_with_escape
  [ "$status" = 0 ] || fail "with a $kind Number.dds of 150 x 150 the game ended with status $status"
  [ "$(boxes)" -eq 0 ] || fail "with a $kind Number.dds of 150 x 150 a box was shown: $(box_texts)"
  echo "without d3dx9_31.dll, a Number.dds of 150 x 150 ($kind) from ImageMagick: status 0"
done

# A cut file ends like a missing one.
head -c 1000 "$dds" >"$work/Number.dds"
run "$refuse" "Kubri"
[ "$status" = 9 ] || fail "without d3dx9_31.dll and with a cut Number.dds the status is $status, not 9"
[ "$(cat "$work/boxes")" = "Failed resetting Direct3D device objects." ] ||
  fail "with a cut Number.dds the boxes were: $(cat "$work/boxes")"
echo "without d3dx9_31.dll and with a cut Number.dds: only \"$(cat "$work/boxes")\", status 9"
rm -f "$work/Number.dds"

run "mscoree,mshtml=" "Kubri"
[ "$status" = 9 ] || fail "without Number.dds the status is $status, not 9"
[ "$(cat "$work/boxes")" = "Failed resetting Direct3D device objects." ] ||
  fail "without Number.dds the boxes were: $(cat "$work/boxes")"
echo "without Number.dds: only \"$(cat "$work/boxes")\", status 9"

# --- Start-ups that end early, or begin at another size than the board's ---
# A start with -forceref whose reference-device warning is answered No ends
# with status 1 and leaves a prepared Kubri.dat (size 0 and a stock) byte for
# byte as it was. A start with -width:800 -height:600 (or -fullscreen
# -windowed) shows the board filling its client area, as a plain start does;
# those need ImageMagick's import and convert, and are skipped without.

# A settings file of size 0 (large) and two puzzles from the generator's
# recorded output, in the game's CRLF text form.
prepare_settings() {
  printf '0\r\n' >"$work/Kubri.dat"
  grep -v '^#' "$root/puzzle/testdata/generated-level1.txt" | head -2 |
    sed 's/\./ /g; s/\(.........\)/\1\n/g' | sed '/^$/d; s/$/\r/' >>"$work/Kubri.dat"
  cp "$work/Kubri.dat" "$work/Kubri.dat.prepared"
}

# Starts the game with OPTIONS in the background; $game is its process.
start_in_work() {
  (cd "$work" && WINEDEBUG=-all exec "$root/scripts/wine-exec.sh" ./Kubri.exe "$@") \
    >"$work/out" 2>"$work/err" &
  game=$!
}

forceref_refused() {
  "$root/scripts/wine-exec.sh" reg delete 'HKCU\Software\Microsoft\DirectX 9.0 SDK' \
    /v 'Skip Warning On REF' /f >/dev/null 2>&1 || true
  prepare_settings
  start_in_work -forceref
  # The warning comes while the first device is made, before the game's
  # window is shown: the only visible window captioned Kubri is the dialog.
  dialog=""
  for _ in $(seq 1 120); do
    dialog=$(xdotool search --onlyvisible --name '^Kubri$' 2>/dev/null | tail -1 || true)
    [ -z "$dialog" ] || break
    sleep 0.5
  done
  [ -n "$dialog" ] || fail "-forceref showed no reference-device warning"
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  # Into the dialog's text (gives it the focus), then N for "&No".
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 4)) click 1
  sleep 0.5
  xdotool key n
  wait_for_end
  [ "$status" = 1 ] || fail "-forceref answered No: status $status, not 1"
  cmp -s "$work/Kubri.dat" "$work/Kubri.dat.prepared" ||
    fail "-forceref answered No changed Kubri.dat: $(od -c "$work/Kubri.dat" | head -3)"
  echo "-forceref answered No: status 1, Kubri.dat unchanged"
}

# Starts the game with OPTIONS and no settings file, waits for a drawn
# frame, checks that the board fills the 320 x 320 client area (its bottom
# border half a cell above the bottom edge, margin below it), and closes it.
board_fills_client() {
  rm -f "$work/Kubri.dat"
  start_in_work "$@"
  kubri_find_window || fail "$*: the window did not appear"
  sleep 3
  client_geometry
  [ "$WIDTH" -eq 320 ] || fail "$*: client width $WIDTH, not 320"
  [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] || fail "$*: the window is off the screen at $X, $Y"
  drawn=""
  for _ in $(seq 1 40); do
    import -window root "$work/shot.png"
    if [ "$(pixel_at $((CX + 2)) $((CY + 2)))" = "#E0E0E0" ] &&
       [ "$(pixel_at $((CX + 163)) $((CY + 304)))" = "#404040" ] &&
       [ "$(pixel_at $((CX + 163)) $((CY + 318)))" = "#E0E0E0" ]; then
      drawn=yes
      break
    fi
    sleep 0.3
  done
  [ -n "$drawn" ] || fail "$*: the board does not fill the client area (see $work/shot.png)"
  focus_board
  xdotool key Escape
  wait_for_end
  echo "${*:-plain start}: the board fills the 320 x 320 client area"
}

cp "$dds" "$work/Number.dds"
forceref_refused
if command -v import >/dev/null 2>&1 && command -v convert >/dev/null 2>&1; then
  board_fills_client
  board_fills_client -width:800 -height:600
  board_fills_client -fullscreen -windowed
  board_fills_client -width:-100 -height:-100
else
  echo "no ImageMagick: the first-size cases skipped"
fi
rm -f "$work/Number.dds" "$work/Kubri.dat" "$work/Kubri.dat.prepared"
