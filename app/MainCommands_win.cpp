// The main window's commands (menu bar, toolbar, double-click) and the
// notifications it answers.
#include <windows.h>
#include <commctrl.h>

#include "app/AppState_win.h"
#include "app/MainParts_win.h"
#include "app/MainWindow_win.h"
#include "dialogs/Dialogs_win.h"
#include "placement/Placement_win.h"
#include "res/resource.h"

namespace qm {

namespace {

constexpr wchar_t kProgramName[] = L"Quillmere";

bool WindowListShown() { return g_settings.List != 0; }

HWND ShownView() { return WindowListShown() ? g_windowView : g_menuView; }

void OpenDialog(int templateId, DLGPROC procedure) {
  DialogBoxParamW(g_instance, MAKEINTRESOURCEW(templateId), g_mainWindow, procedure, 0);
}

void OpenEntryDialog() {
  if (WindowListShown()) {
    OpenDialog(IDD_WINDOWENTRY, WindowEntryDialogProc);
  } else {
    OpenDialog(IDD_MENUENTRY, MenuEntryDialogProc);
  }
}

int ShowStringMessage(int textId, const wchar_t* caption, UINT type) {
  wchar_t text[TextCapacity];
  LoadStringW(g_instance, static_cast<UINT>(textId), text, TextCapacity);
  return MessageBoxW(g_mainWindow, text, caption, type);
}

void ShowAbout() {
  wchar_t caption[TextCapacity];
  LoadStringW(g_instance, IDS_ABOUT_CAPTION, caption, TextCapacity);
  ShowStringMessage(IDS_ABOUT_TEXT, caption, MB_OK);
}

// A full table has no slot left for the dialog's OK to fill, so the add is
// refused before the user types anything into a dialog that cannot store it.
void AddEntry() {
  EditIndex = -1;
  const int32_t count = WindowListShown() ? g_windowTable.Count : g_menuTable.Count;
  if (count >= MaxEntries) {
    ShowStringMessage(IDS_TABLE_FULL, kProgramName, MB_OK | MB_ICONINFORMATION);
    return;
  }
  OpenEntryDialog();
}

void ChangeEntry() {
  const int32_t row = FirstSelectedRow(ShownView());
  if (row < 0) return;
  EditIndex = row;
  OpenEntryDialog();
}

// The rows selected in view once the user has agreed to delete them, in
// ascending order; 0 when nothing is selected or the answer is not yes.
int32_t ConfirmedSelection(HWND view, int32_t* rows) {
  if (FirstSelectedRow(view) < 0) return 0;
  wchar_t caption[TextCapacity];
  LoadStringW(g_instance, IDS_DELETE, caption, TextCapacity);
  // Only an explicit yes deletes: a message box that could not be shown
  // (result 0) must not count as consent.
  if (ShowStringMessage(IDS_DELETE_CONFIRM, caption, MB_YESNO) != IDYES) return 0;
  return SelectedRows(view, rows, MaxEntries);
}

// Deletion keeps the order of the rest and writes nothing: the files follow
// at the next save (OK in a dialog, or exit).
void DeleteSelectedWindowEntries() {
  int32_t rows[MaxEntries];
  const int32_t count = ConfirmedSelection(g_windowView, rows);
  if (count == 0) return;
  DeleteWindowEntries(g_windowTable, rows, count);
  RefreshWindowView();
}

void DeleteSelectedMenuEntries() {
  int32_t rows[MaxEntries];
  const int32_t count = ConfirmedSelection(g_menuView, rows);
  if (count == 0) return;
  DeleteMenuEntries(g_menuTable, rows, count);
  RefreshMenuView();
}

// The toolbar's switch goes through the menu commands so that both roads
// do exactly the same.
void SwitchList() {
  SendMessageW(g_mainWindow, WM_COMMAND, WindowListShown() ? IDM_MENULIST : IDM_WINDOWLIST, 0);
}

}  // namespace

// Both views are always current, so showing a list rebuilds nothing.
void ShowList(int list) {
  const bool windows = list != 0;
  ShowWindow(windows ? g_menuView : g_windowView, SW_HIDE);
  ShowWindow(windows ? g_windowView : g_menuView, SW_SHOW);
  CheckMenuItem(g_mainMenu, windows ? IDM_MENULIST : IDM_WINDOWLIST, MF_BYCOMMAND | MF_UNCHECKED);
  CheckMenuItem(g_mainMenu, windows ? IDM_WINDOWLIST : IDM_MENULIST, MF_BYCOMMAND | MF_CHECKED);
  g_settings.List = windows ? 1 : 0;
}

void OnMainCommand(int id) {
  switch (id) {
    case IDM_ABOUT:
      ShowAbout();
      break;
    case IDM_ADD:
      AddEntry();
      break;
    case IDM_CHANGE:
      ChangeEntry();
      break;
    case IDM_SETTINGS:
      OpenDialog(IDD_SETTINGS, SettingsDialogProc);
      break;
    case IDM_DELETE:
      if (WindowListShown()) {
        DeleteSelectedWindowEntries();
      } else {
        DeleteSelectedMenuEntries();
      }
      break;
    case IDM_EXIT:
      ExitProgram();
      break;
    case IDM_INITIALISE:
      ApplyToAllWindows();
      break;
    case IDM_MENULIST:
      ShowList(0);
      break;
    case IDM_WINDOWLIST:
      ShowList(1);
      break;
    case IDM_SWITCHLIST:
      SwitchList();
      break;
    default:
      break;
  }
}

// Whichever control sends them: the toolbar forwards its tooltip's request,
// and a double-click on a row of either view means "change".
LRESULT OnMainNotify(const NMHDR* header) {
  switch (header->code) {
    case TTN_GETDISPINFOW:
      // The record belongs to the tooltip control and is ours to fill.
      SupplyToolbarTip(reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header)));
      break;
    case NM_DBLCLK:
      SendMessageW(g_mainWindow, WM_COMMAND, IDM_CHANGE, 0);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace qm
