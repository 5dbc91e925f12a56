// The system-wide hotkeys: the preset menu for the foreground window, and
// the rule made of it in one step.
#pragma once

#include <windows.h>

namespace qm {

// The WM_HOTKEY id of the rule hotkey; the main window makes the rule.
constexpr int kRuleHotkeyId = 2;

// Registers the hotkeys the settings name on the main window, replacing
// those registered before. A combination another program holds is reported
// once, in a message box owned by owner, and the program runs on without it.
void ApplyHotkeys(HWND owner);
// WM_HOTKEY of the menu hotkey: the preset menu for the foreground window,
// under its caption.
void OnMenuHotkey(int id);
// The foreground window when it is another program's user window (not the
// desktop, the taskbar or a shell surface); nullptr otherwise.
HWND ForegroundUserWindow();

}  // namespace qm
