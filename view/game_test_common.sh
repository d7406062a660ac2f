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

# Clicks keypad position $3 (1-9) of cell (row $1, column $2), 0-based, with
# button $4 (left by default). $CX and $CY are the client area's origin on
# the screen, $cell the cell size.
press_digit() {
  xdotool mousemove $((CX + cell / 2 + $2 * cell + ($3 - 1) % 3 * cell / 3 + cell / 6)) \
    $((CY + cell / 2 + $1 * cell + ($3 - 1) / 3 * cell / 3 + cell / 6)) click "${4:-1}"
  sleep 0.3
}

# Message boxes the game has shown so far, from Wine's trace of each box's
# text in $work/game.err.
boxes() { grep -c 'MSGBOX_OnInit' "$work/game.err" || true; }
