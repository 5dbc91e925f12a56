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
  // The enable rules of the "Keep ..." boxes and the position box.
  EntryReaction React;
  int32_t (*LoadCommands)(int32_t desablePos, int32_t* ids);
  // What the dialog has beyond the shared controls, each may be null: made
  // before them, its own commands and its notifications.
  void (*Init)(HWND dialog);
  void (*Command)(HWND dialog, int id);
  void (*Notify)(HWND dialog, const NMHDR* header);
};

// OK's store step: the controls read into a copy of the target slot (the
// empty slot after the last for an add), which the store then puts in
// place, unless the target refuses.
template <typename Entry, size_t N>
EntryRefusal PutEntry(HWND dialog, EntryStore& store, const Entry (&slots)[kMaxEntries], EntryTarget target,
                      const ControlField<Entry> (&controls)[N]) {
  if (target.Refusal != EntryRefusal::None) return target.Refusal;
  Entry entry = slots[target.Index];
  StoreControls(dialog, controls, entry);
  StoreEntryMonitor(dialog, entry);
  store.Put(target.Index, entry);
  return EntryRefusal::None;
}

INT_PTR EntryDialogProc(const EntryDialogKind& kind, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qm
