// Process-wide state of the program: created at start-up, kept until exit,
// reached directly by every part of the shell on the one UI thread.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "entries/EntryTable.h"
#include "entries/Settings.h"

namespace qm {

extern HINSTANCE g_instance;
// Primary screen size, read once before wWinMain runs; centring uses these.
extern const int g_screenWidth;
extern const int g_screenHeight;

extern HWND g_mainWindow;
extern HMENU g_mainMenu;
extern HWND g_dummyWindow;    // hidden owner of the preset popup
extern HWND g_readoutWindow;  // geometry readout
extern HWND g_toolbar;
extern HWND g_windowView;     // window-list report view
extern HWND g_menuView;       // menu-list report view
extern HICON g_smallIcon;
extern NOTIFYICONDATAW g_trayIcon;
extern HANDLE g_mutex;

extern Settings g_settings;
extern WindowTable g_windowTable;
extern MenuTable g_menuTable;

// Entry being changed by an entry dialog, -1 while a dialog adds one.
extern int32_t EditIndex;
// Non-zero when the main window was last shown from the tray.
extern int32_t MainWindowShown;

}  // namespace qm
