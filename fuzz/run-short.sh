#!/bin/sh
# Runs one fuzz target for a short, fixed time from a copy of its seed corpus,
# so that what the run discovers never lands in the repository.
# Usage: run-short.sh TARGET CORPUS WORKDIR SECONDS [libFuzzer options...]
# Exit status: 0 when the run ended without a finding.
set -eu
target=$1 corpus=$2 work=$3 seconds=$4
shift 4
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
if [ -d "$corpus" ]; then
  cp -R "$corpus/." "$work/corpus/"
fi
exec "$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$@" "$work/corpus"
