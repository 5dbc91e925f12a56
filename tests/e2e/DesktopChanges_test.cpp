// The program following the desktop, on the X server of
// scripts/wine-two-monitors.sh. Wine sends no WM_DISPLAYCHANGE when its
// monitors change, so the test delivers it, as Windows would. Skipped on a
// single monitor.
#include <windows.h>

#include <gtest/gtest.h>

#include "hook/HookContract.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/PlacementFixtures.h"
#include "tests/e2e/target/TargetProtocol.h"

namespace e2e {
namespace {

int MonitorCount() { return GetSystemMetrics(SM_CMONITORS); }

LRESULT Placements(HWND window) {
  DWORD_PTR count = 0;
  SendMessageTimeoutW(window, TARGET_PLACEMENTS, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &count);
  return static_cast<LRESULT>(count);
}

// The user drags the window: the move-size events around a move.
void Drag(Target& target, int x, int y) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(target.window(), TARGET_MOVE_WINDOW, EVENT_SYSTEM_MOVESIZESTART, MAKELPARAM(x, y),
                      SMTO_ABORTIFHUNG, kWaitMs, &result);
  target.Notify(EVENT_SYSTEM_MOVESIZEEND);
}

bool HasRect(HWND window, const RECT& rect) { return SameRect(WindowRect(window), rect); }

class DesktopChanges : public testing::Test {
 protected:
  TempDir dir;
  App app{dir.path()};
};

// After a change of the desktop, the window ruled onto the second monitor
// comes back to it once the desktop settles, the one the user dragged
// meanwhile stays, and a burst of changes places the windows once.
TEST_F(DesktopChanges, WindowsReturnAfterABurstOfChangesAndTheUsersStay) {
  if (MonitorCount() < 2) GTEST_SKIP() << "one monitor; scripts/wine-two-monitors.sh shows two";
  const RECT returns = MakeRect(-760, -160, 300, 200);
  const RECT dragged = MakeRect(-700, 100, 300, 200);
  WriteEntryIni(dir, {{L"a", L"QmReturns", {0, returns.left, returns.top, 0, 0, 300, 200}},
                      {L"b", L"QmDragged", {0, dragged.left, dragged.top, 0, 0, 300, 200}}});
  ASSERT_TRUE(app.Start());
  Target a, b;
  ASSERT_TRUE(a.Start(L"--class QmReturns --rect 100,100,200,150"));
  ASSERT_TRUE(b.Start(L"--class QmDragged --rect 150,150,200,150"));
  app.Send(MSG_PLACE_WINDOW, reinterpret_cast<WPARAM>(a.window()));
  app.Send(MSG_PLACE_WINDOW, reinterpret_cast<WPARAM>(b.window()));
  ASSERT_TRUE(HasRect(a.window(), returns));
  ASSERT_TRUE(HasRect(b.window(), dragged));

  // Windows moves the windows of a monitor that went away onto the others;
  // the test moves one, and the user drags the other onto the primary.
  SetWindowPos(a.window(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Drag(b, 60, 300);
  const RECT draggedTo = WindowRect(b.window());
  // A burst of three changes gives one placement: the one after a later
  // single change is the next one counted.
  const LRESULT before = Placements(a.window());
  for (int i = 0; i < 3; ++i) app.Post(WM_DISPLAYCHANGE, 32);
  ASSERT_TRUE(WaitUntil([&] { return HasRect(a.window(), returns); }));
  app.Post(WM_DISPLAYCHANGE, 32);
  ASSERT_TRUE(WaitUntil([&] { return Placements(a.window()) > before + 1; }));
  EXPECT_EQ(Placements(a.window()), before + 2);
  EXPECT_TRUE(HasRect(b.window(), draggedTo));
  EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e
