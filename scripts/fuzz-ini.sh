#!/usr/bin/env bash
# Fuzzes the INI reader with libFuzzer under ASan/UBSan for a while
# (default 60 s): scripts/fuzz-ini.sh [seconds]. Needs clang.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/fuzz
mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I. \
  tests/fuzz/IniText_fuzz.cpp entries/IniText.cpp entries/EntryFiles.cpp entries/EntryTable.cpp base/U16.cpp \
  -o "$out/ini_fuzz"
"$out/ini_fuzz" -max_total_time="${1:-60}" -max_len=4096 "$out/corpus"
