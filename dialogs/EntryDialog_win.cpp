#include "dialogs/EntryDialog_win.h"

#include "base/Win32Glue.h"
#include "res/resource.h"

namespace qm {

namespace {

void OnInitDialog(const EntryDialogKind& kind, HWND dialog, LPARAM initParam) {
  KeepRequest(dialog, initParam);
  if (kind.Init != nullptr) kind.Init(dialog);
  FillPositionCombo(dialog);
  FillMonitorCombo(dialog);
  PrepareNumberBoxes(dialog);
  const DialogRequest& request = RequestOf(dialog);
  if (request.Index == -1) {
    SetCaptionText(dialog, IDS_ADD);
    return;
  }
  if (IsEntryIndex(request.Index, request.Store->Count(kind.List))) {
    kind.Load(dialog, *request.Store, request.Index);
    // The enabled states follow from the loaded values alone.
    int32_t commands[4];
    const int32_t count = kind.LoadCommands(CheckedFlag(dialog, IDC_DESABLEPOS), commands);
    for (int32_t i = 0; i < count; ++i) SendDialogCommand(dialog, commands[i]);
  }
  SetCaptionText(dialog, IDS_CHANGE);
}

// OK accepts whatever the controls hold, disabled ones included. A missing
// registered name keeps the dialog open without a word; an add that the
// table refuses says why and keeps it open too, with every input as it was.
void OnOk(const EntryDialogKind& kind, HWND dialog) {
  const DialogRequest& request = RequestOf(dialog);
  switch (kind.Put(dialog, *request.Store, request.Index)) {
    case EntryRefusal::None:
      break;
    case EntryRefusal::NameMissing:
      return;
    case EntryRefusal::ClassRegistered:
      ShowRefusal(dialog, IDS_CLASS_EXISTS, 0);
      return;
    case EntryRefusal::TableFull:
      ShowRefusal(dialog, IDS_TABLE_FULL, MB_ICONINFORMATION);
      return;
    case EntryRefusal::NoSuchEntry:
      EndDialog(dialog, 0);
      return;
  }
  if (request.Refresh != nullptr) request.Refresh();
  SaveStore(dialog);
  EndDialog(dialog, 0);
}

void OnCommand(const EntryDialogKind& kind, HWND dialog, int id) {
  switch (id) {
    case IDOK:
      OnOk(kind, dialog);
      break;
    case IDCANCEL:
      EndDialog(dialog, 0);
      break;
    case IDC_DESABLEPOS:
    case IDC_DESABLESIZE:
    case IDC_DESABLESTYLE:
    case IDC_POS:
      RunEntryRule(dialog, id, kind.React);
      break;
    default:
      if (kind.Command != nullptr) kind.Command(dialog, id);
      break;
  }
}

}  // namespace

INT_PTR EntryDialogProc(const EntryDialogKind& kind, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(kind, dialog, lParam);
      return TRUE;
    case WM_COMMAND:
      OnCommand(kind, dialog, LOWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      if (kind.Notify == nullptr) return FALSE;
      kind.Notify(dialog, reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace qm
