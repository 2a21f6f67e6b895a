#!/bin/sh
# Builds the Debian package from a build folder, checks what it holds with the desktop's own
# validators, and starts the command line and the windows from the unpacked package.
set -eu
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "$*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/out/zuvorak_*.deb)
version=$(dpkg-deb -f "$deb" Version)

dpkg-deb --contents "$deb" | awk '{ print $NF }' >"$work/contents"
share=usr/share
metainfo=$share/metainfo/io.github.zuvorak.zuvorak.metainfo.xml
# The other files are used below: program, sample part, desktop entry, metainfo, icons, type, manual.
for f in $share/zuvorak/help/zuvorak.html $share/zuvorak/help/main-window.png; do
  grep -qx "\./$f" "$work/contents" || fail "not in the package: $f"
done
[ "$(dpkg-deb -f "$deb" Section)" = graphics ] || fail "section is not graphics"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "no dependencies from the libraries"

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop="$root/$share/applications/zuvorak.desktop"
desktop-file-validate "$desktop"
grep -qx 'Exec=zuvorak %f' "$desktop" || fail "the desktop entry does not open files"
appstreamcli validate --no-net "$root/$metainfo" >/dev/null
grep -q "<release version=\"$version\"" "$root/$metainfo" || fail "no release $version in $metainfo"
for size in 32 48 128 256; do # each icon there, in its size
  icon="$root/$share/icons/hicolor/${size}x$size/apps/zuvorak.png"
  file "$icon" | grep -q "PNG image data, $size x $size," || fail "$icon is not $size x $size"
done

# shared-mime-info reads the type in, as the package's trigger does on installation.
update-mime-database "$root/$share/mime" 2>/dev/null
grep -qx 'application/x-zuvorak-model:\*\.chs' "$root/$share/mime/globs" \
  || fail "the model type does not claim *.chs"

man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/$share/man/man1/zuvorak.1.gz" 2>&1 >/dev/null)
[ -z "$man_warnings" ] || fail "the manual page: $man_warnings"

program="$root/usr/bin/zuvorak"
# The command line from the unpacked package, with no display at all (tst_command_line checks
# what it prints); then the windows open a model file and remember it. Under a file-size limit a
# save must fail with a message instead of ending the program: SIGXFSZ (25) is ignored. The shell
# cannot wait on a file, so the settings are looked at until they name the model.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
"$program" --version | grep -qx "zuvorak $version" || fail "--version did not print zuvorak $version"
"$program" import "$root/$share/zuvorak/buhin.bmp" --fit -o "$work/part.chs" || fail "import failed"
"$program" info "$work/part.chs" | grep -q '^points: [1-9]' || fail "info failed on a model file"
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen "$program" "$work/part.chs" 2>"$work/windows.log" &
pid=$!
until grep -qs part.chs "$work/config/zuvorak/zuvorak.conf"; do
  kill -0 "$pid" 2>/dev/null || fail "the windows stopped before opening the model"
  sleep 0.1
done
ignored=$(sed -n 's/^SigIgn:[[:space:]]*//p' "/proc/$pid/status")
kill "$pid"
wait "$pid" || true
[ $((0x$ignored >> 24 & 1)) -eq 1 ] || fail "the windows do not ignore SIGXFSZ"
echo "$(basename "$deb") built, checked and started"
