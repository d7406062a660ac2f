# game_test_common.sh: sourced by the tests that run the real game under Wine,
# after they set $root and $exe. Brings in Wine's settings and gives each test
# the same skip rule, scratch folder, clean-up and failure message.
. "$root/scripts/wine-env.sh"

# Skips the test (exit 77) without a display or without one of the tools.
require_tools() {
  [ -n "${DISPLAY:-}" ] || { echo "no display: skipped"; exit 77; }
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: skipped"; exit 77; }
  done
}

# own_display_and_prefix NAME: gives this test a virtual display and a Wine
# prefix of its own (build/wineprefix-NAME, copied from the build's prefix
# once and kept), so that it can run beside the other tests that drive a
# real window: keyboard focus, the foreground window and the registry are
# then its own. Both are stopped at exit. Skips (77) without Xvfb. Call it
# before make_work.
own_display_and_prefix() {
  command -v Xvfb >/dev/null 2>&1 || { echo "no Xvfb: skipped"; exit 77; }
  base=$KUBRI_ROOT/build/wineprefix
  WINEPREFIX=$base kubri_wine_up
  WINEPREFIX=$KUBRI_ROOT/build/wineprefix-$1
  export WINEPREFIX
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.kubri-ready" ]; then
      rm -rf "$WINEPREFIX"
      mkdir -p "$WINEPREFIX/drive_c/windows"
      # The system folders are only read: linked, not copied (700 MB).
      big="system32 syswow64 winsxs"
      set --
      for folder in $big; do set -- "$@" --exclude="./drive_c/windows/$folder"; done
      (cd "$base" && tar cf - "$@" --exclude=./.kubri-ready .) | (cd "$WINEPREFIX" && tar xf -)
      for folder in $big; do
        [ -d "$base/drive_c/windows/$folder" ] || continue
        cp -al "$base/drive_c/windows/$folder" "$WINEPREFIX/drive_c/windows/$folder" 2>/dev/null ||
          cp -a "$base/drive_c/windows/$folder" "$WINEPREFIX/drive_c/windows/$folder"
      done
      touch "$WINEPREFIX/.kubri-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
  # Xvfb names the display it found free once it listens.
  display_file=$(mktemp "${TMPDIR:-/tmp}/kubri-display.XXXXXX")
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  own_xvfb=$!
  for _ in $(seq 1 200); do
    [ -s "$display_file" ] && break
    kill -0 "$own_xvfb" 2>/dev/null || break
    sleep 0.1
  done
  number=$(cat "$display_file")
  rm -f "$display_file"
  [ -n "$number" ] || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
  DISPLAY=:$number
  export DISPLAY
  trap stop_own_display EXIT INT TERM
  kubri_wine_up
}

stop_own_display() {
  wineserver -k 2>/dev/null || true
  [ -z "${own_xvfb:-}" ] || kill "$own_xvfb" 2>/dev/null || true
}

# make_work NAME [KEEP_VARIABLE]: a scratch folder $work holding Kubri.exe as
# the game sees it. At exit the game whose process id is in $game is ended
# and the folder removed, unless the variable named KEEP_VARIABLE is set.
make_work() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/kubri-$1.XXXXXX")
  keep_variable=${2:-}
  cp "$exe" "$work/Kubri.exe"
  game=""
  trap cleanup EXIT INT TERM
}

cleanup() {
  [ -z "$game" ] || kill "$game" 2>/dev/null || true
  [ -z "${own_xvfb:-}" ] || stop_own_display
  keep=""
  [ -z "$keep_variable" ] || eval "keep=\${$keep_variable:-}"
  [ -n "$keep" ] || rm -rf "$work"
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

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The board's geometry and the message boxes' texts: one helper for every
# script that plays the real game.
game_window="$root/view/game_window.py"

# click_keypad ROW COL POSITION [BUTTON]: clicks keypad position POSITION
# (1-9) of cell (ROW, COL), 0-based, with BUTTON (left by default), on the
# board client_geometry measured last.
click_keypad() {
  point=$(python3 "$game_window" keypad "$CX" "$CY" "$cell" "$1" "$2" "$3") ||
    fail "no keypad position $3 in cell ($1, $2)"
  xdotool mousemove $point click "${4:-1}"
}

# The same, then a pause: two clicks on one spot closer together would make
# a double click.
press_digit() {
  click_keypad "$@"
  sleep 0.3
}

# The texts of the message boxes the game has shown so far, one a line, from
# Wine's trace of each box in the game's standard error: $trace, or
# $work/game.err when that is not set.
box_texts() { python3 "$game_window" boxes "${trace:-$work/game.err}"; }

# How many message boxes the game has shown so far.
boxes() { box_texts | wc -l; }

# The text of the last message box.
last_box() { box_texts | tail -1; }

# "ROW COL DIGIT" when the last message box names a cell ("R行C列..."),
# 1-based; DIGIT is the one it places there, or 0. Nothing otherwise.
last_box_cell() { python3 "$game_window" named-cell "${trace:-$work/game.err}"; }

# Waits up to ten seconds for the game to have shown $1 message boxes.
wait_boxes() {
  for _ in $(seq 1 40); do
    [ "$(boxes)" -ge "$1" ] && return 0
    sleep 0.25
  done
  fail "message box $1 did not appear"
}

# X, Y, WIDTH, HEIGHT of the game's X window ($window); CX, CY: the client
# area's origin on the screen; cell: the cell size.
client_geometry() {
  geometry=$(python3 "$game_window" geometry "$window") || fail "the game's window is gone"
  eval "$geometry"
}

# A click into the board's top-left margin: gives the focus, changes nothing.
focus_board() {
  xdotool mousemove $((CX + 3)) $((CY + 3)) click 1
  sleep 0.5
}

# Focuses the board and presses the keys of a menu command one by one.
menu_keys() {
  focus_board
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.4
  done
  sleep 1.5
}

# The colour #RRGGBB of screen pixel ($1, $2) in $work/shot.png.
pixel_at() {
  convert "$work/shot.png" -crop "1x1+$1+$2" +repage -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1
}

# Takes $work/shot.png once a frame is fully drawn: under Wine on a virtual
# display the window shows black between some presents, so until the margin
# and the board's first cell show their colours.
board_shot() {
  sleep 0.7
  for _ in $(seq 1 40); do
    import -window root "$work/shot.png"
    if [ "$(pixel_at $((CX + 2)) $((CY + 2)))" = "#E0E0E0" ] &&
       [ "$(pixel_at $((CX + cell / 2 + 3)) $((CY + cell / 2 + 3)))" != "#000000" ]; then
      return 0
    fi
    sleep 0.3
  done
  fail "no drawn frame to look at"
}

# The distinct colours inside cell (row $1, column $2) of the last shot, clear
# of the grid lines; one #RRGGBB a line.
cell_colours() {
  convert "$work/shot.png" -crop "$((cell - 4))x$((cell - 4))+$((CX + cell / 2 + $2 * cell + 2))+$((CY + cell / 2 + $1 * cell + 2))" \
    +repage -unique-colors -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' || true
}

cell_has_colour() { cell_colours "$1" "$2" | grep -q "^$3\$"; }

# write_saved_game FILE "R,C R,C ...": a saved level-1 game of the grid
# below, every cell a given but the open ones listed (0-based), to FILE.
write_saved_game() {
  solved="534678912 672195348 198342567 859761423 426853791 713924856 961537284 287419635 345286179"
  {
    printf 'Kubri game 1\nsource level 1\nediting 0\nseconds 0\nhints 0\nanswer 0\ncounted 0\nfinished 0\ncells\n'
    r=0
    for line in $solved; do
      out=""
      for c in 0 1 2 3 4 5 6 7 8; do
        case " $2 " in
          *" $r,$c "*) token="0-000" ;;
          *) token="$(echo "$line" | cut -c$((c + 1)))g000" ;;
        esac
        out="$out${out:+ }$token"
      done
      echo "$out"
      r=$((r + 1))
    done
  } >"$1"
}
