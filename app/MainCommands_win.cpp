// Placeholder until the main window's toolbar, views and commands land.
#include "app/AppState_win.h"
#include "app/MainWindow_win.h"
#include "placement/Placement_win.h"
#include "res/resource.h"

namespace qm {

void CreateMainToolbar() {}
void CreateWindowView() {}
void CreateMenuView() {}
void RefreshWindowView() {}
void RefreshMenuView() {}
void LayoutMainWindow() {}
void HideMainWindow() {
  ShowWindow(g_mainWindow, SW_HIDE);
  SetForegroundWindow(g_mainWindow);
}
void ShowList(int list) { g_settings.List = list; }
void OnMainCommand(int id) {
  switch (id) {
    case IDM_EXIT:
      ExitProgram();
      break;
    case IDM_INITIALISE:
      ApplyToAllWindows();
      break;
    default:
      break;
  }
}
LRESULT OnMainNotify(const NMHDR*) { return 0; }
void OnTrayMessage(LPARAM) {}

}  // namespace qm
