#include "app/OneStepRule.h"

#include "dialogs/EntryRules.h"
#include "entries/EntryFields.h"
#include "placement/Placement.h"

namespace qm {

OneStepPlan PlanOneStepRule(const WindowTable& rules, U16View windowClass, U16View program) {
  const int32_t existing = MatchWindowClass(rules, windowClass, program);
  if (existing >= 0) return {OneStepOutcome::Updated, existing};
  const EntryTarget target = WindowEntryTarget(rules, -1, windowClass);
  switch (target.Refusal) {
    case EntryRefusal::None:
      return {OneStepOutcome::Added, target.Index};
    case EntryRefusal::TableFull:
      return {OneStepOutcome::TableFull, -1};
    default:
      return {OneStepOutcome::ClassRegistered, -1};
  }
}

void TakeWindowPlace(EntryGeometry& entry, const Rect32& rect) {
  // A free point in pixels is the one form whose numbers are the rectangle
  // itself; an anchor or a share would move the window elsewhere.
  entry.DesablePos = 0;
  entry.DesableSize = 0;
  entry.Pos = PosFree;
  entry.Unit = UnitPixels;
  entry.Left = rect.left;
  entry.Top = rect.top;
  entry.Width = static_cast<int32_t>(int64_t{rect.right} - rect.left);
  entry.Height = static_cast<int32_t>(int64_t{rect.bottom} - rect.top);
}

WindowEntry NewOneStepEntry(U16View windowClass, U16View program, const Rect32& rect, uint32_t style) {
  WindowEntry entry{};
  U16CopyTruncated(entry.Class, kTextCapacity, windowClass);
  U16CopyTruncated(entry.Process, kTextCapacity, program);
  TakeWindowPlace(entry, rect);
  entry.DesableStyle = 1;
  for (const auto& row : kWindowEntryFields) {
    if (row.Style != 0) entry.*row.Number = (style & row.Style) != 0 ? 1 : 0;
  }
  return entry;
}

}  // namespace qm
