// The modal dialogs of the main window, and the messages that tell the user
// a load or save of the entry store failed.
#pragma once

#include <windows.h>

#include <cstdint>

#include "entries/EntryStore_win.h"

namespace qm {

// What the opener asks of a dialog, handed over as DialogBoxParamW's init
// parameter (DialogParam) and kept with the dialog while it is open. The
// request lives on the opener's stack: a modal dialog ends before it does.
struct DialogRequest {
  EntryStore* Store;
  // Entry dialogs: the entry to change, -1 to add one.
  int32_t Index;
  // Entry dialogs: rebuilds the view of the table OK changed, after OK
  // sorted the table and before the files are saved; null rebuilds nothing.
  void (*Refresh)();
};
inline LPARAM DialogParam(DialogRequest& request) { return reinterpret_cast<LPARAM>(&request); }

INT_PTR CALLBACK WindowEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK MenuEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills combo box IDC_POS of dialog with the six anchor texts so that the
// item index is the Pos value, and selects item 0.
void FillPositionCombo(HWND dialog);

// A save failed. The box belongs to the window the user works in: the main
// window's last active popup (during a dialog's OK, the dialog, which the
// box must disable so OK cannot run again under it). mainWindow may be null.
void ShowSaveFailure(HWND mainWindow);
// A file could not be read at start-up; owner is the main window.
void ShowLoadFailure(HWND owner);

}  // namespace qm
