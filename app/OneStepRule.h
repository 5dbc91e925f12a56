// A window rule in one step: from a Shift + middle click on a window's title
// bar, or from the rule hotkey on the foreground window. The window's class,
// program and rectangle become a new entry of the window list, or move and
// size the entry that already places that window by its class.
#pragma once

#include <cstdint>

#include "base/Geometry.h"
#include "base/U16.h"
#include "entries/EntryTable.h"

namespace qm {

enum class OneStepOutcome : uint8_t {
  Added,            // a new entry, at Index (the table's count)
  Updated,          // the entry at Index, its place and size only
  TableFull,        // nothing stored: every slot is taken
  ClassRegistered,  // nothing stored: another program's entry has the class
};

struct OneStepPlan {
  OneStepOutcome Outcome;
  int32_t Index;  // -1 when nothing is stored
};

// The entry that places the window by its class (one naming no program, or
// its program) is updated. Otherwise a new one is added on the terms of the
// window entry dialog's OK: a free slot, and a class no other entry has.
OneStepPlan PlanOneStepRule(const WindowTable& rules, U16View windowClass, U16View program);

// Puts the window's outer rectangle into entry as a free point and a size
// in pixels, as "Get" and OK in the window entry dialog would.
void TakeWindowPlace(EntryGeometry& entry, const Rect32& rect);

// A new entry for a window: its class and program, no registered name, its
// rectangle, and its frame style bits taken but left alone ("Keep style"):
// a rule made in passing must not change the frame of every window it
// later meets.
WindowEntry NewOneStepEntry(U16View windowClass, U16View program, const Rect32& rect, uint32_t style);

}  // namespace qm
