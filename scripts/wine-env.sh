# Sourced by the run and test scripts: a private Wine prefix and, when there
# is no display to use, a virtual X server with a 1920x1080 screen whose work
# area leaves 40 pixels for a taskbar (Wine reads _NET_WORKAREA).
#
# Usage: qm_wine_env virtual|user. "user" keeps $DISPLAY when there is one.
# QM_UI_LANG (e.g. ja_JP.UTF-8), when set, becomes LANG: Wine takes the
# Windows user interface language and code pages from it.
# Exports WINEPREFIX, WINEDEBUG, DISPLAY, and QM_WINE_CLEANUP (a function
# name to call on exit).
#
# QM_WINE_ROOT (set by scripts/wine10-lab.sh run) makes it use the Wine in
# that root instead of the system's; the prefix is then made inside the
# root and the X server is still this machine's. QM_WINE_DPI sets the
# display's DPI in the prefix (HKCU\Control Panel\Desktop LogPixels);
# without it the prefix keeps Wine's 96.

# Runs a Wine command (wine, wineserver) with the Wine this session uses,
# in the current folder when the lab root has it.
qm_wine_tool() {
  if [ -n "${QM_WINE_ROOT:-}" ]; then
    chroot "$QM_WINE_ROOT" /bin/sh -c 'cd "$0" 2>/dev/null || cd /; exec "$@"' "$PWD" "$@"
  else
    "$@"
  fi
}

qm_wine_env() {
  local want_display=${1:-virtual}   # "virtual" or "user"
  export WINEDEBUG=-all
  export WINEARCH=win64
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ -n "${QM_UI_LANG:-}" ]; then
    export LANG=$QM_UI_LANG
    unset LC_ALL LC_MESSAGES
  fi
  QM_WINE_TMP=$(mktemp -d "${QM_WINE_ROOT:-}/tmp/quillmere-wine.XXXXXX")
  # A caller may keep a prefix between runs (QM_WINEPREFIX); tests get a
  # fresh one each time.
  export WINEPREFIX=${QM_WINEPREFIX:-${QM_WINE_TMP#"${QM_WINE_ROOT:-}"}/prefix}

  if [ "$want_display" = virtual ] || [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 140); do
      [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
      Xvfb :$n -screen 0 1920x1080x24 -noreset -nolisten tcp >/dev/null 2>&1 &
      QM_XVFB_PID=$!
      export DISPLAY=:$n
      local i
      for i in $(seq 1 100); do
        xprop -root >/dev/null 2>&1 && break
        sleep 0.05
      done
      if xprop -root >/dev/null 2>&1; then break; fi
      kill "$QM_XVFB_PID" 2>/dev/null || true
      QM_XVFB_PID=""
    done
    [ -n "${QM_XVFB_PID:-}" ] || { echo "could not start Xvfb" >&2; return 1; }
    xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,0,1920,1040
  fi

  qm_wine_tool wineboot -i >/dev/null 2>&1 || true
  # No window manager: stop Wine from waiting for one when windows hide, and
  # let a crash end the process at once instead of opening a debugger dialog.
  qm_wine_tool wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  qm_wine_tool wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  if [ -n "${QM_WINE_DPI:-}" ]; then
    qm_wine_tool wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QM_WINE_DPI" /f >/dev/null 2>&1 ||
      { echo "could not set the DPI to $QM_WINE_DPI" >&2; return 1; }
  fi
  qm_wine_tool wineserver -w
  QM_WINE_CLEANUP=qm_wine_cleanup
}

qm_wine_cleanup() {
  qm_wine_tool wineserver -k >/dev/null 2>&1 || true
  [ -n "${QM_XVFB_PID:-}" ] && kill "$QM_XVFB_PID" 2>/dev/null || true
  [ -n "${QM_WINE_TMP:-}" ] && rm -rf "$QM_WINE_TMP"
}
