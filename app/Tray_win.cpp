// The tray icon's clicks and hiding the main window: the program lives in
// the tray, and its main window comes and goes from there.
#include <windows.h>

#include "app/AppState_win.h"
#include "app/MainWindow_win.h"
#include "res/resource.h"

namespace qm {

namespace {

// MainWindowShown remembers what the last click did rather than asking the
// window, so every left click alternates whatever else showed or hid it.
void ToggleMainWindow() {
  if (MainWindowShown != 0) {
    HideMainWindow();
  } else {
    ShowWindow(g_mainWindow, SW_SHOWNORMAL);
    SetForegroundWindow(g_mainWindow);
  }
  MainWindowShown = MainWindowShown == 0 ? 1 : 0;
}

}  // namespace

void HideMainWindow() {
  ShowWindow(g_mainWindow, SW_HIDE);
  SetForegroundWindow(g_mainWindow);
}

void OnTrayMessage(LPARAM lParam) {
  switch (LOWORD(lParam)) {
    case WM_LBUTTONUP:
      ToggleMainWindow();
      break;
    case WM_RBUTTONUP:
      // Initialise only: the main window stays as it is and no menu opens.
      SendMessageW(g_mainWindow, WM_COMMAND, IDM_INITIALISE, 0);
      break;
    default:
      break;
  }
}

}  // namespace qm
