#!/usr/bin/env bash
# Renders the pictures of the main window in docs/ (one with the window list,
# one with the menu list) and of its three dialogs from the program itself,
# running under Wine in a private prefix on a private X display, with sample
# entries: once in English (docs/NAME-en.png) and once in Japanese
# (docs/NAME.png), the user interface language Wine takes from LANG.
#
# Usage: scripts/screenshots.sh [--check] [BUILD_DIR]   (default build/windows)
#
# --check renders the English pictures into BUILD_DIR/screenshots instead,
# from binaries already built: the test command runs it so that a change to
# the program that the picture tools no longer follow fails there. The
# pictures are not compared with anything.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
if [ "${1:-}" = --check ]; then
  check=1
  shift
fi
build=${1:-build/windows}
if [ $check = 0 ]; then
  scripts/deps.sh
  if [ "$build" = build/windows ]; then
    cmake --preset windows >/dev/null
  else
    cmake --preset windows -B "$build" >/dev/null
  fi
  cmake --build "$build" -j 2 --target Quillmere QuillmereHook qm_showmain qm_showdialog >/dev/null
  out=docs
else
  out=$build/screenshots
fi
build=$(cd "$build" && pwd)
mkdir -p "$out"

source scripts/wine-env.sh
qm_wine_env virtual
work=$(mktemp -d /tmp/quillmere-shots.XXXXXX)
cleanup() { $QM_WINE_CLEANUP; rm -rf "$work"; }
trap cleanup EXIT

# Wine's own font links for its UI fonts name Japanese fonts that Linux does
# not have; link them to Noto Sans CJK so kana and kanji do not come out as
# boxes.
for face in Tahoma "Tahoma Bold" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif"; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
    /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f >/dev/null 2>&1
done
wineserver -w

# The program reads UTF-16LE files with a byte-order mark.
utf16() { printf '\xff\xfe'; printf '%s' "$1" | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; }

left=40 top=40 width=680 height=300
utf16 "[Config]
Left=$left
Top=$top
Width=$width
Height=$height
List=1
Tooltip=0
KeepIn=0" > "$work/Config.ini"

window_entry() {  # n title class pos left top width height desablesize [program [monitor]]
  printf 'Title%s=%s\nClass%s=%s\nDesablePos%s=0\nLeft%s=%s\nTop%s=%s\nPos%s=%s\nDesableSize%s=%s\nWidth%s=%s\nHeight%s=%s\nDesableStyle%s=1\nBorder%s=0\nDialogFrame%s=0\nThickFrame%s=0\n' \
    "$1" "$2" "$1" "$3" "$1" "$1" "$5" "$1" "$6" "$1" "$4" "$1" "$9" "$1" "$7" "$1" "$8" "$1" "$1" "$1" "$1"
  if [ -n "${10:-}" ]; then printf 'Process%s=%s\n' "$1" "${10}"; fi
  if [ -n "${11:-}" ]; then printf 'Monitor%s=%s\n' "$1" "${11}"; fi
}
menu_entry() {  # n pos left top width height [monitor]
  printf 'DesablePos%s=0\nLeft%s=%s\nTop%s=%s\nPos%s=%s\nDesableSize%s=0\nWidth%s=%s\nHeight%s=%s\n' \
    "$1" "$1" "$3" "$1" "$4" "$1" "$2" "$1" "$1" "$5" "$1" "$6"
  if [ -n "${7:-}" ]; then printf 'Monitor%s=%s\n' "$1" "$7"; fi
}
write_entries() {  # five window titles
entries="[Window]
Item=5
$(window_entry 1 "$1" Notepad 3 0 0 800 600 0 notepad.exe)
$(window_entry 2 "$2" ConsoleWindowClass 4 0 0 960 540 0 "" 1)
$(window_entry 3 "$3" "" 0 100 50 1280 800 0 browser.exe)
$(window_entry 4 "$4" "" 2 0 0 0 0 1)
$(window_entry 5 "$5" "" 5 0 0 640 480 0 viewer.exe 2)
[Menu]
Item=5
$(menu_entry 1 0 100 100 800 600)
$(menu_entry 2 1 0 0 960 540 2)
$(menu_entry 3 3 0 0 1280 720 1)
$(menu_entry 4 4 0 0 960 540)
$(menu_entry 5 5 0 0 960 540 2)"
utf16 "$entries" > "$work/Entry.ini"
}

render() {  # suffix, then the five window titles
  local suffix=$1
  shift
  write_entries "$@"
  # A Wine virtual desktop draws the window frame and caption (Xvfb has no
  # window manager); it sits at the top-left corner of the X screen.
  (cd "$work" && wine explorer /desktop=shot,800x600 "$build/Quillmere.exe" >/dev/null 2>&1 &)

  margin=12
  shoot() {  # list output
    wine "$build/qm_showmain.exe" --desktop shot "$1"
    import -window root -crop "$((width + 2 * margin))x$((height + 2 * margin))+$((left - margin))+$((top - margin))" \
      +repage "$2"
    echo "wrote $2"
  }
  shoot window "$out/main-window-list$suffix.png"
  shoot menu "$out/main-menu-list$suffix.png"

  # The three dialogs, each cropped to its own rectangle. Notepad gives the
  # window entry dialog a window whose facts "取得" takes.
  (wine explorer /desktop=shot notepad >/dev/null 2>&1 &)
  shoot_dialog() {  # dialog output
    local x y w h
    read -r x y w h < <(wine "$build/qm_showdialog.exe" --desktop shot "$1" | tr -d '\r') || true
    [ -n "${h:-}" ] || { echo "no $1 dialog to picture" >&2; exit 1; }
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
    wine "$build/qm_showdialog.exe" --desktop shot close
    echo "wrote $2"
  }
  shoot_dialog window "$out/dialog-window-entry$suffix.png"
  shoot_dialog menu "$out/dialog-menu-entry$suffix.png"
  shoot_dialog settings "$out/dialog-settings$suffix.png"
  wine "$build/qm_showmain.exe" --desktop shot close
  wineserver -k  # Notepad and the desktop too, before the next language
}

export LANG=en_US.UTF-8
unset LC_ALL LC_MESSAGES
render -en Editor Terminal Browser Mail "Image viewer"
[ $check = 1 ] && exit 0
export LANG=ja_JP.UTF-8
render "" エディタ ターミナル ブラウザ メール 画像ビューア
