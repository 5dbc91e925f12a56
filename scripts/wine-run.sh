#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs one test program under Wine in
# the prefix and display that scripts/test.sh prepared.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: run the Windows tests through scripts/test.sh (it prepares Wine and Xvfb)" >&2
  exit 2
fi
exec wine "$@"
