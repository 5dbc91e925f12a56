#include <gtest/gtest.h>

#include <vector>

#include "placement/DesktopSettle.h"

namespace qm {
namespace {

DesktopLayout Layout(size_t monitors, int32_t bottom = 1040) {
  return {{{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}}, {{0, 0, 1920, bottom}, {1920, 0, 3840, bottom}}, monitors};
}

// Each row: the layouts of a burst of changes, then those seen each time the
// timer runs out and the steps they give.
TEST(DesktopSettle, ABurstOfChangesEndsInOneApplication) {
  using S = SettleStep;
  const struct {
    std::vector<DesktopLayout> changes, timers;
    std::vector<SettleStep> steps;
  } cases[] = {
      {{Layout(2), Layout(1), Layout(2)}, {Layout(2), Layout(2)}, {S::Apply, S::Nothing}},  // 2 -> 1 -> 2
      {{Layout(2)}, {Layout(1), Layout(1)}, {S::Wait, S::Apply}},  // changed again after the last notice
      {{Layout(1)}, {Layout(1, 1000), Layout(1, 1000)}, {S::Wait, S::Apply}},  // only a work area
  };
  for (const auto& c : cases) {
    DesktopSettle settle;
    for (const DesktopLayout& layout : c.changes) settle.OnChange(layout);
    for (size_t i = 0; i < c.timers.size(); ++i) EXPECT_EQ(settle.OnTimer(c.timers[i]), c.steps[i]) << i;
  }
}

TEST(DesktopSettle, UserMovedWindowsAreForgottenWhenPlacedAndTheOldestGiveWay) {
  UserMovedWindows moved;
  for (uintptr_t w = 1; w <= UserMovedWindows::kCapacity + 1; ++w) moved.Note(w);
  moved.Forget(2);
  EXPECT_FALSE(moved.Contains(1) || moved.Contains(2));
  EXPECT_TRUE(moved.Contains(3) && moved.Contains(UserMovedWindows::kCapacity + 1));
}

}  // namespace
}  // namespace qm
