// The main window's two report views. Each mirrors its table: row i is
// entry i, and every change of a table rebuilds its view whole.
#include <windows.h>
#include <commctrl.h>

#include "app/AppState_win.h"
#include "app/MainWindow_win.h"
#include "base/Dpi_win.h"
#include "base/Win32Glue.h"
#include "dialogs/Dialogs_win.h"
#include "entries/EntryText_win.h"
#include "res/resource.h"

namespace qm {

namespace {

// The views' font, made for the main window's DPI; 0 until the views exist.
HFONT g_viewFont;

constexpr int kWindowColumnTexts[] = {IDS_COL_NAME, IDS_COL_CLASS, IDS_COL_POSITION, IDS_COL_SIZE, IDS_COL_PROGRAM};
constexpr int kMenuColumnTexts[] = {IDS_COL_POSITION, IDS_COL_SIZE};

const char16_t* WindowCell(const EntryStore& store, const EntryTexts& texts, int32_t row, int column,
                           char16_t* scratch) {
  const WindowEntry& entry = store.windows.Entries[row];
  switch (column) {
    case 0:
      return entry.Title;
    case 1:
      return entry.Class;
    case 2:
      texts.Position(entry, scratch);
      return scratch;
    case 3:
      texts.Size(entry, scratch);
      return scratch;
    default:
      return entry.Process;
  }
}

const char16_t* MenuCell(const EntryStore& store, const EntryTexts& texts, int32_t row, int column,
                         char16_t* scratch) {
  const MenuEntry& entry = store.menus.Entries[row];
  if (column == 0) {
    texts.Position(entry, scratch);
  } else {
    texts.Size(entry, scratch);
  }
  return scratch;
}

HWND CreateReportView(int id) {
  HWND view = CreateWindowExW(WS_EX_CLIENTEDGE, L"SysListView32", nullptr,
                              WS_CHILD | WS_TABSTOP | LVS_NOSORTHEADER | LVS_SHOWSELALWAYS | LVS_REPORT, 0, 0, 0,
                              0, g_mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_instance,
                              nullptr);
  AddListViewStyle(view, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  return view;
}

int ColumnCount(HWND view) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(view, LVM_GETHEADER, 0, 0));
  return header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void FillRows(const EntryListView& list, int32_t rows) {
  HWND view = *list.View;
  const EntryTexts texts;
  char16_t scratch[kTextCapacity];
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  for (int32_t row = 0; row < rows; ++row) {
    item.iItem = row;
    for (int column = 0; column < list.Columns; ++column) {
      item.iSubItem = column;
      // The view copies the text; it never writes through this pointer.
      item.pszText = const_cast<wchar_t*>(AsWide(list.Cell(*g_store, texts, row, column, scratch)));
      SendMessageW(view, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
  }
}

}  // namespace

const EntryListView kWindowListView = {
    EntryList::Windows,  &g_windowView,         IDC_WINDOWVIEW, kWindowColumnTexts, ARRAYSIZE(kWindowColumnTexts),
    WindowCell,          IDD_WINDOWENTRY,       WindowEntryDialogProc, RefreshWindowView,
};
const EntryListView kMenuListView = {
    EntryList::Menus, &g_menuView,     IDC_MENUVIEW, kMenuColumnTexts, ARRAYSIZE(kMenuColumnTexts),
    MenuCell,         IDD_MENUENTRY,   MenuEntryDialogProc, RefreshMenuView,
};

// Empties the view and, unless the table is empty, gives it its columns and
// one row per entry. While the table is empty the view has no columns at
// all, so not even the header texts show.
void RefreshView(const EntryListView& list) {
  HWND view = *list.View;
  const int columns = list.Columns;
  const int32_t rows = g_store->Count(list.List);
  // Before the window was first shown there is no view; it is filled when made.
  if (view == nullptr) return;
  // With drawing on, every insert repaints a shown view (it flickers and the
  // rebuild crawls) and updates the scroll range even of a hidden one, so
  // drawing waits until the view is complete.
  const bool shown = (GetWindowLongW(view, GWL_STYLE) & WS_VISIBLE) != 0;
  SendMessageW(view, WM_SETREDRAW, FALSE, 0);

  SendMessageW(view, LVM_DELETEALLITEMS, 0, 0);
  for (int column = columns - 1; column >= 0; --column) {
    SendMessageW(view, LVM_DELETECOLUMN, static_cast<WPARAM>(column), 0);
  }
  if (rows > 0) {
    for (int column = 0; column < columns; ++column) {
      InsertListColumn(view, column, static_cast<UINT>(list.ColumnTexts[column]));
    }
    SendMessageW(view, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
    FillRows(list, rows);
    FitListColumns(view, columns);
  }

  SendMessageW(view, WM_SETREDRAW, TRUE, 0);
  // Where WM_SETREDRAW reaches DefWindowProc, TRUE also sets WS_VISIBLE;
  // the hidden list must not come into view with it.
  if (!shown) ShowWindow(view, SW_HIDE);
  InvalidateRect(view, nullptr, TRUE);
}

// The toolbar and both views need the common controls library; it is loaded
// (a delayed import) and the children made when the window is first shown,
// so a program that stays in the tray never loads it.
void CreateMainWindowChildren() {
  if (g_toolbar != nullptr) return;
  // Start-up loaded the menu without attaching it (see StartProgram).
  if (GetMenu(g_mainWindow) == nullptr) SetMenu(g_mainWindow, g_mainMenu);
  InitCommonControls();
  CreateMainToolbar(WindowDpi(g_mainWindow));
  CreateWindowView();
  CreateMenuView();
  // The list the settings name; start-up set the menu's check marks.
  ShowWindow(g_store->settings.List != 0 ? g_windowView : g_menuView, SW_SHOW);
}

void CreateWindowView() {
  g_windowView = CreateReportView(kWindowListView.ViewId);
  RefreshView(kWindowListView);
}

// The menu-list view is the last child made. The main window's
// WM_SIZE of creation came before any child existed, and showing the window
// later need not send another (under Wine it does not), so both views are placed here; otherwise
// they would stay 0 x 0 until the user resized the window.
void CreateMenuView() {
  g_menuView = CreateReportView(kMenuListView.ViewId);
  RefreshView(kMenuListView);
  SetViewsDpi(WindowDpi(g_mainWindow));
  LayoutMainWindow();
}

// A control made with CreateWindowEx takes the system DPI's font; the views
// get the font of their own monitor instead, and their columns are fitted
// to the text again.
void SetViewsDpi(uint32_t dpi) {
  HFONT font = CreateControlFontForDpi(dpi);
  if (font == nullptr) return;
  for (HWND view : {g_windowView, g_menuView}) {
    SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    FitListColumns(view, ColumnCount(view));
  }
  // The views no longer use the old font.
  if (g_viewFont != nullptr) DeleteObject(g_viewFont);
  g_viewFont = font;
}

void RefreshWindowView() { RefreshView(kWindowListView); }

void RefreshMenuView() { RefreshView(kMenuListView); }

// Both views get the same place, the hidden one too, so switching lists
// needs no layout.
void LayoutMainWindow() {
  RECT client = {};
  RECT toolbar = {};
  GetClientRect(g_mainWindow, &client);
  GetWindowRect(g_toolbar, &toolbar);
  const int top = toolbar.bottom - toolbar.top;
  const int width = client.right - client.left;
  const int height = client.bottom - client.top > top ? client.bottom - client.top - top : 0;
  MoveWindow(g_windowView, 0, top, width, height, TRUE);
  MoveWindow(g_menuView, 0, top, width, height, TRUE);
}

}  // namespace qm
