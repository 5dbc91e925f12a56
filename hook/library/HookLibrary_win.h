// Parts of Quillmere.dll shared between its two threads' files.
#pragma once

#include <windows.h>

#include "placement/Placement.h"

namespace qm {

inline Rect32 ToRect32(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// The low-level mouse hook runs on a thread of its own (see MouseHook_win.cpp).
// Start returns once the hook is in place; false if it could not be set.
bool StartMouseHook(HWND main);
void StopMouseHook();

}  // namespace qm
