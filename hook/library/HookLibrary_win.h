// Parts of Quillmere.dll shared between its two threads' files.
#pragma once

#include <windows.h>

#include "base/Win32Glue.h"
#include "hook/HookCore.h"

namespace qm {

// The low-level hooks run on a thread of its own (see MouseHook_win.cpp).
// Start returns once the hook is in place; false if it could not be set.
bool StartMouseHook(HWND main);
void StopMouseHook();
// Sets the low-level keyboard hook (on) or removes it; both hooks note
// when the user last acted, read with LastUserInputAt (GetTickCount64
// time, 0: not since the start).
void WatchKeys(bool on);
HookTime LastUserInputAt();

}  // namespace qm
