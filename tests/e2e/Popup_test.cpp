// The preset popup, opened the way the hook library opens it and driven
// with real keyboard input. Another process's menu cannot be read under
// Wine, so the test finds the menu window (class "#32768") and judges by
// what the chosen preset does to the target.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "hook/HookContract.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/PlacementFixtures.h"
#include "tests/e2e/target/TargetProtocol.h"

namespace e2e {
namespace {

HWND VisibleMenuWindow(DWORD processId) {
  for (HWND window : FindProcessWindows(processId, L"#32768")) {
    if (IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// Posts MSG_MENU_WINDOW (a send would wait in the menu's own loop) and
// waits for the popup to show.
HWND OpenPopup(App& app, HWND target, POINT at) {
  PutCursor(at.x, at.y);
  app.Post(MSG_MENU_WINDOW, reinterpret_cast<WPARAM>(target));
  HWND menu = nullptr;
  WaitUntil([&] { return (menu = VisibleMenuWindow(app.process().id())) != nullptr; });
  return menu;
}

GUITHREADINFO GuiInfo(App& app) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(app.main(), nullptr), &info);
  return info;
}

bool InMenuMode(App& app) { return (GuiInfo(app).flags & GUI_INMENUMODE) != 0; }

// The menu window gone and the program's thread out of its menu loop.
bool WaitPopupClosed(App& app) {
  return WaitUntil([&] { return VisibleMenuWindow(app.process().id()) == nullptr && !InMenuMode(app); });
}

class Popup : public testing::Test {
 protected:
  // The presets in the file's order, which is the table's and the menu's.
  void StartWith(const std::vector<Geometry>& presets, const std::vector<WindowRule>& rules = {}) {
    WriteEntryIni(dir_, rules, presets);
    app_ = std::make_unique<App>(dir_.path());
    ASSERT_TRUE(app_->Start());
    ASSERT_TRUE(target_.Start(L"--class QmPopupTarget --rect 300,200,400,300"));
    styleBefore_ = WindowStyle(target_.window());
  }
  void TearDown() override {
    if (app_) EXPECT_EQ(app_->Close(), 0);
  }

  TempDir dir_;
  std::unique_ptr<App> app_;
  Target target_;
  DWORD styleBefore_ = 0;
};

TEST_F(Popup, KeyboardChoiceAppliesThatPresetWithoutTheStyleStep) {
  const RECT work = WorkArea();
  struct Case {
    const char* name;
    int downs;  // Down presses from no selection: 1 selects the first item
    RECT expected;
  } cases[] = {
      {"first item: free point and size", 1, MakeRect(40, 30, 640, 480)},
      {"second item: DesableSize only moves", 2, MakeRect(work.right - 400, work.top, 400, 300)},
      {"third item: DesablePos only resizes", 3, MakeRect(300, 200, 700, 500)},
      {"fourth item: centre, size kept", 4,
       MakeRect((GetSystemMetrics(SM_CXSCREEN) - 400) / 2, (GetSystemMetrics(SM_CYSCREEN) - 300) / 2, 400, 300)},
  };
  ASSERT_NO_FATAL_FAILURE(StartWith({
      {0, 40, 30, 0, 0, 640, 480},
      {0, 0, 0, 5, 1, 10, 10},
      {1, 0, 0, 4, 0, 700, 500},
      {0, 0, 0, 3, 1, 0, 0},
  }));
  HWND target = target_.window();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetWindowPos(target, nullptr, 300, 200, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    HWND menu = OpenPopup(*app_, target, POINT{500, 400});
    ASSERT_NE(menu, nullptr);
    // At the cursor, owned by the Dummy window made foreground.
    RECT menuRect = WindowRect(menu);
    EXPECT_EQ(menuRect.left, 500);
    EXPECT_EQ(menuRect.top, 400);
    EXPECT_EQ(GetForegroundWindow(), app_->dummy());
    EXPECT_EQ(GetWindow(menu, GW_OWNER), app_->dummy());
    for (int i = 0; i < c.downs; ++i) SendKey(VK_DOWN);
    SendKey(VK_RETURN);
    ASSERT_TRUE(WaitPopupClosed(*app_));
    ASSERT_TRUE(WaitUntil([&] { return SameRect(WindowRect(target), c.expected); }))
        << RectText(WindowRect(target)).c_str();
    EXPECT_EQ(WindowStyle(target) & ~WS_VISIBLE, styleBefore_ & ~WS_VISIBLE);
  }
}

TEST_F(Popup, EscapeChangesNothing) {
  ASSERT_NO_FATAL_FAILURE(StartWith({{0, 40, 30, 0, 0, 640, 480}, {0, 0, 0, 3, 0, 800, 600}}));
  HWND target = target_.window();
  const RECT before = WindowRect(target);
  HWND menu = OpenPopup(*app_, target, POINT{600, 500});
  ASSERT_NE(menu, nullptr);
  SendKey(VK_DOWN);  // an item highlighted, then abandoned
  SendKey(VK_ESCAPE);
  ASSERT_TRUE(WaitPopupClosed(*app_));
  EXPECT_EQ(app_->Send(WM_NULL), 0);
  EXPECT_TRUE(SameRect(WindowRect(target), before));
  // The popup opens again after a dismissal.
  ASSERT_NE(OpenPopup(*app_, target, POINT{600, 500}), nullptr);
  SendKey(VK_ESCAPE);
  ASSERT_TRUE(WaitPopupClosed(*app_));
  EXPECT_TRUE(SameRect(WindowRect(target), before));
}

TEST_F(Popup, EmptyMenuTableAppliesNothing) {
  // The probe opens before the program starts, so that only the message
  // below places it, not its appearance.
  Target probe;
  ASSERT_TRUE(probe.Start(L"--class QmPopupProbe --rect 300,200,400,300"));
  ASSERT_NO_FATAL_FAILURE(StartWith({}, {{L"probe", L"QmPopupProbe", {0, 0, 0, 4, 0, 500, 350}}}));
  HWND target = target_.window();
  const RECT before = WindowRect(target);
  PutCursor(600, 500);
  app_->Post(MSG_MENU_WINDOW, reinterpret_cast<WPARAM>(target));
  // Posted messages are handled in order: once the probe has been placed,
  // the popup request before it has been handled as well. A menu with no
  // items closes at once, so by then no menu is being tracked.
  app_->Post(MSG_PLACE_WINDOW, reinterpret_cast<WPARAM>(probe.window()));
  const RECT work = WorkArea();
  ASSERT_TRUE(WaitUntil([&] { return SameRect(WindowRect(probe.window()), MakeRect(work.left, work.top, 500, 350)); }));
  EXPECT_FALSE(InMenuMode(*app_));
  EXPECT_EQ(VisibleMenuWindow(app_->process().id()), nullptr);
  EXPECT_TRUE(SameRect(WindowRect(target), before));
}

// A preset chosen for a maximised window restores it first and then
// applies: the size it keeps is the restored one (400 x 300), and the window
// ends up normal.
TEST_F(Popup, APresetRestoresAMaximisedWindowFirst) {
  const RECT work = WorkArea();
  ASSERT_NO_FATAL_FAILURE(StartWith({{0, 0, 0, 5, 1, 10, 10}}));
  HWND target = target_.window();
  ShowWindow(target, SW_MAXIMIZE);
  ASSERT_TRUE(IsZoomed(target));
  ASSERT_NE(OpenPopup(*app_, target, POINT{500, 400}), nullptr);
  SendKey(VK_DOWN);
  SendKey(VK_RETURN);
  ASSERT_TRUE(WaitPopupClosed(*app_));
  const RECT expected = MakeRect(work.right - 400, work.top, 400, 300);
  ASSERT_TRUE(WaitUntil([&] { return SameRect(WindowRect(target), expected); }))
      << RectText(WindowRect(target)).c_str();
  EXPECT_FALSE(IsZoomed(target));
}

// A hung program's maximised window: the restore before the preset does not wait on it.
TEST_F(Popup, APresetOnAHungMaximisedWindowNeverHoldsTheProgram) {
  ASSERT_NO_FATAL_FAILURE(StartWith({{0, 0, 0, 5, 1, 10, 10}}));
  HWND target = target_.window();
  ShowWindow(target, SW_MAXIMIZE);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, TARGET_RELEASE_EVENT);
  PostMessageW(target, TARGET_HANG, 0, 0);
  DWORD_PTR result = 0;
  ASSERT_TRUE(WaitUntil([&] { return !SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &result); }));
  ASSERT_NE(OpenPopup(*app_, target, POINT{500, 400}), nullptr);
  SendKey(VK_DOWN);
  SendKey(VK_RETURN);
  ASSERT_TRUE(WaitPopupClosed(*app_));
  // A posted click, handled once the preset is done (a thread stuck in a
  // send would still answer sends).
  app_->Post(MSG_TRAY, 0, WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(app_->main()) != FALSE; }, 10000));
  SetEvent(release);
  CloseHandle(release);
}

}  // namespace
}  // namespace e2e
