// The menu entry dialog: adds a position-and-size preset or changes one. Its
// two "do not change" boxes exclude each other, so every preset saved here
// moves or resizes a window, or both.
#include <windows.h>

#include "base/Win32Glue.h"
#include "dialogs/DialogParts_win.h"
#include "dialogs/Dialogs_win.h"
#include "entries/EntryStore_win.h"
#include "res/resource.h"

namespace qm {

namespace {

// The dialog's controls and the fields they show, in the order they load.
constexpr ControlField<MenuEntry> kMenuEntryControls[] = {
    {IDC_DESABLEPOS, &MenuEntry::DesablePos, ControlKind::Check},
    {IDC_DESABLESIZE, &MenuEntry::DesableSize, ControlKind::Check},
    {IDC_POS, &MenuEntry::Pos, ControlKind::Position},
    {IDC_LEFT, &MenuEntry::Left, ControlKind::Number},
    {IDC_TOP, &MenuEntry::Top, ControlKind::Number},
    {IDC_WIDTH, &MenuEntry::Width, ControlKind::Number},
    {IDC_HEIGHT, &MenuEntry::Height, ControlKind::Number},
    {IDC_MONITOR, &MenuEntry::Monitor, ControlKind::Monitor},
};

void LoadMenuEntryControls(HWND dialog) {
  const MenuEntry& entry = g_menuTable.Entries[EditIndex];
  LoadControls(dialog, kMenuEntryControls, entry);
  int32_t commands[4];
  const int32_t count = MenuEntryLoadCommands(entry.DesablePos, commands);
  for (int32_t i = 0; i < count; ++i) SendDialogCommand(dialog, commands[i]);
}

void OnInitDialog(HWND dialog, LPARAM initParam) {
  KeepTableViewRefresh(dialog, initParam);
  FillPositionCombo(dialog);
  FillMonitorCombo(dialog);
  PrepareNumberBoxes(dialog);
  if (EditIndex != -1) {
    if (IsEntryIndex(EditIndex, g_menuTable.Count)) LoadMenuEntryControls(dialog);
    SetCaptionText(dialog, IDS_CHANGE);
  } else {
    SetCaptionText(dialog, IDS_ADD);
  }
}

// OK accepts whatever the controls hold, disabled ones included; only a
// full table (for an add) keeps the dialog open, with a message.
void OnOk(HWND dialog) {
  const EntryTarget target = MenuEntryTarget(g_menuTable, EditIndex);
  switch (target.Refusal) {
    case EntryRefusal::None:
      break;
    case EntryRefusal::TableFull:
      ShowRefusal(dialog, IDS_TABLE_FULL, MB_ICONINFORMATION);
      return;
    case EntryRefusal::ClassRegistered:
    case EntryRefusal::NoSuchEntry:
      EndDialog(dialog, 0);
      return;
  }
  if (EditIndex == -1) ++g_menuTable.Count;
  StoreControls(dialog, kMenuEntryControls, g_menuTable.Entries[target.Index]);
  SortMenuTable(g_menuTable);
  RefreshTableView(dialog);
  SaveAll(DialogOwner(dialog));
  EndDialog(dialog, 0);
}

void OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK:
      OnOk(dialog);
      break;
    case IDCANCEL:
      EndDialog(dialog, 0);
      break;
    case IDC_DESABLEPOS:
    case IDC_DESABLESIZE:
    case IDC_POS:
      RunEntryRule(dialog, id, ReactMenuEntryCommand);
      break;
    default:
      break;
  }
}

}  // namespace

INT_PTR CALLBACK MenuEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, lParam);
      return TRUE;
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace qm
