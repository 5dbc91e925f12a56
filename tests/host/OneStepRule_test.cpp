#include "app/OneStepRule.h"

#include <gtest/gtest.h>

#include <memory>

#include "entries/EntryFields.h"

namespace qm {
namespace {

TEST(OneStepRule, UpdatesTheEntryThatPlacesTheWindowByItsClassElseAddsOnTheDialogsTerms) {
  auto rules = std::make_unique<WindowTable>();
  const struct {
    const char16_t* windowClass;
    const char16_t* program;
  } entries[] = {{u"Notepad", u""}, {u"Editor", u"edit.exe"}, {u"", u"tool.exe"}};
  for (const auto& e : entries) {
    WindowEntry& entry = rules->Entries[rules->Count++];
    U16CopyTruncated(entry.Class, kTextCapacity, U16ViewOf(e.windowClass));
    U16CopyTruncated(entry.Process, kTextCapacity, U16ViewOf(e.program));
  }
  const struct {
    const char16_t* windowClass;
    const char16_t* program;
    OneStepPlan plan;
  } cases[] = {
      {u"Notepad", u"notepad.exe", {OneStepOutcome::Updated, 0}},  // an entry naming no program
      {u"Editor", u"EDIT.EXE", {OneStepOutcome::Updated, 1}},
      {u"Editor", u"other.exe", {OneStepOutcome::ClassRegistered, -1}},
      {u"Tool", u"tool.exe", {OneStepOutcome::Added, 3}},  // a program-only entry is not a class match
      {u"Fresh", u"", {OneStepOutcome::Added, 3}},
  };
  for (const auto& c : cases) {
    const OneStepPlan plan = PlanOneStepRule(*rules, U16ViewOf(c.windowClass), U16ViewOf(c.program));
    EXPECT_EQ(plan.Outcome, c.plan.Outcome) << "case " << (&c - cases);
    EXPECT_EQ(plan.Index, c.plan.Index);
  }
  rules->Count = kMaxEntries;
  EXPECT_EQ(PlanOneStepRule(*rules, u"Fresh", u"").Outcome, OneStepOutcome::TableFull);
  EXPECT_EQ(PlanOneStepRule(*rules, u"Editor", u"edit.exe").Outcome, OneStepOutcome::Updated);
}

// The numbers reproduce the rectangle as it stands, whatever the entry said
// before; the frame is taken but left alone.
TEST(OneStepRule, EntryHoldsTheRectangleAsAFreePointInPixels) {
  WindowEntry entry = NewOneStepEntry(u"Notepad", u"notepad.exe", {-1900, 10, -1100, 610}, kStyleBorder | kStyleThickFrame);
  EXPECT_EQ(U16ViewOf(entry.Process), u"notepad.exe");
  EXPECT_EQ(entry.Title[0], u'\0');
  EXPECT_EQ(entry.DesableStyle, 1);
  EXPECT_EQ(entry.Border + entry.DialogFrame * 2 + entry.ThickFrame * 4, 5);
  entry.Pos = PosCenter;
  entry.Unit = UnitShare;
  entry.DesablePos = 1;
  TakeWindowPlace(entry, {100, 200, 900, 800});
  const int32_t got[] = {entry.Pos, entry.Unit, entry.DesablePos, entry.DesableSize,
                         entry.Left, entry.Top, entry.Width, entry.Height};
  const int32_t want[] = {PosFree, UnitPixels, 0, 0, 100, 200, 800, 600};
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(got[i], want[i]) << i;
}

}  // namespace
}  // namespace qm
