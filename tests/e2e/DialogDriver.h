// Driving the real program's dialogs from outside, as a user would: open
// them through the main window's commands, click boxes and buttons, choose
// positions, type, and read back what the controls and files show. Shared
// by the end-to-end tests of the three dialogs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/E2eSupport.h"

namespace e2e {

// Message boxes give their text this control id.
constexpr int kMessageBoxText = 0xFFFF;

inline LRESULT SendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kWaitMs, &result);
  return static_cast<LRESULT>(result);
}

// Posts the command (a modal dialog would block a sent one) and waits for
// the dialog it opens.
inline HWND OpenDialog(App& app, int command) {
  app.PostCommand(command);
  return WaitForOwnedDialog(app.main());
}

// A message box that opened over dialog (both are owned by the main window).
inline HWND WaitForMessageBox(HWND owner, HWND dialog) {
  HWND box = nullptr;
  WaitUntil([&] {
    for (HWND window : FindOwnedDialogs(owner)) {
      if (window != dialog) box = window;
    }
    return box != nullptr;
  });
  return box;
}

inline bool WaitClosed(HWND window) {
  return WaitUntil([&] { return !IsWindow(window); });
}

// The control with the keyboard focus in the dialog's thread.
inline HWND FocusedWindow(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  return info.hwndFocus;
}

inline bool Checked(HWND dialog, int id) { return SendTo(GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED; }
inline bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// A click on a check box: it toggles and notifies the dialog, which has
// reacted when this returns.
inline void Click(HWND dialog, int id) { SendTo(GetDlgItem(dialog, id), BM_CLICK); }
// A click on a push button whose reaction may open a message box or end
// the dialog: posted, so the caller waits for the effect.
inline void PostClick(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// A key pressed in the dialog (Escape, Enter), through its modal loop.
inline void PostKey(HWND dialog, int focusedId, WPARAM key) {
  HWND target = GetDlgItem(dialog, focusedId);
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

// The close box of the caption.
inline void PostCloseBox(HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

// The three ways out of a dialog without OK: leaves it that way (Escape
// pressed in control focusedId) and waits until it has closed.
enum class WayOut { CancelButton, Escape, CloseBox };
inline constexpr WayOut kWaysOut[] = {WayOut::CancelButton, WayOut::Escape, WayOut::CloseBox};
inline bool LeaveWithoutOk(HWND dialog, WayOut way, int focusedId) {
  if (way == WayOut::CancelButton) PostClick(dialog, IDCANCEL);
  if (way == WayOut::Escape) PostKey(dialog, focusedId, VK_ESCAPE);
  if (way == WayOut::CloseBox) PostCloseBox(dialog);
  return WaitClosed(dialog);
}

// Choosing an item of the position box as a user does: the selection
// changes, then the box notifies its dialog.
inline void Choose(HWND dialog, int item) {
  HWND combo = GetDlgItem(dialog, IDC_POS);
  SendTo(combo, CB_SETCURSEL, static_cast<WPARAM>(item));
  SendTo(dialog, WM_COMMAND, MAKEWPARAM(IDC_POS, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}
inline int SelectedItem(HWND dialog) { return static_cast<int>(SendTo(GetDlgItem(dialog, IDC_POS), CB_GETCURSEL)); }
// CB_GETLBTEXT is one of the messages the window system carries across
// processes with its text.
inline std::vector<std::wstring> ComboTexts(HWND dialog) {
  HWND combo = GetDlgItem(dialog, IDC_POS);
  std::vector<std::wstring> texts;
  const int count = static_cast<int>(SendTo(combo, CB_GETCOUNT));
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    SendTo(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    texts.push_back(text);
  }
  return texts;
}

// Text set into a control (WM_SETTEXT, as a program would; typing is
// TypeChars).
inline void SetText(HWND dialog, int id, const std::wstring& text) {
  SendTo(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
// Characters typed into a control, each as WM_CHAR, after putting the
// caret at the end.
inline void TypeChars(HWND dialog, int id, const std::wstring& chars) {
  HWND edit = GetDlgItem(dialog, id);
  SendTo(edit, EM_SETSEL, static_cast<WPARAM>(-2), -1);
  for (wchar_t c : chars) SendTo(edit, WM_CHAR, c, 1);
}

// The files as the program writes them.
struct EntryFields {
  std::wstring title, windowClass;
  int desablePos = 0, left = 0, top = 0, pos = 0, desableSize = 0, width = 0, height = 0;
  int desableStyle = 0, border = 0, dialogFrame = 0, thickFrame = 0;
};

// The numeric keys of an entry in the order the files list them: the
// placement keys both sections have, then the frame keys of window entries.
struct NumberKey {
  const wchar_t* name;
  int EntryFields::*field;
};
inline constexpr NumberKey kPlacementKeys[] = {
    {L"DesablePos", &EntryFields::desablePos},   {L"Left", &EntryFields::left},   {L"Top", &EntryFields::top},
    {L"Pos", &EntryFields::pos},                 {L"DesableSize", &EntryFields::desableSize},
    {L"Width", &EntryFields::width},             {L"Height", &EntryFields::height},
};
inline constexpr NumberKey kFrameKeys[] = {
    {L"DesableStyle", &EntryFields::desableStyle},
    {L"Border", &EntryFields::border},
    {L"DialogFrame", &EntryFields::dialogFrame},
    {L"ThickFrame", &EntryFields::thickFrame},
};

// One section's text; window entries add title, class and the frame keys.
inline std::wstring EntriesText(const wchar_t* section, const std::vector<EntryFields>& entries, bool window) {
  std::wstring text = std::wstring(L"[") + section + L"]\r\nItem=" + std::to_wstring(entries.size()) + L"\r\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    const EntryFields& e = entries[i];
    const std::wstring n = std::to_wstring(i + 1);
    auto key = [&](const wchar_t* name, const std::wstring& value) { text += name + n + L"=" + value + L"\r\n"; };
    if (window) {
      key(L"Title", e.title);
      key(L"Class", e.windowClass);
    }
    for (const NumberKey& k : kPlacementKeys) key(k.name, std::to_wstring(e.*k.field));
    if (window) {
      for (const NumberKey& k : kFrameKeys) key(k.name, std::to_wstring(e.*k.field));
    }
  }
  return text;
}
inline std::wstring WindowEntriesText(const std::vector<EntryFields>& entries) {
  return EntriesText(L"Window", entries, true);
}
inline std::wstring MenuEntriesText(const std::vector<EntryFields>& entries) {
  return EntriesText(L"Menu", entries, false);
}

// Config.ini with the list shown and both hook options; Entry.ini with the
// given entries.
inline void WriteStore(const TempDir& dir, int list, const std::vector<EntryFields>& windows,
                       const std::vector<EntryFields>& menus, int tooltip = 0, int keepIn = 0) {
  WriteUtf16File(dir.File(L"Config.ini"), L"[Config]\r\nList=" + std::to_wstring(list) + L"\r\nTooltip=" +
                                              std::to_wstring(tooltip) + L"\r\nKeepIn=" + std::to_wstring(keepIn) +
                                              L"\r\n");
  WriteUtf16File(dir.File(L"Entry.ini"), WindowEntriesText(windows) + MenuEntriesText(menus));
}

// One entry as Entry.ini holds it (1-based, as the keys count); menu
// entries have only the placement keys.
inline EntryFields IniEntry(const std::wstring& path, const wchar_t* section, int n, bool window) {
  const std::wstring i = std::to_wstring(n);
  EntryFields e;
  for (const NumberKey& k : kPlacementKeys) e.*k.field = IniInt(path, section, (k.name + i).c_str());
  if (window) {
    e.title = IniString(path, section, (L"Title" + i).c_str());
    e.windowClass = IniString(path, section, (L"Class" + i).c_str());
    for (const NumberKey& k : kFrameKeys) e.*k.field = IniInt(path, section, (k.name + i).c_str());
  }
  return e;
}
inline EntryFields IniWindowEntry(const std::wstring& path, int n) { return IniEntry(path, L"Window", n, true); }
inline EntryFields IniMenuEntry(const std::wstring& path, int n) { return IniEntry(path, L"Menu", n, false); }

inline bool SameEntry(const EntryFields& a, const EntryFields& b) {
  if (a.title != b.title || a.windowClass != b.windowClass) return false;
  for (const NumberKey& k : kPlacementKeys) {
    if (a.*k.field != b.*k.field) return false;
  }
  for (const NumberKey& k : kFrameKeys) {
    if (a.*k.field != b.*k.field) return false;
  }
  return true;
}

}  // namespace e2e
