// Start-up, message loop and shutdown of the program.
#pragma once

#include <windows.h>

#include "entries/EntryStore_win.h"

namespace qm {

// Everything before the message loop: single-instance test, windows, tray
// icon, hook. False when the program must end at once (another copy runs,
// or the main window could not be made). store is the program's entry
// store, kept until exit; start-up loads it.
bool StartProgram(HINSTANCE instance, EntryStore& store);

// The single message loop; returns the exit code.
int RunMessageLoop();

// After the loop: releases the single-instance mutex.
void EndProgram();

// The "TaskbarCreated" message, registered at start-up.
extern UINT g_taskbarCreatedMessage;

// The one-shot timer that tries the tray icon again while it is not added.
constexpr UINT_PTR kTrayRetryTimer = 1;
// Runs only between a change of the desktop and the windows placed again.
constexpr UINT_PTR kSettleTimer = 2;

}  // namespace qm
