// The main window: its procedure (the hub for hook, tray and user
// messages), its toolbar and list views, and the calls start-up makes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "entries/EntryStore_win.h"

namespace qm {

class EntryTexts;

// One of the main window's two lists, described once for everything the
// main window does with either: its table, its view and columns, the cell
// texts, the dialog that adds and changes its entries.
struct EntryListView {
  EntryList List;
  HWND* View;  // g_windowView or g_menuView
  int ViewId;
  const int* ColumnTexts;
  int Columns;
  // Text of one cell: a field of the entry itself, or a text composed into
  // scratch[kTextCapacity].
  const char16_t* (*Cell)(const EntryStore& store, const EntryTexts& texts, int32_t row, int column,
                          char16_t* scratch);
  int DialogId;
  DLGPROC DialogProc;
  void (*Refresh)();  // rebuilds the view whole from its table
};
extern const EntryListView kWindowListView;
extern const EntryListView kMenuListView;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The toolbar and views, made when the window is first shown (once; later
// calls do nothing). They are made by these calls, in this order; the
// toolbar's images are chosen for dpi, the main window's.
void CreateMainWindowChildren();
void CreateMainToolbar(uint32_t dpi);
void CreateWindowView();
void CreateMenuView();

// Rebuild a view whole from its table.
void RefreshView(const EntryListView& list);
void RefreshWindowView();
void RefreshMenuView();
void LayoutMainWindow();
// Gives the views the font for dpi and fits their columns to it.
void SetViewsDpi(uint32_t dpi);

// Shows the window list (1) or the menu list (0): the view, the menu check
// marks and Settings.List.
void ShowList(int list);

// Adds the tray icon (at start, and again when the taskbar is recreated).
void AddTrayIcon();
// A notification (balloon) from the tray icon: title string titleId, the
// text cut to what a notification holds, NIIF_INFO or NIIF_WARNING.
void ShowTrayNotice(UINT titleId, const wchar_t* text, DWORD infoFlags);

// Exit sequence: capture the window rectangle, save, destroy the window.
void ExitProgram();

}  // namespace qm
