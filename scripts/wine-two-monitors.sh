#!/usr/bin/env bash
# Runs one Windows test program under Wine on an X server with two monitors,
# for the tests that place windows on a monitor other than the primary:
# Xorg with its dummy video driver, the primary 1024x768 and a second
# monitor of 800x600 left of and above it, so Windows coordinates on it are
# negative both ways: (-800,-200)-(0,400). Xvfb cannot show this: with two
# screens and Xinerama Wine sees one monitor, without RandR two at (0, 0).
# A private Wine prefix, since a prefix's wineserver keeps the display it
# started with. Exits 77 (CTest's "skipped") when Xorg or the driver is
# missing.
#
# Usage: wine-two-monitors.sh PROGRAM.exe [ARGS...]
set -u

if ! command -v Xorg >/dev/null || [ ! -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
   ! command -v xrandr >/dev/null; then
  echo "wine-two-monitors.sh: Xorg with the dummy video driver and xrandr are needed; skipped" >&2
  exit 77
fi

# The Wine of the run: the system's, or the lab root's (QM_WINE_ROOT).
source "$(dirname "$0")/wine-env.sh"
tmp=$(mktemp -d "${QM_WINE_ROOT:-}/tmp/quillmere-two.XXXXXX")
cat > "$tmp/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
  Option "AllowMouseOpenFail" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 64000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2048 1536
    Modes "1024x768"
  EndSubSection
EndSection
CONF

xorg_pid=""
runner_pid=""
# Wine 8's wineserver may crash as the prefix shuts down after a monitor was
# switched off and on; the services it started (plugplay.exe, winedevice.exe)
# then outlive it, holding the output that CTest waits on. Each process of
# this prefix is ended by its id.
end_prefix_processes() {
  local environ pid
  for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    tr '\0' '\n' < "$environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && kill "$pid" 2>/dev/null
  done
}
cleanup() {
  [ -n "$runner_pid" ] && kill "$runner_pid" 2>/dev/null
  [ -n "${WINEPREFIX:-}" ] && qm_wine_tool wineserver -k >/dev/null 2>&1
  [ -n "${WINEPREFIX:-}" ] && end_prefix_processes
  [ -n "$xorg_pid" ] && kill "$xorg_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

for n in $(seq 150 199); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
  Xorg :$n -config "$tmp/xorg.conf" -noreset -nolisten tcp -logfile "$tmp/Xorg.log" >/dev/null 2>&1 &
  xorg_pid=$!
  export DISPLAY=:$n
  for i in $(seq 1 100); do
    xprop -root >/dev/null 2>&1 && break
    sleep 0.05
  done
  xprop -root >/dev/null 2>&1 && break
  kill "$xorg_pid" 2>/dev/null
  xorg_pid=""
done
[ -n "$xorg_pid" ] || { echo "wine-two-monitors.sh: could not start Xorg" >&2; exit 1; }

xrandr --addmode DUMMY1 800x600 &&
  xrandr --output DUMMY1 --mode 800x600 --pos 0x0 --output DUMMY0 --primary --mode 1024x768 --pos 800x200 ||
  { echo "wine-two-monitors.sh: the dummy driver would not show two monitors" >&2; exit 1; }
# A full query makes the server probe its outputs again; without it Wine,
# which asks only for the current resources, may still see one monitor.
[ "$(xrandr | grep -c ' connected')" = 2 ] ||
  { echo "wine-two-monitors.sh: the X server reports no two monitors" >&2; exit 1; }

# Tests switch a monitor off and on, or change its mode, while the program
# runs: a test puts xrandr's arguments into the request file (whose Windows
# path is in QM_LAB_XRANDR) and waits until the file is gone; this loop runs
# them, followed by a full query so that Wine sees the change. Wine sends no
# WM_DISPLAYCHANGE for it: the tests deliver that themselves.
request="$tmp/xrandr.request"
(
  while [ -d "$tmp" ]; do
    if [ -s "$request" ]; then
      # shellcheck disable=SC2046  # the words are xrandr's arguments
      xrandr $(tr -d '\r\000' < "$request") >/dev/null 2>&1
      xrandr >/dev/null 2>&1
      rm -f "$request"
    fi
    sleep 0.1
  done
) &
runner_pid=$!
QM_LAB_XRANDR="Z:${request#"${QM_WINE_ROOT:-}"}"
export QM_LAB_XRANDR=${QM_LAB_XRANDR//\//\\}

export WINEPREFIX=${tmp#"${QM_WINE_ROOT:-}"}/prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
qm_wine_tool wineboot -i >/dev/null 2>&1
qm_wine_tool wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
qm_wine_tool wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
qm_wine_tool wineserver -w
qm_wine_tool wine "$@"
