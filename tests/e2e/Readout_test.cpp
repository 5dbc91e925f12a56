// The geometry readout of the real program, fed the way the hook library
// feeds it: WM_COPYDATA with MSG_TIP_RECT, and MSG_TIP_HIDE.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "hook/HookContract.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/PlacementFixtures.h"

namespace e2e {
namespace {

// 160 x 46 on an unscaled display, in proportion on a scaled one.
SIZE ReadoutSize(HWND readout) {
  const int dpi = WindowDpi(readout);
  return SIZE{MulDiv(160, dpi, 96), MulDiv(46, dpi, 96)};
}

LRESULT SendCopyData(App& app, ULONG_PTR kind, const void* data, DWORD size) {
  COPYDATASTRUCT copy = {};
  copy.dwData = kind;
  copy.cbData = size;
  copy.lpData = const_cast<void*>(data);
  return app.Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

LRESULT SendRect(App& app, const TipRectPayload& rect) {
  return SendCopyData(app, MSG_TIP_RECT, &rect, sizeof(rect));
}

std::string CursorText() {
  POINT p = {};
  GetCursorPos(&p);
  return "cursor now at " + std::to_string(p.x) + "," + std::to_string(p.y);
}

// Where the readout goes for a cursor at (x, y): just below the cursor.
RECT ReadoutAt(HWND readout, int x, int y) {
  const SIZE size = ReadoutSize(readout);
  return MakeRect(x, y + GetSystemMetrics(SM_CYCURSOR), size.cx, size.cy);
}

class Readout : public testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<App>(dir_.path());
    ASSERT_TRUE(app_->Start());
    readout_ = app_->readout();
    ASSERT_NE(readout_, nullptr);
  }
  void TearDown() override {
    if (app_) EXPECT_EQ(app_->Close(), 0);
  }

  TempDir dir_;
  std::unique_ptr<App> app_;
  HWND readout_ = nullptr;
};

TEST_F(Readout, CreatedHiddenAtStartUpAsASmallTopmostToolWindow) {
  EXPECT_EQ(ClassName(readout_), L"Quillmere_Tooltip");
  EXPECT_EQ(WindowText(readout_), L"");
  EXPECT_FALSE(IsWindowVisible(readout_));
  const SIZE size = ReadoutSize(readout_);
  EXPECT_TRUE(SameRect(WindowRect(readout_), MakeRect(100, 100, size.cx, size.cy)))
      << RectText(WindowRect(readout_)).c_str();
  const DWORD style = WindowStyle(readout_);
  EXPECT_EQ(style & (WS_POPUP | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_CHILD | WS_SYSMENU),
            static_cast<DWORD>(WS_POPUP | WS_BORDER));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(readout_, GWL_EXSTYLE));
  EXPECT_EQ(exStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_APPWINDOW),
            static_cast<DWORD>(WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
  EXPECT_EQ(GetWindow(readout_, GW_OWNER), nullptr);
  // The class's own fields cannot be read from another process under Wine;
  // the Windows unit tests check them in-process.
}

TEST_F(Readout, FollowsTheCursorKeepsItsSizeAndHides) {
  constexpr int32_t kMin = INT32_MIN, kMax = INT32_MAX;
  struct Case {
    const char* name;
    POINT cursor;
    TipRectPayload rect;
  } cases[] = {
      // The cursor stays within 1280 x 720, all a program that is not DPI
      // aware sees of a 1920 x 1080 screen at 150 %.
      {"first rectangle shows it", {300, 200}, {100, 50, 740, 530}},
      {"a further one moves it", {1000, 700}, {-1920, -1080, -1000, -500}},
      {"long numbers do not grow it", {20, 30}, {kMin, kMin, kMax, kMax}},
      {"right left of left", {1200, 650}, {300, 10, 100, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutCursor(c.cursor.x, c.cursor.y);
    EXPECT_EQ(SendRect(*app_, c.rect), 0);
    EXPECT_TRUE(IsWindowVisible(readout_));
    EXPECT_TRUE(SameRect(WindowRect(readout_), ReadoutAt(readout_, c.cursor.x, c.cursor.y)))
        << RectText(WindowRect(readout_)).c_str() << ", " << CursorText();
  }
  EXPECT_EQ(app_->Send(MSG_TIP_HIDE), 0);
  EXPECT_FALSE(IsWindowVisible(readout_));
  // Hiding a hidden readout is harmless; the next rectangle shows it again.
  EXPECT_EQ(app_->Send(MSG_TIP_HIDE), 0);
  EXPECT_FALSE(IsWindowVisible(readout_));
  PutCursor(400, 400);
  EXPECT_EQ(SendRect(*app_, TipRectPayload{1, 2, 3, 4}), 0);
  EXPECT_TRUE(IsWindowVisible(readout_));
  EXPECT_TRUE(SameRect(WindowRect(readout_), ReadoutAt(readout_, 400, 400)))
      << RectText(WindowRect(readout_)).c_str() << ", " << CursorText();
}

// The payload comes from another process; what does not carry a whole
// rectangle, or is not a rectangle, neither shows nor moves the readout.
TEST_F(Readout, IgnoresShortMissingAndForeignPayloads) {
  const TipRectPayload rect{100, 50, 740, 530};
  const char longer[24] = {};
  struct Case {
    const char* name;
    ULONG_PTR kind;
    const void* data;
    DWORD size;
    bool accepted;
  } cases[] = {
      {"12 bytes", MSG_TIP_RECT, &rect, 12, false},
      {"15 bytes", MSG_TIP_RECT, &rect, 15, false},
      {"no bytes", MSG_TIP_RECT, nullptr, 0, false},
      {"other dwData", MSG_PLACE_WINDOW, &rect, sizeof(rect), false},
      {"zero dwData", 0, &rect, sizeof(rect), false},
      {"longer payload: its first 16 bytes", MSG_TIP_RECT, longer, sizeof(longer), true},
  };
  POINT cursor = {200, 200};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(app_->Send(MSG_TIP_HIDE), 0);
    const RECT before = WindowRect(readout_);
    cursor.x += 50;
    PutCursor(cursor.x, cursor.y);
    EXPECT_EQ(SendCopyData(*app_, c.kind, c.data, c.size), 0);
    EXPECT_EQ(IsWindowVisible(readout_) != FALSE, c.accepted);
    EXPECT_TRUE(SameRect(WindowRect(readout_), c.accepted ? ReadoutAt(readout_, cursor.x, cursor.y) : before))
        << RectText(WindowRect(readout_)).c_str() << ", " << CursorText();
  }
}

}  // namespace
}  // namespace e2e
