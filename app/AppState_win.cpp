#include "app/AppState_win.h"

namespace qm {

HINSTANCE g_instance;
const int g_screenWidth = GetSystemMetrics(SM_CXSCREEN);
const int g_screenHeight = GetSystemMetrics(SM_CYSCREEN);

HWND g_mainWindow;
HMENU g_mainMenu;
HWND g_dummyWindow;
HWND g_readoutWindow;
HWND g_toolbar;
HWND g_windowView;
HWND g_menuView;
HICON g_smallIcon;
NOTIFYICONDATAW g_trayIcon;
HANDLE g_mutex;

Settings g_settings;
WindowTable g_windowTable;
MenuTable g_menuTable;

int32_t EditIndex = -1;
int32_t MainWindowShown;

}  // namespace qm
