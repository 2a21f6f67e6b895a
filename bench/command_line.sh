#!/bin/sh
# The command line from process start to exit, measured with hyperfine:
# one render, a batch of 200 renders with one and two jobs, and one import;
# then the peak memory of importing a picture of 8000 x 8000 pixels, whose
# target is the 256 MB allocation limit plus 32 MB.
set -eu
build="$1"
program="$(cd "$build" && pwd)/src/app/zuvorak"
work="$build/bench-cli"
[ -f "$work/sparse.png" ] || /usr/bin/python3 "$(dirname "$0")/make_cli_inputs.py" "$work" 200
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
/usr/bin/python3 - "$program" <<'EOF'
import resource, subprocess, sys
subprocess.run([sys.argv[1], "import", "sparse.png", "--rect", "0,0,100,100", "-o", "sparse.chs"],
               check=True)
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
print(f"import of an 8000 x 8000 picture: peak {peak:.0f} MB (target: under 288 MB)")
EOF
