#!/bin/sh
# heap-checked.sh PROGRAM [ARGUMENTS...]: runs a Windows program under Wine
# with Wine's heap checks on, and fails when the program fails or when Wine
# reports any heap error or warning; the report is printed. After a report
# Wine's own assertion often leaves the program hanging, so it is ended then.
#
# KUBRI_HEAP_CHECKS=full (the default; WINEDEBUG=+heap) has Wine 8 validate
# the whole heap and every block's tail at each allocation and free, fill
# freed blocks and check them when reused, and report pointers freed twice or
# never allocated. =light (warn+heap) keeps the last two checks only. Full
# checks are for programs without a Direct3D device: once Wine's Direct3D
# runs its own command thread, they report blocks that its thread has just
# allocated as freed blocks overwritten, while its trace shows them live.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
# No debugger on a crash: it would wait for ever.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d"
kubri_wine_up
log=$(mktemp -d "${TMPDIR:-/tmp}/kubri-heap.XXXXXX")
trap 'rm -rf "$log"' EXIT INT TERM

# Wine traces every heap call; only the validation's own reports are kept.
# The program's own output goes on to standard output.
case ${KUBRI_HEAP_CHECKS:-full} in
  full) channels=-all,+heap ;;
  light) channels=-all,err+heap,warn+heap ;;
  *) echo "KUBRI_HEAP_CHECKS is full or light" >&2; exit 2 ;;
esac
exec 4>&1
WINEDEBUG=$channels sh -c 'wine "$@" & echo $! >"$0/pid"; wait $! || echo $? >"$0/status"' \
    "$log" "$@" 2>&1 1>&4 4>&- |
  grep --line-buffered -v -E ':trace:heap:(Rtl|GetSystemFirmwareTable|find_free_block)' >"$log/err" &
runner=$!
exec 4>&-
reported() { grep -q -E ':(err|warn):heap:|Assertion failed' "$log/err"; }
while kill -0 "$runner" 2>/dev/null; do
  if reported; then
    sleep 2
    [ ! -s "$log/pid" ] || kill "$(cat "$log/pid")" 2>/dev/null || true
    break
  fi
  sleep 0.2
done
wait "$runner" || true

status=0
if [ -s "$log/status" ]; then
  echo "exit status $(cat "$log/status")" >&2
  status=1
fi
if reported; then
  echo "Wine's heap checks reported:" >&2
  grep -E -A3 ':(err|warn):heap:|Assertion failed' "$log/err" | head -40 >&2
  status=1
fi
[ "$status" -ne 0 ] || echo "heap checks: no report"
exit "$status"
