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

// Adds the tray icon (at start, and again when the taskbar is recreated).
void AddTrayIcon();
// WM_ENDSESSION: Windows is logging off or shutting down; save and clean up
// as at exit, without asking anything.
void OnEndSession(bool ending);
// WM_DESTROY of the main window: hook off, tray icon off, end the loop.
void OnMainDestroy();

// The "TaskbarCreated" message, registered at start-up.
extern UINT g_taskbarCreatedMessage;

}  // namespace qm
