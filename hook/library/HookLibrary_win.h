// Parts of Quillmere.dll shared between its two threads' files.
#pragma once

#include <windows.h>

#include "base/Win32Glue.h"

namespace qm {

// The low-level mouse hook runs on a thread of its own (see MouseHook_win.cpp).
// Start returns once the hook is in place; false if it could not be set.
bool StartMouseHook(HWND main);
void StopMouseHook();

}  // namespace qm
