#!/bin/sh
# Runs a Windows program under Wine with the build's own prefix. It is the
# cross-compiling emulator of the Windows build, so ctest goes through it.
#
# Wine's first process in a prefix starts long-lived helpers (wineserver,
# services.exe, explorer.exe) that inherit its standard output; a test runner
# reading that pipe would then wait for ever. So before the program runs, the
# prefix is made if needed and its helpers are started detached from every
# pipe. A prefix's helpers are stopped with `wineserver -k` (see with-wine.sh).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
kubri_wine_up
exec wine "$@"
