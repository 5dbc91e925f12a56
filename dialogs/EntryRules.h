// The rules of the two entry dialogs that need no window: which controls a
// click on a "Keep ..." box or a choice of position enables, the
// commands a dialog sends itself after loading an entry, and where OK may
// store. The Win32 dialogs read their controls into EntryControlState, run
// a reaction and write the differences back.
#pragma once

#include <cstdint>

#include "base/U16.h"
#include "entries/EntryTable.h"

namespace qm {

// What the enable rules read and write. Controls that the rules always
// enable and disable together share one flag.
struct EntryControlState {
  bool DesablePos;       // "Keep position" ticked
  bool DesableSize;      // "Keep size" ticked
  bool DesableStyle;     // "Keep style" ticked (window entries only)
  int32_t PosSelection;  // item selected in the position box, -1 for none
  bool LeftTopEnabled;   // the left and top boxes
  bool PosEnabled;       // the position box
  bool SizeEnabled;      // the width and height boxes
  bool StyleEnabled;     // the three frame boxes (window entries only)
};

// A dialog as its template creates it: nothing ticked, item 0, all enabled.
EntryControlState FreshEntryControlState();

// The reaction of the window entry dialog to a WM_COMMAND from control id
// (any notification). At most two of the three boxes are ever ticked: a
// click that ticks the third is undone and changes nothing else. Returns
// the id of a command the dialog then sends itself, or 0.
int32_t ReactWindowEntryCommand(EntryControlState& state, int32_t id);

// The same for the menu entry dialog, whose two boxes exclude each other:
// ticking one clears the other.
int32_t ReactMenuEntryCommand(EntryControlState& state, int32_t id);

// The commands an entry dialog sends itself, in this order, once it has
// loaded an entry, so that the enabled states follow from the loaded values
// alone. Writes them into ids[4] and returns how many there are.
int32_t WindowEntryLoadCommands(int32_t desablePos, int32_t* ids);
int32_t MenuEntryLoadCommands(int32_t desablePos, int32_t* ids);

enum class EntryRefusal {
  None,
  TableFull,        // adding: every one of the kMaxEntries slots is taken
  ClassRegistered,  // adding a window entry whose class another one has
  NoSuchEntry,      // changing: the index names no entry of the table
  NameMissing,      // a window entry without a registered name
};

// Where OK stores: Index is the slot to write (the current count when
// adding; the caller grows the count) unless Refusal says why nothing may
// be stored. editIndex is -1 for an add.
struct EntryTarget {
  int32_t Index;
  EntryRefusal Refusal;
};
EntryTarget WindowEntryTarget(const WindowTable& table, int32_t editIndex, U16View windowClass);
EntryTarget MenuEntryTarget(const MenuTable& table, int32_t editIndex);

// Whether editIndex names an entry of a table holding count entries.
inline bool IsEntryIndex(int32_t editIndex, int32_t count) {
  return editIndex >= 0 && editIndex < count && editIndex < kMaxEntries;
}

}  // namespace qm
