#!/usr/bin/env bash
# Starts ZUVORAK when there is a display to show it on.
set -euo pipefail
exe="$1"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "ZUVORAK needs a display: run 'make run' from a desktop session, or under Xvfb with 'xvfb-run make run'." >&2
  exit 1
fi
exec "$exe"
