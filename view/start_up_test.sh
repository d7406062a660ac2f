#!/bin/sh
# start_up_test.sh KUBRI_EXE NUMBER_DDS
# Starts the real game under Wine where something it needs is missing and
# checks what the player is told and the exit status: without d3dx9_31.dll
# (Wine is told to refuse it) one box naming the DLL and the DirectX
# End-User Runtime and status 10, or no box with -noerrormsgboxes; without
# Number.dds only the device-objects box and status 9.
# Exits 77 (skipped) without a display or xdotool.
set -eu
exe=$1
dds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"

[ -n "${DISPLAY:-}" ] || { echo "no display: skipped"; exit 77; }
for tool in xdotool wine; do
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
  for _ in $(seq 1 60); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.5
  done
  status=0
  wait "$game" || status=$?
  game=""
  sed -n 's/.*MSGBOX_OnInit L"\(.*\)"\r*$/\1/p' "$work/err" >"$work/boxes"
}

refuse="mscoree,mshtml,d3dx9_31="

run "$refuse" "DirectX Application"
[ "$status" = 10 ] || fail "without d3dx9_31.dll the status is $status, not 10"
[ "$(wc -l <"$work/boxes")" = 1 ] || fail "without d3dx9_31.dll: boxes $(cat "$work/boxes")"
grep -q 'd3dx9_31\.dll' "$work/boxes" || fail "the box does not name d3dx9_31.dll: $(cat "$work/boxes")"
grep -q 'DirectX End-User Runtime' "$work/boxes" ||
  fail "the box does not name the DirectX End-User Runtime: $(cat "$work/boxes")"
echo "without d3dx9_31.dll: $(cat "$work/boxes"), status 10"

run "$refuse" "DirectX Application" -noerrormsgboxes
[ "$status" = 10 ] || fail "without d3dx9_31.dll and boxes the status is $status, not 10"
[ ! -s "$work/boxes" ] || fail "-noerrormsgboxes still showed $(cat "$work/boxes")"
echo "without d3dx9_31.dll and -noerrormsgboxes: no box, status 10"

run "mscoree,mshtml=" "Kubri"
[ "$status" = 9 ] || fail "without Number.dds the status is $status, not 9"
[ "$(cat "$work/boxes")" = "Failed resetting Direct3D device objects." ] ||
  fail "without Number.dds the boxes were: $(cat "$work/boxes")"
echo "without Number.dds: only \"$(cat "$work/boxes")\", status 9"
