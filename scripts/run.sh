#!/bin/sh
# Starts the program. Until the game itself is built, shows the puzzle tool at work.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset native >/dev/null && cmake --build build/native --target kubri-puzzle -j2 >/dev/null
tool=build/native/tools/kubri-puzzle
echo "A level-2 puzzle made by kubri-puzzle:"
"$tool" generate --level 2 --seed 7 --format kbr
