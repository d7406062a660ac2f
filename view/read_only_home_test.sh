#!/bin/sh
# read_only_home_test.sh KUBRI_EXE NUMBER_DDS
# Plays the real game from a folder that cannot be written (a read-only bind
# mount as root, a folder without write permission otherwise): the game in
# progress, the settings and the records go to %LOCALAPPDATA%\Kubri, the
# next start resumes from there, and a puzzle finished on that second start
# counts in the records kept there. The game's folder gains no file.
# Exits 77 (skipped) without a display or xdotool, or when no read-only
# folder can be made.
set -eu
exe=$1
dds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/view/game_test_common.sh"

# A display and prefix of its own: the home it writes is that prefix's.
own_display_and_prefix read-only
require_tools xdotool wine
work=$(mktemp -d "${TMPDIR:-/tmp}/kubri-read-only.XXXXXX")
cp "$exe" "$work/Kubri.exe"
cp "$dds" "$work/Number.dds"
logs=$(mktemp -d "${TMPDIR:-/tmp}/kubri-read-only-logs.XXXXXX")
game=""
mounted=""
local_home="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Kubri"
saved_home="$local_home.before-read-only-test.$$"

finish() {
  [ -z "$game" ] || kill "$game" 2>/dev/null || true
  [ -z "$mounted" ] || umount "$work" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work" "$local_home" "$logs"
  [ ! -d "$saved_home" ] || mv "$saved_home" "$local_home"
  [ -z "${own_xvfb:-}" ] || stop_own_display
}
trap finish EXIT INT TERM

if [ "$(id -u)" = 0 ]; then
  mount --bind "$work" "$work" 2>/dev/null && mounted=1 &&
    mount -o remount,ro,bind "$work" 2>/dev/null || true
else
  chmod a-w "$work"
fi
if touch "$work/probe" 2>/dev/null; then
  echo "no read-only folder can be made here: skipped"
  exit 77
fi

# The prefix's own local application data holds a saved level-1 game with
# r5c5 and r9c9 open (the grid below is solved); any earlier Kubri folder
# there is put back at the end.
[ ! -d "$local_home" ] || mv "$local_home" "$saved_home"
mkdir -p "$local_home"
write_saved_game "$local_home/KubriGame.dat" "4,4 8,8"

start_game() {
  (cd "$work" && WINEDEBUG=-all,trace+msgbox exec "$root/scripts/wine-exec.sh" ./Kubri.exe) \
    >"$logs/game.out" 2>"$logs/game.err" &
  game=$!
  kubri_find_window || fail "the window did not appear"
  sleep 3
  client_geometry
  focus_board
}
keys() {
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.3
  done
  sleep 0.5
}
trace="$logs/game.err"

# First start: r5c5 gets its 5, then Esc.
start_game
keys Up 5
xdotool key Escape
wait_for_end
[ "$status" = 0 ] || fail "the first run ended with status $status"
[ -f "$local_home/Kubri.dat" ] || fail "Kubri.dat was not written to the local application data"
sed -n '14p' "$local_home/KubriGame.dat" | grep -q ' 5-' ||
  fail "the entered 5 was not kept in the local application data's KubriGame.dat"
echo "first run: Kubri.dat and the game in progress kept in %LOCALAPPDATA%\\Kubri"

# Second start resumes that game: the last cell finishes it to 正解.
start_game
keys Up Down Down Down Down Right Right Right Right 9
wait_boxes 1
[ "$(last_box)" = '正解＼(^▽^)／' ] || fail "the resumed game was not finished to 正解: $(last_box)"
sleep 0.5
xdotool key Return
sleep 1
xdotool key Escape
wait_for_end
[ "$status" = 0 ] || fail "the second run ended with status $status"
grep -q '^level 1 solved 1 ' "$local_home/KubriRecords.dat" ||
  fail "KubriRecords.dat in the local application data does not hold the solve"
grep -q '^finished 1' "$local_home/KubriGame.dat" || fail "the finished game is not marked finished"
[ "$(ls "$work" | sort | tr '\n' ' ')" = "Kubri.exe Number.dds " ] ||
  fail "the read-only folder changed: $(ls "$work")"
echo "second run: resumed from there, finished, and the solve counted in its records"
echo "PASS"
