// The skeleton both entry dialogs share: opening with a request, loading
// the entry to change, the enable rules, and OK with its refusals. Each
// dialog describes itself in one EntryDialogKind and hands its procedure's
// messages to EntryDialogProc.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "dialogs/DialogParts_win.h"
#include "dialogs/Dialogs_win.h"
#include "dialogs/EntryRules.h"

namespace qm {

struct EntryDialogKind {
  EntryList List;
  // Loads the controls from entry index, which names an entry of the table.
  void (*Load)(HWND dialog, const EntryStore& store, int32_t index);
  // OK: reads the controls and puts the entry into the store at index (-1
  // adds it), or says why nothing may be stored.
  EntryRefusal (*Put)(HWND dialog, EntryStore& store, int32_t index);
  // The enable rules of the "do not change" boxes and the position box.
  EntryReaction React;
  int32_t (*LoadCommands)(int32_t desablePos, int32_t* ids);
  // What the dialog has beyond the shared controls, each may be null: made
  // before them, its own commands and its notifications.
  void (*Init)(HWND dialog);
  void (*Command)(HWND dialog, int id);
  void (*Notify)(HWND dialog, const NMHDR* header);
};

INT_PTR EntryDialogProc(const EntryDialogKind& kind, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qm
