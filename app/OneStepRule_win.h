// A window rule in one step, carried out on a real window: read its facts,
// store the entry, save, and say what was done in a tray notification.
#pragma once

#include <windows.h>

#include "entries/EntryStore_win.h"

namespace qm {

// Adds an entry for window, or updates the one that places it by its class
// (OneStepRule.h), and saves both files at once as OK in the window entry
// dialog does; a failed save is reported in a message box over owner.
// Returns whether the window list changed. A window that is gone, or one of
// this program's own, changes nothing.
bool MakeRuleFromWindow(EntryStore& store, HWND window, HWND owner);

}  // namespace qm
