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

constexpr ControlField<Settings> kSettingsControls[] = {
    {IDC_TOOLTIP, &Settings::Tooltip, ControlKind::Check},
    {IDC_KEEPIN, &Settings::KeepIn, ControlKind::Check},
};

void OnOk(HWND dialog) {
  StoreControls(dialog, kSettingsControls, g_settings);
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
      LoadControls(dialog, kSettingsControls, g_settings);
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
