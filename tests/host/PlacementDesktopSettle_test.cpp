#include <gtest/gtest.h>

#include <vector>

#include "placement/DesktopSettle.h"

namespace qm {
namespace {

DesktopLayout Layout(int32_t monitors, int32_t workBottom = 1040) {
  DesktopLayout layout = {};
  for (int32_t i = 0; i < monitors; ++i) {
    layout.monitor[layout.count] = {i * 1920, 0, (i + 1) * 1920, 1080};
    layout.work[layout.count] = {i * 1920, 0, (i + 1) * 1920, workBottom};
    ++layout.count;
  }
  return layout;
}

// Each row: the layouts of the changes in a burst, then the layouts seen
// each time the timer runs out, and the steps they give.
TEST(DesktopSettle, ABurstOfChangesEndsInOneApplication) {
  struct Case {
    const char* name;
    std::vector<DesktopLayout> changes;
    std::vector<DesktopLayout> timers;
    std::vector<SettleStep> steps;
  } cases[] = {
      {"2 -> 1 -> 2 monitors", {Layout(2), Layout(1), Layout(2)}, {Layout(2), Layout(2)},
       {SettleStep::Apply, SettleStep::Nothing}},
      {"the monitors moved on after the last change", {Layout(2)}, {Layout(1), Layout(1)},
       {SettleStep::Wait, SettleStep::Apply}},
      {"only the work area changed", {Layout(1)}, {Layout(1, 1000), Layout(1, 1000)},
       {SettleStep::Wait, SettleStep::Apply}},
      {"a stray timer without a change", {}, {Layout(1)}, {SettleStep::Nothing}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DesktopSettle settle;
    for (const DesktopLayout& layout : c.changes) settle.OnChange(layout);
    for (size_t i = 0; i < c.timers.size(); ++i) EXPECT_EQ(settle.OnTimer(c.timers[i]), c.steps[i]) << i;
    EXPECT_FALSE(settle.Waiting());
  }
}

TEST(DesktopSettle, UserMovedWindowsAreForgottenWhenPlacedAndTheOldestGiveWay) {
  UserMovedWindows moved;
  for (uintptr_t w = 1; w <= UserMovedWindows::kCapacity + 1; ++w) moved.Note(w);
  EXPECT_FALSE(moved.Contains(1));
  EXPECT_TRUE(moved.Contains(2));
  EXPECT_TRUE(moved.Contains(UserMovedWindows::kCapacity + 1));
  moved.Forget(2);
  EXPECT_FALSE(moved.Contains(2));
  EXPECT_FALSE(moved.Contains(0));
}

}  // namespace
}  // namespace qm
