// Matching a window to its rule and computing where it goes: pure
// arithmetic on the entry's fields and the window's facts.
#pragma once

#include <cstdint>

#include "base/U16.h"
#include "entries/EntryTable.h"

namespace qm {

struct Rect32 {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

enum class PlacementAction { ResizeOnly, MoveOnly, MoveAndResize };

struct Placement {
  PlacementAction action;
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
};

// Where the entry puts a window whose outer rectangle is windowRect, given
// the primary work area and the screen size captured at start-up.
Placement ComputePlacement(const EntryGeometry& entry, const Rect32& windowRect, const Rect32& workArea,
                           int32_t screenWidth, int32_t screenHeight);

// The rule for a window of this class and title: first an exact class match
// over the whole table, then the first entry whose Title occurs in the
// window's title. -1 when none applies.
int32_t MatchWindowEntry(const WindowTable& table, U16View windowClass, U16View windowTitle);

}  // namespace qm
