// The preset popup menu shown on the hook library's request.
#pragma once

#include <windows.h>

#include "entries/EntryTable.h"

namespace qm {

// Pops up every preset of presets at the cursor, or at *at when given, and
// applies the chosen one to target. owner is the program's hidden helper window, which
// owns the popup and is brought to the foreground for it.
void ShowMenuEntryPopup(const MenuTable& presets, HWND target, HWND owner, const POINT* at = nullptr);

// Applies preset to target as a choice in the popup does.
void ApplyPreset(const MenuEntry& preset, HWND target);

}  // namespace qm
