#!/usr/bin/env bash
# Builds Quillmere and runs it under Wine in a working directory of its own
# (build/run/work), seeded with an example Entry.ini on the first run.
#
# With an X display ($DISPLAY) it stays resident, with its tray icon, until
# you close it (tray icon -> left click shows the window; "ファイル" ->
# "終了" exits). With no display it runs in a virtual X server, opens
# Notepad, lets Quillmere place it by the example rule, saves a screenshot
# and exits.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc 2>/dev/null || echo 2)" --target Quillmere qm_demo

work=$root/build/run/work
mkdir -p "$work"
if [ ! -e "$work/Entry.ini" ]; then
  # Entry.ini as Windows keeps it: UTF-16LE with a byte-order mark, CRLF.
  { printf '\xff\xfe'; sed 's/$/\r/' examples/Entry.ini.txt | iconv -f UTF-8 -t UTF-16LE; } > "$work/Entry.ini"
fi
cp build/windows/Quillmere.exe build/windows/Quillmere.dll "$work/"

export QM_WINEPREFIX=$root/build/run/prefix
source scripts/wine-env.sh

if [ -n "${DISPLAY:-}" ] && xprop -root >/dev/null 2>&1; then
  qm_wine_env user
  echo "Quillmere runs from $work (its tray icon is in the notification area; exit from its File menu)."
  (cd "$work" && wine Quillmere.exe)
  exit 0
fi

qm_wine_env virtual
trap '$QM_WINE_CLEANUP' EXIT
echo "No X display: running Quillmere in a virtual 1920x1080 screen."
(cd "$work" && wine Quillmere.exe) &
quillmere=$!
wine build/windows/qm_demo.exe
shot=$root/build/run/quillmere-demo.png
import -window root "$shot"
# Close Notepad and Quillmere (it saves Config.ini and Entry.ini on the way).
wine build/windows/qm_demo.exe --close >/dev/null 2>&1 || true
wait "$quillmere"
echo "Screenshot: $shot"
echo "Quillmere's files: $work/Config.ini, $work/Entry.ini"
