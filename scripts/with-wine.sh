#!/bin/sh
# with-wine.sh COMMAND...: runs COMMAND with a virtual display (unless one is
# already set) and the build's Wine prefix up, then stops that prefix's Wine
# helpers again, whatever COMMAND returned. Returns COMMAND's status.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${KUBRI_IN_XVFB:-}" ]; then
  KUBRI_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi

stop() { wineserver -k 2>/dev/null || true; }
trap stop EXIT INT TERM
kubri_wine_up
status=0
"$@" || status=$?
exit $status
