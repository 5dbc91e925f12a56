#include "placement/Placement.h"

namespace qm {

// Placeholder until the placement engine lands.
Placement ComputePlacement(const EntryGeometry& entry, const Rect32&, const Rect32&, int32_t, int32_t) {
  return Placement{PlacementAction::MoveAndResize, entry.Left, entry.Top, entry.Width, entry.Height};
}

int32_t MatchWindowEntry(const WindowTable&, U16View, U16View) { return -1; }

}  // namespace qm
