// The preset popup menu shown on the hook library's request.
#pragma once

#include <windows.h>

namespace qm {

// Pops up every preset at the cursor and applies the chosen one to target.
void ShowMenuEntryPopup(HWND target);

}  // namespace qm
