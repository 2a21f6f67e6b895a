#!/bin/sh
# Installs the build into a temporary prefix and starts the installed program.
set -eu
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/zuvorak share/zuvorak/buhin.bmp share/zuvorak/help/zuvorak.html \
         share/applications/zuvorak.desktop share/icons/hicolor/32x32/apps/zuvorak.png; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
grep -q '^Exec=zuvorak %f$' "$prefix/share/applications/zuvorak.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/zuvorak.desktop"
fi

# The installed program must start and keep running until it is told to stop.
QT_QPA_PLATFORM=offscreen "$prefix/bin/zuvorak" &
pid=$!
for _ in 1 2 3 4 5 6 7 8 9 10; do
  kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; echo "the installed program stopped by itself"; exit 1; }
  sleep 0.2
done
# A file-size limit must fail a save with a message, not end the program:
# SIGXFSZ (25 on Linux) is ignored.
ignored=$(sed -n 's/^SigIgn:[[:space:]]*//p' "/proc/$pid/status")
if [ $(( 0x$ignored >> 24 & 1 )) -ne 1 ]; then
  kill "$pid"
  echo "the program does not ignore SIGXFSZ"
  exit 1
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "installed and started from $prefix"
