#include "app/AppState_win.h"

namespace qm {

EntryStore* g_store;
HWND g_mainWindow;
HMENU g_mainMenu;
HWND g_dummyWindow;
HWND g_toolbar;
HWND g_windowView;
HWND g_menuView;
HICON g_smallIcon;
NOTIFYICONDATAW g_trayIcon;
HANDLE g_mutex;

}  // namespace qm
