#!/bin/sh
# The command line from process start to exit, measured with hyperfine:
# one render, a batch of 200 renders with one and two jobs, and one import.
set -eu
build="$1"
program="$(cd "$build" && pwd)/src/app/zuvorak"
work="$build/bench-cli"
[ -d "$work/models" ] || /usr/bin/python3 "$(dirname "$0")/make_cli_inputs.py" "$work" 200
mkdir -p "$work/one" "$work/two"
cd "$work"
hyperfine --warmup 3 --runs 30 -N \
  -n "render one 100000-point model at 261 x 261" \
  "$program render models/m000.chs -o render.png" \
  -n "import a 190 x 190 selection to .chs" \
  "$program import drawing.png --rect 0,0,190,190 -o import.chs"
hyperfine --warmup 1 --runs 5 \
  -n "render 200 models, --jobs 1" "$program render models/*.chs -o one/ --jobs 1" \
  -n "render 200 models, --jobs 2" "$program render models/*.chs -o two/ --jobs 2"
