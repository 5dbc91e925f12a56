// The modal dialogs of the main window.
#pragma once

#include <windows.h>

namespace qm {

// An entry dialog rebuilds the view of the table it changed through the
// function its opener lends it as DialogBoxParamW's init parameter: after
// OK sorted the table and before the files are saved. A dialog opened with
// 0 rebuilds nothing.
using TableViewRefresh = void (*)();
inline LPARAM DialogParam(TableViewRefresh refresh) { return reinterpret_cast<LPARAM>(refresh); }

INT_PTR CALLBACK WindowEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK MenuEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills combo box IDC_POS of dialog with the six anchor texts so that the
// item index is the Pos value, and selects item 0.
void FillPositionCombo(HWND dialog);

}  // namespace qm
