#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs one test program under Wine in
# the prefix and display that scripts/test.sh prepared, with the Wine in the
# lab root when QM_WINE_ROOT names one (scripts/wine10-lab.sh).
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: run the Windows tests through scripts/test.sh (it prepares Wine and Xvfb)" >&2
  exit 2
fi
if [ -n "${QM_WINE_ROOT:-}" ]; then
  exec chroot "$QM_WINE_ROOT" /bin/sh -c 'cd "$0" && exec wine "$@"' "$PWD" "$@"
fi
exec wine "$@"
