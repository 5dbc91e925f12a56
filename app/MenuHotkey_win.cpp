// The system-wide hotkeys, registered on the main window at start-up and
// whenever the settings dialog changes them: the one that opens the preset
// menu for the foreground window, and the one that makes a rule of it.
#include "app/MenuHotkey_win.h"

#include "app/AppState_win.h"
#include "base/Dpi_win.h"
#include "base/DpiScale.h"
#include "base/Win32Glue.h"
#include "entries/HotkeyText.h"
#include "placement/PresetPopup_win.h"
#include "placement/WindowFacts_win.h"
#include "res/resource.h"

namespace qm {

namespace {

constexpr int kMenuHotkeyId = 1;

// One hotkey of the settings and what became of it.
struct HotkeySlot {
  int id;
  int32_t Settings::*setting;
  int32_t defaultHotkey;
  UINT takenText;      // the message when another program holds it
  int32_t registered;  // the combination held now; 0: none
  int32_t reported;    // the last combination reported as taken
};
HotkeySlot g_hotkeys[] = {{kMenuHotkeyId, &Settings::Hotkey, kDefaultHotkey, IDS_HOTKEY_TAKEN, 0, 0},
                          {kRuleHotkeyId, &Settings::RuleHotkey, kDefaultRuleHotkey, IDS_RULEHOTKEY_TAKEN, 0, 0}};
HotkeySlot& g_menuHotkey = g_hotkeys[0];
bool g_menuOpen = false;

void ReportTaken(HWND owner, UINT textId, int32_t hotkey) {
  char16_t format[kTextCapacity];
  LoadText(textId, format);
  std::u16string name = FormatHotkey(hotkey);
  wchar_t text[2 * kTextCapacity];
  wsprintfW(text, AsWide(format), AsWide(name.c_str()));
  MessageBoxW(owner, text, kProgramName, MB_OK | MB_ICONWARNING);
}

// The height of target's caption in screen pixels. GetSystemMetrics answers
// for the system DPI; the caption is drawn at the window's own DPI
// (GetSystemMetricsForDpi with GetDpiForWindow), and a window that is not
// per-monitor aware is stretched by the system from its DPI to its
// monitor's, as every screen pixel this program handles is.
int CaptionHeight(HWND target) {
  const uint32_t windowDpi = WindowDpi(target);
  const uint32_t monitorDpi = MonitorDpi(MonitorFromWindow(target, MONITOR_DEFAULTTONEAREST));
  return ScaleBetweenDpi(MetricForDpi(SM_CYCAPTION, windowDpi), windowDpi, monitorDpi);
}

// Releasing Alt after an Alt combination makes the foreground thread treat
// the release as a menu key, which may close a popup menu just opened. The
// menu therefore waits until the hotkey's modifiers are up, polling their
// physical state (GetAsyncKeyState) at most kModifierWaitMs: someone who
// keeps holding them still gets the menu.
void WaitForModifiersReleased(uint32_t modifiers) {
  constexpr ULONGLONG kModifierWaitMs = 1000;
  constexpr DWORD kPollMs = 10;
  const struct {
    uint32_t modifier;
    int key;
  } keys[] = {{MOD_ALT, VK_MENU}, {MOD_CONTROL, VK_CONTROL}, {MOD_SHIFT, VK_SHIFT}, {MOD_WIN, VK_LWIN}, {MOD_WIN, VK_RWIN}};
  const auto held = [&] {
    for (const auto& k : keys) {
      if ((modifiers & k.modifier) != 0 && (GetAsyncKeyState(k.key) & 0x8000) != 0) return true;
    }
    return false;
  };
  const ULONGLONG deadline = GetTickCount64() + kModifierWaitMs;
  while (held() && GetTickCount64() < deadline) Sleep(kPollMs);
}

void ApplyHotkey(HotkeySlot& slot, HWND owner) {
  int32_t hotkey = HotkeyInUse(g_store->settings.*slot.setting, slot.defaultHotkey);
  if (hotkey == slot.registered) return;
  if (slot.registered != 0) {
    UnregisterHotKey(g_mainWindow, slot.id);
    slot.registered = 0;
  }
  if (!IsUsableHotkey(hotkey)) return;
  // MOD_NOREPEAT: a held combination reports once, not at every
  // auto-repeat of its key (RegisterHotKey, Windows 7 and later).
  if (RegisterHotKey(g_mainWindow, slot.id, HotkeyModifiers(hotkey) | MOD_NOREPEAT, HotkeyKey(hotkey))) {
    slot.registered = hotkey;
    return;
  }
  // Another program holds it. Said once per combination, not at every
  // settings OK; the program works on without it.
  if (hotkey == slot.reported) return;
  slot.reported = hotkey;
  ReportTaken(owner, slot.takenText, hotkey);
}

}  // namespace

void ApplyHotkeys(HWND owner) {
  for (HotkeySlot& slot : g_hotkeys) ApplyHotkey(slot, owner);
}

HWND ForegroundUserWindow() {
  HWND target = GetAncestor(GetForegroundWindow(), GA_ROOT);
  if (target == nullptr || !IsUserTopLevel(target)) return nullptr;
  DWORD process = 0;
  GetWindowThreadProcessId(target, &process);
  return process == GetCurrentProcessId() ? nullptr : target;
}

void OnMenuHotkey(int id) {
  // A held key repeats; a menu already open takes the keys itself.
  if (id != kMenuHotkeyId || g_menuOpen) return;
  // Only a user's window: with the desktop, the taskbar or a shell surface
  // in the foreground there is nothing to place.
  HWND target = ForegroundUserWindow();
  if (target == nullptr) return;
  // Where the window's own system menu opens: under its caption, at its
  // left edge.
  WINDOWINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetWindowInfo(target, &info)) return;
  int caption = (info.dwStyle & WS_CAPTION) == WS_CAPTION ? CaptionHeight(target) : 0;
  POINT at = {info.rcWindow.left + static_cast<LONG>(info.cxWindowBorders),
              info.rcWindow.top + static_cast<LONG>(info.cyWindowBorders) + caption};
  g_menuOpen = true;
  WaitForModifiersReleased(HotkeyModifiers(g_menuHotkey.registered));
  ShowMenuEntryPopup(g_store->menus, target, g_dummyWindow, &at);
  g_menuOpen = false;
  // The keyboard goes back to the window it came from.
  if (IsWindow(target)) SetForegroundWindow(target);
}

}  // namespace qm
