#!/bin/bash
# check-framework-layers.sh [FRAMEWORK_DIR]: prints which framework unit
# includes which, and fails when a unit includes one above it. A unit is an
# x.h/x.cpp pair (reference_warning.cpp belongs to the device); tests, test
# helpers and the demo are not units. The window, the device and the main
# loop form the one ring whose units may include one another. A unit missing
# from the table below is placed just above the highest unit it includes.
set -euo pipefail
dir=${1:-$(cd "$(dirname "$0")/../framework" && pwd)}

# Bottom to top, in steps of ten.
declare -A layer=(
  [device_settings]=0 [frame_timer]=0
  [framework_state]=10
  [errors]=20
  [enumeration]=30
  [matching]=40
  [command_line]=50
  [window]=60 [device]=60 [main_loop]=60
  [startup]=70
)
ring_layer=60

unit_of() {
  local name
  name=$(basename "$1")
  name=${name%.*}
  case $name in
    reference_warning) echo device ;;
    *) echo "$name" ;;
  esac
}

declare -A includes=()
for file in "$dir"/*.h "$dir"/*.cpp; do
  case $(basename "$file") in
    *_test.cpp | demo_*.cpp | fake_*.h | test_recorder.h) continue ;;
  esac
  unit=$(unit_of "$file")
  for target in $(sed -n 's|^#include "framework/\([a-z_0-9]*\)\.h".*|\1|p' "$file"); do
    [ "$target" = "$unit" ] && continue
    case " ${includes[$unit]:-} " in *" $target "*) ;; *) includes[$unit]+=" $target" ;; esac
  done
  includes[$unit]+=""
done

# Units not in the table: just above what they include, repeated so that
# one placed unit can place the next.
declare -A known=()
for unit in "${!layer[@]}"; do known[$unit]=1; done
for _ in 1 2 3 4 5; do
  for unit in "${!includes[@]}"; do
    [ -n "${known[$unit]:-}" ] && continue
    highest=-5
    for target in ${includes[$unit]}; do
      to=${layer[$target]:-}
      if [ -n "$to" ] && [ "$to" -gt "$highest" ]; then highest=$to; fi
    done
    layer[$unit]=$((highest + 5))
  done
done

status=0
for unit in $(printf '%s\n' "${!includes[@]}" | sort); do
  printf '%-16s (%2d) ->%s\n' "$unit" "${layer[$unit]}" "${includes[$unit]}"
done
for unit in "${!includes[@]}"; do
  for target in ${includes[$unit]}; do
    from=${layer[$unit]}
    to=${layer[$target]:-0}
    if [ "$to" -lt "$from" ]; then continue; fi
    if [ "$to" -eq "$ring_layer" ] && [ "$from" -eq "$ring_layer" ]; then continue; fi
    echo "error: $unit includes $target, which is not below it" >&2
    status=1
  done
done
[ $status -eq 0 ] && echo "Every framework unit includes only units below it (and the ring)."
exit $status
