// The settings dialog: the two options handed to the hook library, the
// preset-menu hotkey and the one-step rule's hotkey. OK keeps them in
// Settings and Config.ini; the running hook library goes on with the values it was given at start-up, so a change
// of those takes effect at the next start. The main window registers
// changed hotkeys as soon as the dialog has closed.
#include <windows.h>

#include "dialogs/DialogParts_win.h"
#include "dialogs/Dialogs_win.h"
#include "res/resource.h"

namespace qm {

namespace {

constexpr ControlField<Settings> kSettingsControls[] = {
    {IDC_TOOLTIP, &Settings::Tooltip, ControlKind::Check},
    {IDC_KEEPIN, &Settings::KeepIn, ControlKind::Check},
    {IDC_HOTKEY, &Settings::Hotkey, HotkeyDefault{kDefaultHotkey}},
    {IDC_FOLLOWDESKTOP, &Settings::FollowDesktop, ControlKind::CheckOnWhenAbsent},
    {IDC_RULEHOTKEY, &Settings::RuleHotkey, HotkeyDefault{kDefaultRuleHotkey}},
};
static_assert(ShowsKeptFields(kSettingsControls, kSettingsFields), "a control shows a field no key keeps");

void OnInitDialog(HWND dialog, LPARAM initParam) {
  KeepRequest(dialog, initParam);
  LoadControls(dialog, kSettingsControls, RequestOf(dialog).Store->settings);
}

void OnOk(HWND dialog) {
  StoreControls(dialog, kSettingsControls, RequestOf(dialog).Store->settings);
  SaveStore(dialog);
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

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
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
