#!/bin/sh
# start_up_test.sh KUBRI_EXE NUMBER_DDS
# Starts the real game under Wine where something it needs is missing and
# checks what the player is told and the exit status: without d3dx9_31.dll
# (Wine is told to refuse it) no box, the board drawn with its digits, and
# status 0 after Esc; without the runtime and with a cut Number.dds, or
# without Number.dds, only the device-objects box and status 9.
# Exits 77 (skipped) without a display, xdotool or ImageMagick.
set -eu
exe=$1
dds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"

[ -n "${DISPLAY:-}" ] || { echo "no display: skipped"; exit 77; }
for tool in xdotool import convert wine; do
  command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: skipped"; exit 77; }
done
[ -f "$dds" ] || { echo "FAIL: no $dds" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kubri-start.XXXXXX")
cp "$exe" "$work/Kubri.exe"
game=""
cleanup() {
  [ -z "$game" ] || kill "$game" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Waits up to half a minute for the game to end; sets $status.
wait_for_end() {
  for _ in $(seq 1 60); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.5
  done
  status=0
  wait "$game" || status=$?
  game=""
}

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
    if grep -q 'MSGBOX_OnInit' "$work/err"; then
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
  sed -n 's/.*MSGBOX_OnInit L"\(.*\)"\r*$/\1/p' "$work/err" >"$work/boxes"
}

refuse="mscoree,mshtml,d3dx9_31="

# Without the runtime the game reads Number.dds itself: the board shows its
# given digits (dark blue), and Esc ends it normally.
cp "$dds" "$work/Number.dds"
(cd "$work" && WINEDLLOVERRIDES="$refuse" WINEDEBUG=-all,trace+msgbox \
  exec "$root/scripts/wine-exec.sh" ./Kubri.exe) >"$work/out" 2>"$work/err" &
game=$!
kubri_find_window || fail "without d3dx9_31.dll no window appeared"
sleep 3
eval "$(xdotool getwindowgeometry --shell "$window")"
given=""
for _ in $(seq 1 20); do
  import -window root -crop "${WIDTH}x${WIDTH}+$X+$((Y + HEIGHT - WIDTH))" +repage "$work/shot.png"
  given=$(convert "$work/shot.png" -unique-colors -depth 8 txt:- | grep -c '#0000C0' || true)
  [ "$given" -gt 0 ] && break
  sleep 0.5
done
[ "$given" -gt 0 ] || fail "without d3dx9_31.dll the board shows no given digit"
xdotool mousemove $((X + 3)) $((Y + HEIGHT - WIDTH + 3)) click 1
sleep 0.5
xdotool key Escape
wait_for_end
[ "$status" = 0 ] || fail "without d3dx9_31.dll the game ended with status $status"
! grep -q 'MSGBOX_OnInit' "$work/err" || fail "without d3dx9_31.dll a box was shown"
echo "without d3dx9_31.dll: the board drawn from the game's own reading of Number.dds, status 0"

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
