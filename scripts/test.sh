#!/usr/bin/env bash
# Builds Quillmere and runs every test suite: the portable core natively and
# under ASan/UBSan, then the Windows build (core tests again, Windows unit
# tests, end-to-end tests against the real program) three times: under the
# system's Wine at 96 DPI, and under Wine 10 in the lab root that
# scripts/wine10-lab.sh makes once (at 96 and at 144 DPI). The Windows
# binaries are built once and reused; the README's pictures are rendered
# once from them. Prints one summary line over every run and exits non-zero
# if anything failed or the lab could not be made.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
status=0
step() { echo; echo "==> $*"; }

build() {
  local preset=$1
  step "build ($preset)"
  cmake --preset "$preset" >/dev/null || return 1
  cmake --build --preset "$preset" -j "$jobs" || return 1
}

run_ctest() {
  local preset=$1
  rm -rf "build/$preset/test-results"
  mkdir -p "build/$preset/test-results"
  step "tests ($preset)"
  ctest --preset "$preset" || status=1
}

for preset in host host-asan windows; do
  build "$preset" || { echo "build failed: $preset"; exit 1; }
done

run_ctest host
run_ctest host-asan

# Every Windows run keeps its reports in build/windows/RUN/test-results.
# They show the English user interface; the end-to-end tests run once more
# in Japanese under the system's Wine.
export QM_UI_LANG=en_US.UTF-8
windows_runs=(wine8-96dpi wine10-96dpi wine10-144dpi wine8-96dpi-ja)
for run in "${windows_runs[@]}"; do rm -rf "build/windows/$run"; done
scripts/test-windows.sh wine8-96dpi:96 || status=1
# The release package is checked once, in the system Wine run: its check
# unpacks the zip with the host's Python, which the lab root does not have.
scripts/wine10-lab.sh run scripts/test-windows.sh wine10-96dpi:96 wine10-144dpi:144 -- -E qm_package || status=1
QM_UI_LANG=ja_JP.UTF-8 scripts/test-windows.sh wine8-96dpi-ja:96 -- -R qm_e2e_tests || status=1

# The README's pictures come from the program through tools/screenshot.
# Rendering them once (in English, into build/windows/screenshots, compared
# with nothing) fails here when those tools no longer follow the program.
step "pictures"
scripts/screenshots.sh --check || { echo "PROBLEM the picture tools failed"; status=1; }

step "summary"
reports=(build/host/test-results:qm_core_tests build/host-asan/test-results:qm_core_tests)
for run in "${windows_runs[@]}"; do
  suites=qm_core_tests,qm_win_tests,qm_e2e_tests
  [ "$run" = wine8-96dpi-ja ] && suites=qm_e2e_tests
  reports+=("build/windows/$run/test-results:$suites")
done
python3 scripts/test-summary.py "${reports[@]}" || status=1
exit $status
