#!/bin/sh
# install-deps.sh [build|test|run|bench|fuzz]...: installs the Debian packages
# that the named tasks need, only those missing. Safe to run again and again.
set -eu

pkgs_build="cmake make ccache g++ googletest libgtest-dev libbenchmark-dev g++-mingw-w64-x86-64-posix"
pkgs_wine="wine wine64 xvfb xauth fonts-ipafont-gothic"
pkgs_test="$pkgs_build $pkgs_wine xdotool imagemagick icoutils clang libclang-rt-14-dev python3"
pkgs_run="$pkgs_build $pkgs_wine imagemagick xdotool python3"
pkgs_bench="$pkgs_build libbenchmark-dev qqwing sgt-puzzles time"
pkgs_fuzz="$pkgs_build clang libclang-rt-14-dev"

[ $# -gt 0 ] || set -- test
want=""
for task in "$@"; do
  case "$task" in
    build) want="$want $pkgs_build" ;;
    test)  want="$want $pkgs_test" ;;
    run)   want="$want $pkgs_run" ;;
    bench) want="$want $pkgs_bench" ;;
    fuzz)  want="$want $pkgs_fuzz" ;;
    *) echo "install-deps.sh: unknown task '$task' (build, test, run, bench or fuzz)" >&2; exit 2 ;;
  esac
done

missing=""
for p in $want; do
  case " $missing " in *" $p "*) continue ;; esac
  if ! dpkg-query -W -f '${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing="$missing $p"
  fi
done
[ -n "$missing" ] || exit 0

if ! command -v apt-get >/dev/null 2>&1; then
  echo "This is not a Debian or Ubuntu system. Please install the equivalents of:$missing" >&2
  exit 1
fi
sudo=""
if [ "$(id -u)" != 0 ]; then
  if command -v sudo >/dev/null 2>&1; then sudo=sudo; else
    echo "Installing$missing needs root: run this as root or install sudo." >&2; exit 1
  fi
fi
echo "Installing:$missing"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
