#!/bin/sh
# soak_test.sh KUBRI_EXE NUMBER_DDS SETTINGS_CHECK_EXE [SECONDS]
# Plays the real game under Wine for SECONDS (60 unless KUBRI_SOAK_SECONDS
# says otherwise) with a seeded random driver and Wine's heap checks on:
# clicks on cells and keypad positions with both buttons, keys, every menu
# command, bursts of undo and redo, hints, sizes, edit mode, and files opened
# and saved in the scratch folder; message boxes and file dialogs are
# answered as they come. Then it closes the game and checks Kubri.dat.
#
# Fails on a crash or an early end, on any heap error or warning in Wine's
# log (or a complaint from the host allocator), when the memory the game's
# process holds keeps growing after the warm-up, or when Kubri.dat is not
# written or does not read back.
#
# KUBRI_SOAK_SEED picks the seed (fixed by default; printed either way).
# KUBRI_SOAK_HEAP=warn (the default) has Wine fill every freed block and
# check it when it is reused, and check every pointer freed or reallocated;
# =trace also validates the whole heap and every block's tail at each
# allocation and free, but under Wine 8 that reports live blocks of its own
# Direct3D command thread as freed blocks overwritten (see
# scripts/heap-checked.sh), so it is for looking, not for passing.
# KUBRI_SOAK_KEEP=1 keeps the work folder with the logs.
# Exits 77 (skipped) without a display or xdotool.
set -eu
exe=$1
dds=$2
checker=$3
seconds=${4:-${KUBRI_SOAK_SECONDS:-60}}
seed=${KUBRI_SOAK_SEED:-20261208}
heap=${KUBRI_SOAK_HEAP:-warn}
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/view/game_test_common.sh"

own_display_and_prefix soak
require_tools xdotool wine
kubri_wine_up

make_work soak KUBRI_SOAK_KEEP
cp "$dds" "$work/Number.dds"
cp "$checker" "$work/check.exe"
actions=0

# Says where the run stood as well.
fail() {
  echo "FAIL: $*" >&2
  echo "seed $seed, action $actions: replay with KUBRI_SOAK_SEED=$seed; the last actions:" >&2
  tail -5 "$work/actions.log" >&2 || true
  heap_problems | head -20 >&2 || true
  exit 1
}

# --- The seeded random source: a 31-bit linear congruential generator -------
state=$seed
# Sets $r to a number below $1.
rnd() {
  state=$(((state * 1103515245 + 12345) % 2147483648))
  r=$(((state >> 12) % $1))
}
# Sets $pick to one of the arguments.
choose() {
  rnd $#
  shift "$r"
  pick=$1
}

# --- The game ----------------------------------------------------------------
case $heap in
  trace) channels='-all,+heap,trace+msgbox' ;;
  warn) channels='-all,err+heap,warn+heap,trace+msgbox' ;;
  *) echo "KUBRI_SOAK_HEAP is trace or warn" >&2; exit 2 ;;
esac
# No debugger on a crash: it would wait for ever.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d"
# Wine writes one trace line per heap call (kept in game.trace, to tell who
# allocated and freed a block that is reported); game.err keeps only the
# validation's own reports and the message box texts. The game's process id
# comes first.
(cd "$work" && WINEDEBUG=$channels sh -c 'echo $$ >game.pid; exec wine ./Kubri.exe' 2>&1 >"$work/game.out" |
  tee "$work/game.trace" |
  grep --line-buffered -v -E ':trace:heap:(Rtl|GetSystemFirmwareTable)' >"$work/game.err") &
for _ in $(seq 1 50); do [ -s "$work/game.pid" ] && break; sleep 0.1; done
game=$(cat "$work/game.pid")
kubri_find_window || fail "the window did not appear"
sleep 3

# What Wine's heap validation or the host's allocator said.
heap_problems() {
  grep -E ':(err|warn):heap:|Assertion failed|corrupted|double free|free\(\)|malloc\(\)|realloc\(\)|Unhandled|page fault' \
    "$work/game.err" || true
}

alive() { kill -0 "$game" 2>/dev/null; }

# CX, CY: the client area's origin (client_geometry); cell: the cell size
# in pixels.
geometry() {
  client_geometry
  cell=$((WIDTH / 10))
}

# A click into the board's top-left margin: gives the focus (and closes a
# menu left open by a grayed item), changes nothing on the board.
focus() {
  xdotool mousemove $((CX + 3)) $((CY + 3)) click 1
  sleep 0.2
}

# Visible windows named $1 (a regular expression).
shown() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

# Answers every message box that is up (their caption is the game's too).
answer_boxes() {
  answered=0
  for _ in 1 2 3 4 5; do
    [ "$(shown '^Kubri$')" -gt 1 ] || break
    xdotool key Return
    answered=1
    sleep 1
  done
  [ "$answered" -eq 0 ] || focus
}

# Waits up to $3 seconds for the windows named $1 to be up or gone ($2);
# true when they are.
await() {
  for _ in $(seq 1 $(($3 * 5))); do
    n=$(shown "$1")
    if [ "$2" = up ]; then [ "$n" -gt 0 ] && return 0; else [ "$n" -eq 0 ] && return 0; fi
    sleep 0.2
  done
  return 1
}

# Gives the window the focus, then presses the keys named in $1 in turn.
keys() {
  focus
  for key in $1; do
    xdotool key "$key"
    sleep 0.15
  done
}

# --- Actions -----------------------------------------------------------------
# A click with button $1 on a random keypad position of a random cell.
act_click() {
  rnd 9; row=$r
  rnd 9; col=$r
  rnd 9; digit=$((r + 1))
  note "click $1 r$((row + 1))c$((col + 1)) position $digit"
  press_digit "$row" "$col" "$digit" "$1"
}

# A key of the keyboard play: digits, marks, arrows, erasing.
act_key() {
  choose 1 2 3 4 5 6 7 8 9 shift+1 shift+5 shift+9 Up Down Left Right Delete BackSpace space
  note "key $pick"
  xdotool key "$pick"
}

# A burst of undo and then of redo, as held keys would send them.
act_undo_redo() {
  rnd 12; undo=$((r + 1))
  rnd 12; redo=$r
  choose ctrl+y ctrl+shift+z
  note "undo x$undo, redo ($pick) x$redo"
  focus
  i=0; while [ $i -lt $undo ]; do xdotool key ctrl+z; i=$((i + 1)); done
  i=0; while [ $i -lt $redo ]; do xdotool key "$pick"; i=$((i + 1)); done
}

# A menu command by its keys (grayed ones leave the menu open: focus closes it).
act_menu() {
  choose 'alt+q 1' 'alt+q 2' 'alt+q 3' 'alt+q r' 'alt+q a' 'alt+q h' 'alt+q h' 'alt+q h' \
    'alt+e u' 'alt+e r' 'alt+e s' 'alt+e e' 'alt+e f' 'alt+v s l' 'alt+v s m' 'alt+v s s' \
    'alt+h a' 'alt+f s' 'alt+q t' 'alt+e m' 'alt+v a' 'alt+v d'
  note "menu $pick"
  keys "$pick"
  sleep 0.5
  case $pick in
    'alt+f s') name=soak1.kbr; answer_dialog '保存するファイル名' ;;
    'alt+v s '*) geometry ;;
  esac
}

# Open or save as through the file dialog, on one of three scratch files.
act_file() {
  choose 'alt+f o' 'alt+f a' 'alt+f a'
  rnd 3
  name="soak$((r + 1)).kbr"
  note "file $pick $name"
  keys "$pick"
  case $pick in
    'alt+f o') answer_dialog '開くファイル名' ;;
    *) answer_dialog '保存するファイル名' ;;
  esac
}

# Types $name into the dialog named $1 and confirms it, or (one time in
# five) cancels it. A missing file to open brings a warning, which is
# answered. Cancel is clicked rather than Esc pressed: an Esc that arrived
# after the dialog had gone would close the game.
answer_dialog() {
  await "$1" up 5 || return 0
  sleep 1
  rnd 5
  if [ "$r" -gt 0 ]; then
    xdotool key End shift+Home
    xdotool type --delay 30 "$name"
    xdotool key Return
    await "$1" gone 8 && { focus; return 0; }
    xdotool key Return
    await "$1" gone 8 && { focus; return 0; }
  fi
  dialog=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
  if [ -n "$dialog" ]; then
    eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/D/')"
    xdotool mousemove $((DX + DWIDTH - 54)) $((DY + DHEIGHT - 18)) click 1
  fi
  await "$1" gone 8 || fail "the dialog $1 did not close"
  focus
}

# A drop-down menu is up: an unnamed window whose corner lies on the game's.
menu_up() {
  for w in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null | sed 's/^/M/')" || continue
    [ "$MX" -gt "$X" ] && [ "$MX" -lt $((X + WIDTH)) ] &&
      [ "$MY" -gt "$Y" ] && [ "$MY" -lt $((Y + HEIGHT)) ] && return 0
  done
  return 1
}

# A menu opened and closed again with Esc, Esc: the first closes the
# drop-down, the second leaves the menu bar. Sent only while the drop-down is
# up, since Esc on the board closes the game.
escape_menu() {
  keys "$1"
  sleep 0.65
  if menu_up; then
    xdotool key Escape
    sleep 0.3
    xdotool key Escape
    sleep 0.3
  fi
  focus
}

act_menu_escape() {
  choose alt+f alt+q alt+e alt+v alt+h
  note "menu $pick, Esc, Esc"
  escape_menu "$pick"
}

# Waits up to ten seconds for more than $1 boxes; true when one came.
wait_box() {
  for _ in $(seq 1 50); do
    [ "$(boxes)" -gt "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

menu() {
  keys "$*"
  sleep 1
}

# The steps played before the one crash seen in long play: a grid finished
# by following hints to 正解, Ctrl+Z and the hint's keys while that box is
# up, then retry, undo, redo, a mark on r1c2, r5c5 selected, the answer,
# undo, redo, and the edit menu opened and left with Esc, Esc.
act_crash_steps() {
  note "the steps before the crash once seen"
  menu alt+q a
  i=0
  while [ $i -lt 3 ]; do          # a few answered values taken away again
    rnd 9; row=$r; rnd 9; col=$r
    press_digit $row $col 5; press_digit $row $col 5 3; press_digit $row $col 5 3
    i=$((i + 1))
  done
  i=0
  while [ $i -lt 6 ]; do          # hints followed until the grid is finished
    seen=$(boxes)
    menu alt+q h
    wait_box "$seen" || break
    hint=$(grep 'MSGBOX_OnInit' "$work/game.err" | tail -1 |
      sed -n 's/.*L"\([1-9]\)\\884c\([1-9]\)\\5217\\306b\\300c\([1-9]\)\\300d.*/\1 \2 \3/p')
    xdotool key Return
    sleep 0.8
    [ -n "$hint" ] || break
    set -- $hint
    seen=$(boxes)
    press_digit $(($1 - 1)) $(($2 - 1)) "$3"
    press_digit $(($1 - 1)) $(($2 - 1)) "$3"
    if wait_box "$seen"; then      # 正解 (or not): undo and hint while it is up
      xdotool key ctrl+z
      xdotool key alt+q
      xdotool key h
      sleep 0.5
      break
    fi
    i=$((i + 1))
  done
  answer_boxes
  menu alt+q r
  xdotool key ctrl+z; sleep 0.3
  xdotool key ctrl+y; sleep 0.3
  press_digit 0 1 5; press_digit 0 1 3
  press_digit 4 4 5
  menu alt+q a
  xdotool key ctrl+z; sleep 0.3
  xdotool key ctrl+y; sleep 0.3
  answer_boxes
  escape_menu alt+e
}

note() { echo "$actions $(($(date +%s) - started))s $*" >>"$work/actions.log"; }

# --- Memory ------------------------------------------------------------------
# One line "seconds kB" per sample of the game's resident set.
sample() {
  rss=$(sed -n 's/^VmRSS:[^0-9]*\([0-9]*\).*/\1/p' "/proc/$game/status" 2>/dev/null || true)
  [ -z "$rss" ] || echo "$(($(date +%s) - started)) $rss" >>"$work/rss.log"
}

# Fails when the resident set keeps growing after the warm-up: the lowest
# sample of the last third may not lie above the highest of the first third
# by more than the margin (16 MiB, or a tenth of that highest).
check_growth() {
  awk -v warm="$1" '
    $1 >= warm { t[n] = $1; v[n++] = $2 }
    END {
      if (n < 6) { print "few samples"; exit 0 }
      third = int(n / 3); hi = 0; lo = -1
      for (i = 0; i < third; i++) if (v[i] > hi) hi = v[i]
      for (i = n - third; i < n; i++) if (lo < 0 || v[i] < lo) lo = v[i]
      margin = hi / 10; if (margin < 16384) margin = 16384
      printf "after warm-up: first third up to %d kB, last third from %d kB\n", hi, lo
      exit (lo > hi + margin) ? 1 : 0
    }' "$work/rss.log"
}

# --- The run -----------------------------------------------------------------
echo "soak: seed $seed, $seconds s, heap checks $heap"
started=$(date +%s)
actions=0
last_sample=-10
geometry
focus
# A long run opens with the steps once seen before a crash; a short one
# keeps its minute for random play (the steps come up there too, now and then).
if [ "$seconds" -ge 300 ]; then
  actions=1
  act_crash_steps
  answer_boxes
fi
while [ $(($(date +%s) - started)) -lt "$seconds" ]; do
  alive || fail "the game ended by itself"
  heap_problems | grep -q . && fail "heap problem reported"
  now=$(($(date +%s) - started))
  if [ $((now - last_sample)) -ge 5 ]; then sample; last_sample=$now; fi
  actions=$((actions + 1))
  rnd 100
  if [ "$r" -lt 40 ]; then act_click 1
  elif [ "$r" -lt 52 ]; then act_click 3
  elif [ "$r" -lt 70 ]; then act_key
  elif [ "$r" -lt 78 ]; then act_undo_redo
  elif [ "$r" -lt 94 ]; then act_menu
  elif [ "$r" -lt 95 ]; then act_menu_escape
  elif [ "$r" -lt 96 ]; then act_crash_steps
  else act_file
  fi
  sleep 0.1
  answer_boxes
done
sample
played=$(($(date +%s) - started))
alive || fail "the game ended by itself"
peak=$(sed -n 's/^VmHWM:[^0-9]*\([0-9]*\).*/\1/p' "/proc/$game/status")

# Close the game as a player would, with the menu or Esc, once no menu is
# left open; a new puzzle made on the spot may keep it busy for a while.
choose 'alt+f x' Escape
note "close with $pick"
answer_boxes
for attempt in 1 2 3; do
  focus
  if menu_up; then sleep 1; continue; fi
  keys "$pick"
  for _ in $(seq 1 120); do alive || break; sleep 0.5; done
  alive || break
  answer_boxes
  pick='alt+f x'
done
alive && fail "the game did not end after closing"
game=""
problems=$(heap_problems)
[ -z "$problems" ] || fail "heap problem reported"
[ -f "$work/Kubri.dat" ] || fail "no Kubri.dat after closing"
report=$("$root/scripts/wine-exec.sh" "$work/check.exe" "$work/Kubri.dat" | tr -d '\r') ||
  fail "the stock in Kubri.dat does not grade as filed: $report"
minutes=$(awk -v s="$played" 'BEGIN { printf "%.1f", s / 60 }')
echo "soak: $actions actions in $minutes min, peak resident set $((peak / 1024)) MiB, heap warnings 0"
echo "$report" | tr '\n' ' '; echo
warm=60
[ "$seconds" -ge 180 ] || warm=$((seconds / 3))
check_growth "$warm" || fail "the game's memory kept growing: $(tr '\n' ' ' <"$work/rss.log")"
echo "PASS"
