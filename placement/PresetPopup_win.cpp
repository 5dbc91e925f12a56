#include "placement/PresetPopup_win.h"

#include <vector>

#include "base/Win32Glue.h"
#include "entries/EntryText_win.h"
#include "placement/Placement.h"
#include "placement/Placement_win.h"
#include "placement/WindowKind.h"

namespace qm {

namespace {

// A menu bar holding the popup as its only item, so that destroying the bar
// destroys the popup with it.
HMENU BuildPresetMenu(const MenuTable& presets, HMENU* popupOut) {
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  MENUITEMINFOW sub = {};
  sub.cbSize = sizeof(sub);
  sub.fMask = MIIM_SUBMENU;
  sub.hSubMenu = popup;
  InsertMenuItemW(bar, 0, TRUE, &sub);

  const EntryTexts texts;
  const AnchorTexts& anchors = texts.Anchors();
  for (int32_t k = 0; k < presets.Count; ++k) {
    char16_t text[kPresetItemCapacity];
    PresetItemText(presets.Entries[k], anchors, text);
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_STRING;
    item.wID = static_cast<UINT>(k + 1);  // 0 is TrackPopupMenu's "dismissed"
    item.dwTypeData = AsWide(text);
    InsertMenuItemW(popup, static_cast<UINT>(k), TRUE, &item);
  }
  *popupOut = popup;
  return bar;
}

// A popup only takes the keyboard and closes on a click elsewhere when its
// owner is the foreground window (TrackPopupMenu's remarks). The gesture's
// click reached no program, so Windows may refuse this process the
// foreground: SetForegroundWindow's remarks grant it only to the foreground
// process, the one that received the last input, and a few others. Then this
// thread shares the foreground thread's input state for one call
// (AttachThreadInput: attached threads share focus and activation), so that
// its SetForegroundWindow acts from within that state. A foreground thread
// that does not answer is left alone: sharing input with it could stall this
// thread, and the menu then opens without the keyboard.
void TakeForeground(HWND owner) {
  if (SetForegroundWindow(owner)) return;
  HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return;
  const DWORD theirs = GetWindowThreadProcessId(foreground, nullptr);
  const DWORD ours = GetCurrentThreadId();
  if (theirs == 0 || theirs == ours) return;
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(foreground, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result) == 0) return;
  if (!AttachThreadInput(ours, theirs, TRUE)) return;
  SetForegroundWindow(owner);
  AttachThreadInput(ours, theirs, FALSE);
}

}  // namespace

void ShowMenuEntryPopup(const MenuTable& presets, HWND target, HWND owner, const POINT* at) {
  // The presets as the menu shows them. The menu's nested loop dispatches
  // other messages while it is open, so the table may change before the
  // choice comes back; applying from this copy applies what the user saw
  // and keeps the chosen index inside it. Only the presets there are, on
  // the heap: a whole table of presets that name their monitors is over half
  // a megabyte.
  const std::vector<MenuEntry> shown(presets.Entries, presets.Entries + presets.Count);
  HMENU popup = nullptr;
  HMENU bar = BuildPresetMenu(presets, &popup);

  TakeForeground(owner);
  POINT where = {};
  if (at != nullptr) {
    where = *at;
  } else {
    GetCursorPos(&where);
  }
  int chosen = static_cast<int>(
      TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY, where.x, where.y, 0, owner, nullptr));
  // Without a message after the menu closes, the owner may not notice that
  // the menu is gone and the next popup fails to close (a known
  // TrackPopupMenu trap).
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(bar);

  if (chosen <= 0 || static_cast<size_t>(chosen) > shown.size()) return;
  ApplyPreset(shown[static_cast<size_t>(chosen) - 1], target);
}

void ApplyPreset(const MenuEntry& preset, HWND target) {
  // A maximised window would stay "maximised" with the preset's rectangle
  // (and a minimised one would only move its icon): restored first, it
  // takes the preset as a normal window, a kept size being its normal size.
  // A program that hangs cannot hold this thread: the restore does not wait
  // on it, and a window not restored within the bound is left alone.
  if (IsMinimizedOrMaximized(static_cast<uint32_t>(GetWindowLongW(target, GWL_STYLE))) &&
      !RestoreWithinBound(target)) {
    return;
  }
  PlaceWindow(target, preset);
}

}  // namespace qm
