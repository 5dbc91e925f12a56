// The modal dialogs of the main window.
#pragma once

#include <windows.h>

namespace qm {

INT_PTR CALLBACK WindowEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK MenuEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills combo box IDC_POS of dialog with the six anchor texts so that the
// item index is the Pos value, and selects item 0.
void FillPositionCombo(HWND dialog);

}  // namespace qm
