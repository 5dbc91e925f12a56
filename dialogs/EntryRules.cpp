#include "dialogs/EntryRules.h"

#include "res/resource.h"

namespace qm {

EntryControlState FreshEntryControlState() {
  return EntryControlState{false, false, false, PosFree, true, true, true, true};
}

namespace {

// The left and top boxes only mean something for a free position.
void ReactToPosition(EntryControlState& state) { state.LeftTopEnabled = state.PosSelection == PosFree; }

}  // namespace

int32_t ReactWindowEntryCommand(EntryControlState& state, int32_t id) {
  switch (id) {
    case IDC_DESABLEPOS:
      if (state.DesableSize && state.DesableStyle) {
        state.DesablePos = false;
        return 0;
      }
      state.LeftTopEnabled = !state.DesablePos;
      state.PosEnabled = !state.DesablePos;
      return state.DesablePos ? 0 : IDC_POS;
    case IDC_DESABLESIZE:
      if (state.DesablePos && state.DesableStyle) {
        state.DesableSize = false;
        return 0;
      }
      state.SizeEnabled = !state.DesableSize;
      return 0;
    case IDC_DESABLESTYLE:
      if (state.DesablePos && state.DesableSize) {
        state.DesableStyle = false;
        return 0;
      }
      state.StyleEnabled = !state.DesableStyle;
      return 0;
    case IDC_POS:
      ReactToPosition(state);
      return 0;
    default:
      return 0;
  }
}

int32_t ReactMenuEntryCommand(EntryControlState& state, int32_t id) {
  switch (id) {
    case IDC_DESABLEPOS:
      if (state.DesablePos) {
        state.LeftTopEnabled = false;
        state.PosEnabled = false;
        state.DesableSize = false;
        state.SizeEnabled = true;
        return 0;
      }
      state.LeftTopEnabled = true;
      state.PosEnabled = true;
      return IDC_POS;
    case IDC_DESABLESIZE:
      if (state.DesableSize) {
        state.SizeEnabled = false;
        state.DesablePos = false;
        state.PosEnabled = true;
        return IDC_POS;
      }
      state.SizeEnabled = true;
      return 0;
    case IDC_POS:
      ReactToPosition(state);
      return 0;
    default:
      return 0;
  }
}

int32_t WindowEntryLoadCommands(int32_t desablePos, int32_t* ids) {
  int32_t n = 0;
  ids[n++] = IDC_DESABLEPOS;
  if (desablePos == 0) ids[n++] = IDC_POS;
  ids[n++] = IDC_DESABLESIZE;
  ids[n++] = IDC_DESABLESTYLE;
  return n;
}

int32_t MenuEntryLoadCommands(int32_t desablePos, int32_t* ids) {
  int32_t n = 0;
  ids[n++] = IDC_DESABLEPOS;
  if (desablePos == 0) ids[n++] = IDC_POS;
  ids[n++] = IDC_DESABLESIZE;
  return n;
}

EntryTarget WindowEntryTarget(const WindowTable& table, int32_t editIndex, U16View windowClass) {
  if (editIndex != -1) {
    if (!IsEntryIndex(editIndex, table.Count)) return {-1, EntryRefusal::NoSuchEntry};
    return {editIndex, EntryRefusal::None};
  }
  if (table.Count >= kMaxEntries) return {-1, EntryRefusal::TableFull};
  if (IsClassRegistered(table, windowClass)) return {-1, EntryRefusal::ClassRegistered};
  return {table.Count, EntryRefusal::None};
}

EntryTarget MenuEntryTarget(const MenuTable& table, int32_t editIndex) {
  if (editIndex != -1) {
    if (!IsEntryIndex(editIndex, table.Count)) return {-1, EntryRefusal::NoSuchEntry};
    return {editIndex, EntryRefusal::None};
  }
  if (table.Count >= kMaxEntries) return {-1, EntryRefusal::TableFull};
  return {table.Count, EntryRefusal::None};
}

}  // namespace qm
