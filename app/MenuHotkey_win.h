// The preset menu from the keyboard.
#pragma once

#include <windows.h>

namespace qm {

// Registers the hotkey the settings name on the main window, replacing the
// one registered before. A combination another program holds is reported
// once, in a message box owned by owner, and the program runs on without it.
void ApplyMenuHotkey(HWND owner);
// WM_HOTKEY: the preset menu for the foreground window, under its caption.
void OnMenuHotkey(int id);

}  // namespace qm
