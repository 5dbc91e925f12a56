#include "app/OneStepRule.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "entries/EntryFields.h"

namespace qm {
namespace {

TEST(OneStepRule, UpdatesTheEntryThatPlacesTheWindowByItsClassElseAddsOnTheDialogsTerms) {
  auto rules = std::make_unique<WindowTable>();
  rules->Count = 3;  // Notepad for any program, Editor for edit.exe, every window of tool.exe
  U16CopyTruncated(rules->Entries[0].Class, kTextCapacity, u"Notepad");
  U16CopyTruncated(rules->Entries[1].Class, kTextCapacity, u"Editor");
  U16CopyTruncated(rules->Entries[1].Process, kTextCapacity, u"edit.exe");
  U16CopyTruncated(rules->Entries[2].Process, kTextCapacity, u"tool.exe");
  const struct {
    U16View windowClass, program;
    OneStepPlan plan;
  } cases[] = {
      {u"Notepad", u"notepad.exe", {OneStepOutcome::Updated, 0}},
      {u"Editor", u"EDIT.EXE", {OneStepOutcome::Updated, 1}},
      {u"Editor", u"other.exe", {OneStepOutcome::ClassRegistered, -1}},
      {u"Tool", u"tool.exe", {OneStepOutcome::Added, 3}},  // a program-only entry is no class match
  };
  for (const auto& c : cases) {
    const OneStepPlan plan = PlanOneStepRule(*rules, c.windowClass, c.program);
    EXPECT_EQ(plan.Outcome, c.plan.Outcome) << "case " << (&c - cases);
    EXPECT_EQ(plan.Index, c.plan.Index) << "case " << (&c - cases);
  }
  rules->Count = kMaxEntries;
  EXPECT_EQ(PlanOneStepRule(*rules, u"Fresh", u"").Outcome, OneStepOutcome::TableFull);
  EXPECT_EQ(PlanOneStepRule(*rules, u"Editor", u"edit.exe").Outcome, OneStepOutcome::Updated);
}

// The numbers reproduce the rectangle whatever the entry said before; a new
// entry takes the frame but leaves it alone.
TEST(OneStepRule, EntryHoldsTheRectangleAsAFreePointInPixels) {
  WindowEntry entry = NewOneStepEntry(u"Notepad", u"notepad.exe", {-1900, 10, -1100, 610}, kStyleThickFrame);
  EXPECT_EQ(entry.DesableStyle + entry.ThickFrame * 2 + entry.Border * 4 + entry.Width, 3 + 800);
  entry.Pos = PosCenter;
  entry.Unit = UnitShare;
  TakeWindowPlace(entry, {100, 200, 900, 800});
  EXPECT_EQ(std::vector<int32_t>({entry.Pos, entry.Unit, entry.Left, entry.Top, entry.Width, entry.Height}),
            std::vector<int32_t>({PosFree, UnitPixels, 100, 200, 800, 600}));
}

}  // namespace
}  // namespace qm
