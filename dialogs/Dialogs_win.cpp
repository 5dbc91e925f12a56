// Placeholder until the dialogs land.
#include "dialogs/Dialogs_win.h"

namespace qm {

INT_PTR CALLBACK WindowEntryDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
INT_PTR CALLBACK MenuEntryDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
INT_PTR CALLBACK SettingsDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void FillPositionCombo(HWND) {}

}  // namespace qm
