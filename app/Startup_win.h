// Start-up, message loop and shutdown of the program.
#pragma once

#include <windows.h>

namespace qm {

// Everything before the message loop: single-instance test, windows, tray
// icon, hook. False when the program must end at once (another copy runs,
// or the main window could not be made).
bool StartProgram(HINSTANCE instance);

// The single message loop; returns the exit code.
int RunMessageLoop();

// After the loop: releases the single-instance mutex.
void EndProgram();

// The "TaskbarCreated" message, registered at start-up.
extern UINT g_taskbarCreatedMessage;

// Posted to the main window at start-up when a file could not be read: the
// box shows once the message loop runs, so start-up never waits on the user.
constexpr UINT kMsgStartupNotice = WM_APP + 0x10;
// The one-shot timer that tries the tray icon again while it is not added.
constexpr UINT_PTR kTrayRetryTimer = 1;

}  // namespace qm
