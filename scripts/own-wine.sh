#!/bin/sh
# own-wine.sh NAME COMMAND...: runs COMMAND with a virtual display and a Wine
# prefix of its own (build/wineprefix-NAME), both stopped again afterwards.
# For the test programs that change display modes or need the foreground:
# on their own display they run beside the other tests instead of alone.
# Returns COMMAND's status; skips (77) without Xvfb.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
exe=""
. "$root/view/game_test_common.sh"
own_display_and_prefix "$1"
shift
status=0
"$@" || status=$?
exit $status
