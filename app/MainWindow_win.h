// The main window: its procedure (the hub for hook, tray and user
// messages), its toolbar and list views, and its commands.
#pragma once

#include <windows.h>

namespace qm {

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Start-up calls, in this order, once the hidden main window exists.
void CreateMainToolbar();
void CreateWindowView();
void CreateMenuView();

// Rebuild a view whole from its table.
void RefreshWindowView();
void RefreshMenuView();
void LayoutMainWindow();
void HideMainWindow();

// Shows the window list (1) or the menu list (0): the view, the menu check
// marks and Settings.List.
void ShowList(int list);

// Handlers the procedure dispatches to.
void OnMainCommand(int id);
LRESULT OnMainNotify(const NMHDR* header);
void OnTrayMessage(LPARAM lParam);

// Exit sequence: capture the window rectangle, save, destroy the window.
void CaptureMainWindowRect();
void ExitProgram();

}  // namespace qm
