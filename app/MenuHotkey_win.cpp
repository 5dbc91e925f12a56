// The system-wide hotkey that opens the preset menu for the foreground
// window: registered on the main window at start-up and whenever the
// settings dialog changes it.
#include "app/MenuHotkey_win.h"

#include "app/AppState_win.h"
#include "base/Win32Glue.h"
#include "entries/HotkeyText.h"
#include "placement/PresetPopup_win.h"
#include "placement/WindowFacts_win.h"
#include "res/resource.h"

namespace qm {

namespace {

constexpr int kMenuHotkeyId = 1;
int32_t g_registered = 0;  // the combination held now; 0: none
int32_t g_reported = 0;    // the last combination reported as taken
bool g_menuOpen = false;

void ReportTaken(HWND owner, int32_t hotkey) {
  char16_t format[kTextCapacity];
  LoadText(IDS_HOTKEY_TAKEN, format);
  std::u16string name = FormatHotkey(hotkey);
  wchar_t text[2 * kTextCapacity];
  wsprintfW(text, AsWide(format), AsWide(name.c_str()));
  MessageBoxW(owner, text, kProgramName, MB_OK | MB_ICONWARNING);
}

}  // namespace

void ApplyMenuHotkey(HWND owner) {
  int32_t hotkey = HotkeyInUse(g_store->settings.Hotkey);
  if (hotkey == g_registered) return;
  if (g_registered != 0) {
    UnregisterHotKey(g_mainWindow, kMenuHotkeyId);
    g_registered = 0;
  }
  if (!IsUsableHotkey(hotkey)) return;
  if (RegisterHotKey(g_mainWindow, kMenuHotkeyId, HotkeyModifiers(hotkey), HotkeyKey(hotkey))) {
    g_registered = hotkey;
    return;
  }
  // Another program holds it. Said once per combination, not at every
  // settings OK; the program works on without it.
  if (hotkey == g_reported) return;
  g_reported = hotkey;
  ReportTaken(owner, hotkey);
}

void OnMenuHotkey(int id) {
  // A held key repeats; a menu already open takes the keys itself.
  if (id != kMenuHotkeyId || g_menuOpen) return;
  HWND target = GetAncestor(GetForegroundWindow(), GA_ROOT);
  // Only a user's window: with the desktop, the taskbar or a shell surface
  // in the foreground there is nothing to place.
  if (target == nullptr || !IsUserTopLevel(target)) return;
  DWORD process = 0;
  GetWindowThreadProcessId(target, &process);
  if (process == GetCurrentProcessId()) return;
  // Where the window's own system menu opens: under its caption, at its
  // left edge.
  WINDOWINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetWindowInfo(target, &info)) return;
  int caption = (info.dwStyle & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
  POINT at = {info.rcWindow.left + static_cast<LONG>(info.cxWindowBorders),
              info.rcWindow.top + static_cast<LONG>(info.cyWindowBorders) + caption};
  g_menuOpen = true;
  ShowMenuEntryPopup(g_store->menus, target, g_dummyWindow, &at);
  g_menuOpen = false;
  // The keyboard goes back to the window it came from.
  if (IsWindow(target)) SetForegroundWindow(target);
}

}  // namespace qm
