#!/bin/sh
# soak_test.sh KUBRI_EXE NUMBER_DDS SETTINGS_CHECK_EXE [SECONDS]
# The real game played at random under Wine's heap checks, on a virtual
# display and a Wine prefix of its own; soak.py plays it and says what fails
# the run and which KUBRI_SOAK_* variables change it.
# Exits 77 (skipped) without Xvfb, xdotool, Wine or Python 3.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/view/game_test_common.sh"

own_display_and_prefix soak
require_tools xdotool wine python3
# Not exec'd: the display and the prefix are stopped when this shell exits.
status=0
python3 "$root/view/soak.py" "$@" || status=$?
exit $status
