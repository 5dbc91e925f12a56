// The main window's state: its handles, its children, the tray icon and the
// single-instance mutex, created at start-up and kept until exit on the one
// UI thread. The settings and the tables belong to the entry store
// (entries/EntryStore_win.h), which wWinMain makes and start-up keeps here;
// the module and the screen size belong to base/.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "base/Win32Glue.h"
#include "entries/EntryStore_win.h"

namespace qm {

extern EntryStore* g_store;
extern HWND g_mainWindow;
extern HMENU g_mainMenu;
extern HWND g_dummyWindow;    // hidden owner of the preset popup
extern HWND g_toolbar;
extern HWND g_windowView;     // window-list report view
extern HWND g_menuView;       // menu-list report view
extern HICON g_smallIcon;
extern NOTIFYICONDATAW g_trayIcon;
extern HANDLE g_mutex;

}  // namespace qm
