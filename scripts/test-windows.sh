#!/usr/bin/env bash
# Runs the Windows suites (ctest preset windows: core tests under Wine,
# Windows unit tests, end-to-end tests) of an already built tree, once per
# RUN given as NAME:DPI, each in a fresh prefix and virtual X server. Run
# NAME's reports end up in build/windows/NAME/test-results. Uses the Wine in
# QM_WINE_ROOT when set (scripts/wine10-lab.sh run), else the system's.
# Extra ctest arguments may follow "--".
#
#   scripts/test-windows.sh wine8-96dpi:96 [-- -R qm_e2e]
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

runs=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do runs+=("$1"); shift; done
[ "${1:-}" = -- ] && shift
status=0
trap qm_wine_cleanup EXIT

for run in "${runs[@]}"; do
  name=${run%%:*}
  dpi=${run#*:}
  echo
  echo "==> tests (windows, $name: $(qm_wine_tool wine --version 2>/dev/null | head -n 1), $dpi DPI)"
  results=build/windows/test-results
  rm -rf "$results" "build/windows/$name"
  mkdir -p "$results" "build/windows/$name"
  if QM_WINE_DPI=$dpi qm_wine_env virtual; then
    ctest --preset windows "$@" || status=1
  else
    echo "could not prepare Wine for $name"
    status=1
  fi
  qm_wine_cleanup
  unset QM_XVFB_PID QM_WINE_TMP
  mv "$results" "build/windows/$name/test-results"
done
exit $status
