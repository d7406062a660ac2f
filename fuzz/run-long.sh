#!/bin/sh
# The long fuzzing run: every fuzz target of a build that has them, one
# after another, from a working copy of its seed corpus that is kept between
# runs (under DIR/fuzz/long/<target>), so that each run starts where the last
# one stopped. The repository's seed corpora are never written.
#
# Usage: fuzz/run-long.sh DIR [TARGET...]
#   DIR       a build folder with the fuzz targets (e.g. build/asan)
#   TARGET    run only these targets (default: every target with a seed corpus)
# Environment:
#   FUZZ_RUNS      executions per target (default 10000000)
#   FUZZ_SECONDS   time limit per target in seconds (default 3600)
# A summary line per target (executions, seconds, findings) goes to stdout
# and to DIR/fuzz/long/summary.txt. Exit status 1 when any target found
# something; its reproducer is under DIR/fuzz/long/<target>/artifacts.
set -eu
if [ $# -lt 1 ]; then
  sed -n '2,/^set -eu/p' "$0" | sed 's/^# \{0,1\}//; /^set -eu/d'
  exit 2
fi
build=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
runs=${FUZZ_RUNS:-10000000}
seconds=${FUZZ_SECONDS:-3600}
targets=${*:-$(cd "$here/corpus" && ls)}

max_len() {
  case $1 in
    fuzz_board_read) echo 2048 ;;
    fuzz_stock_file | fuzz_dds_read) echo 8192 ;;
    fuzz_play_records) echo 1024 ;;
    fuzz_solve) echo 256 ;;
    *) echo 4096 ;;
  esac
}

long="$build/fuzz/long"
mkdir -p "$long"
status=0
for target in $targets; do
  exe="$build/fuzz/$target"
  if [ ! -x "$exe" ]; then
    echo "run-long: $exe is not built (build the kubri_fuzz_targets target)" >&2
    exit 2
  fi
  work="$long/$target"
  mkdir -p "$work/corpus" "$work/artifacts"
  cp -R "$here/corpus/$target/." "$work/corpus/"
  log="$work/run.log"
  touch "$work/.started"
  start=$(date +%s)
  set +e
  "$exe" -runs="$runs" -max_total_time="$seconds" -timeout=10 \
    -max_len="$(max_len "$target")" -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "$work/corpus" >"$log" 2>&1
  result=$?
  set -e
  end=$(date +%s)
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  findings=$(find "$work/artifacts" -type f -newer "$work/.started" | wc -l)
  if [ "$result" -ne 0 ] || [ "$findings" -ne 0 ]; then
    status=1
  fi
  line="$target: ${executed:-0} executions in $((end - start)) s, exit $result, $findings finding(s)"
  echo "$line"
  echo "$(date -u +%Y-%m-%dT%H:%M:%SZ) $line" >>"$long/summary.txt"
done
exit $status
