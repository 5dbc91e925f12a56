// The settings dialog: the two options handed to the hook library. OK keeps
// them in Settings and Config.ini; the running hook library goes on with the
// values it was given at start-up, so a change takes effect at the next
// start.
#include <windows.h>

#include "dialogs/DialogParts_win.h"
#include "dialogs/Dialogs_win.h"
#include "entries/EntryStore_win.h"
#include "res/resource.h"

namespace qm {

namespace {

void OnOk(HWND dialog) {
  g_settings.Tooltip = CheckedFlag(dialog, IDC_TOOLTIP);
  g_settings.KeepIn = CheckedFlag(dialog, IDC_KEEPIN);
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
    default:
      break;
  }
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetCheckedFlag(dialog, IDC_TOOLTIP, g_settings.Tooltip);
      SetCheckedFlag(dialog, IDC_KEEPIN, g_settings.KeepIn);
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
