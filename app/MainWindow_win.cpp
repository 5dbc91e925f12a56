// The main window procedure: the hub that hands hook-library, tray and user
// messages to the parts that handle them.
#include "app/MainWindow_win.h"

#include <windowsx.h>

#include "app/AppState_win.h"
#include "app/Startup_win.h"
#include "hook/HookContract.h"
#include "hook/Readout_win.h"
#include "placement/Placement_win.h"
#include "placement/PresetPopup_win.h"

namespace qm {

namespace {

void OnSize(WPARAM wParam, LPARAM lParam) {
  // A WM_SIZE during CreateWindowEx comes before the children exist.
  if (g_toolbar == nullptr) return;
  SendMessageW(g_toolbar, WM_SIZE, wParam, lParam);
  LayoutMainWindow();
}

LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  // Minimising hides the window instead: it lives in the tray.
  if (LOWORD(wParam) == SC_MINIMIZE) {
    HideMainWindow();
    MainWindowShown = 0;
    return 0;
  }
  return DefWindowProcW(window, WM_SYSCOMMAND, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_SIZE:
      OnSize(wParam, lParam);
      return 0;
    case WM_NOTIFY:
      return OnMainNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
      OnMainCommand(LOWORD(wParam));
      return 0;
    case WM_SYSCOMMAND:
      return OnSysCommand(window, wParam, lParam);
    case WM_CLOSE:
      ExitProgram();
      return 0;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      return 0;
    case WM_DESTROY:
      OnMainDestroy();
      return 0;
    case WM_COPYDATA:
      OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return 0;
    case MSG_TIP_HIDE:
      HideReadout();
      return 0;
    case MSG_PLACE_WINDOW:
      PlaceReportedWindow(reinterpret_cast<HWND>(wParam));
      return 0;
    case MSG_MENU_WINDOW:
      ShowMenuEntryPopup(reinterpret_cast<HWND>(wParam));
      return 0;
    case MSG_TRAY:
      OnTrayMessage(lParam);
      return 0;
    default:
      if (message == g_taskbarCreatedMessage && message != 0) {
        AddTrayIcon();
        return 0;
      }
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace qm
