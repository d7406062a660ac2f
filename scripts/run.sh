#!/bin/sh
# run.sh [OPTIONS...]: builds Kubri.exe and plays it under Wine in run/, its
# own working folder, where Number.dds lies and Kubri.dat is kept between
# runs. Options go to the game (for example -windowed or -width 480).
# With a display the game runs until its window is closed. Without one it
# runs for a few seconds on a virtual display, saves a screenshot of the
# window as run/kubri-screenshot.png, closes the game the normal way (so
# Kubri.dat is written) and says where the picture is.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${KUBRI_WINDOWS_BUILD:-build/windows}

if [ -z "${KUBRI_IN_XVFB:-}" ]; then
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
  fi
  cmake --build "$build" --target Kubri -j2 >/dev/null
fi
mkdir -p run
cp "$build/view/Kubri.exe" "$build/view/Number.dds" run/

if [ -z "${DISPLAY:-}" ] && [ -z "${KUBRI_IN_XVFB:-}" ]; then
  KUBRI_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi

. "$root/scripts/wine-env.sh"
# Stop the prefix's helpers afterwards only if this script started them.
started_wine=""
kubri_wine_socket || started_wine=1
kubri_wine_up
stop_wine() { [ -z "$started_wine" ] || wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT INT TERM

if [ -z "${KUBRI_IN_XVFB:-}" ]; then
  (cd run && wine ./Kubri.exe "$@")
  exit 0
fi

(cd run && exec wine ./Kubri.exe "$@") >run/wine.log 2>&1 &
game=$!
if ! kubri_find_window; then
  echo "run.sh: the game's window did not appear (see run/wine.log)" >&2
  kill "$game" 2>/dev/null || true
  exit 1
fi
sleep 3
# Without a window manager the X window holds the menu bar and the square
# client area; a click into the margin gives the game the focus.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 4)) $((Y + HEIGHT - WIDTH + 4)) click 1
sleep 1
# The window's own picture may come out black (its pixels are drawn through
# OpenGL), so cut the window out of the whole screen instead; Wine on a
# virtual display shows black between some presents, so take the first
# picture whose margin (just below the menu bar) has the margin colour.
for _ in $(seq 1 40); do
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage run/kubri-screenshot.png
  margin=$(convert run/kubri-screenshot.png -crop "1x1+2+$((HEIGHT - WIDTH + 2))" +repage -depth 8 txt:- |
    grep -o '#[0-9A-F]\{6\}' | head -1)
  [ "$margin" != "#E0E0E0" ] || break
  sleep 0.3
done
xdotool key Escape
for _ in $(seq 1 40); do
  kill -0 "$game" 2>/dev/null || break
  sleep 0.5
done
kill "$game" 2>/dev/null || true
echo "Kubri ran for a few seconds on a virtual display."
echo "Screenshot: $root/run/kubri-screenshot.png"
