// The readout window in this process: its class (not readable from another
// process under Wine), the payload checks that need a pointer the system
// would not marshal, and repeated painting.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/Dpi_win.h"
#include "base/Win32Glue.h"
#include "hook/HookContract.h"
#include "hook/Readout_win.h"

namespace qm {
namespace {

class ReadoutWindow : public testing::Test {
 protected:
  void SetUp() override {
    if (g_readoutWindow == nullptr) CreateReadoutWindow();
    ASSERT_NE(g_readoutWindow, nullptr);
    HideReadout();
  }
  void TearDown() override { HideReadout(); }
};

// 160 x 46 on an unscaled display, in proportion on a scaled one.
SIZE ReadoutSize() {
  const int dpi = static_cast<int>(WindowDpi(g_readoutWindow));
  return SIZE{MulDiv(160, dpi, 96), MulDiv(46, dpi, 96)};
}

bool HasReadoutSize(const RECT& r) {
  const SIZE size = ReadoutSize();
  return r.right - r.left == size.cx && r.bottom - r.top == size.cy;
}

TEST_F(ReadoutWindow, ClassAsRegistered) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  ASSERT_TRUE(GetClassInfoExW(g_instance, L"Quillmere_Tooltip", &wc));
  EXPECT_EQ(wc.style, 0u);
  EXPECT_EQ(wc.hIcon, nullptr);
  EXPECT_EQ(wc.hIconSm, nullptr);
  EXPECT_EQ(wc.hCursor, LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1));
  ASSERT_NE(wc.lpszMenuName, nullptr);
  EXPECT_EQ(wc.lpszMenuName[0], L'\0');
}

TEST_F(ReadoutWindow, NoPayloadOrNoRecordIsIgnored) {
  SetWindowPos(g_readoutWindow, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const TipRectPayload rect{1, 2, 3, 4};
  struct Case {
    const char* name;
    bool record;
    const void* data;
    DWORD size;
  } cases[] = {
      {"no record at all", false, nullptr, 0},
      {"16 bytes claimed, no pointer", true, nullptr, sizeof(rect)},
      {"a pointer, 8 bytes", true, &rect, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    COPYDATASTRUCT copy = {};
    copy.dwData = MSG_TIP_RECT;
    copy.cbData = c.size;
    copy.lpData = const_cast<void*>(c.data);
    OnCopyData(nullptr, c.record ? &copy : nullptr);
    EXPECT_FALSE(IsWindowVisible(g_readoutWindow));
    RECT r;
    GetWindowRect(g_readoutWindow, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
  }
}

// Each repaint creates a font; it must be deleted again, or a readout that
// follows a window being dragged leaks a GDI object per mouse move.
TEST_F(ReadoutWindow, RepaintingKeepsNoFontBehind) {
  COPYDATASTRUCT copy = {};
  TipRectPayload rect{100, 50, 740, 530};
  copy.dwData = MSG_TIP_RECT;
  copy.cbData = sizeof(rect);
  copy.lpData = &rect;
  OnCopyData(nullptr, &copy);
  ASSERT_TRUE(IsWindowVisible(g_readoutWindow));
  UpdateWindow(g_readoutWindow);
  RECT r;
  GetWindowRect(g_readoutWindow, &r);
  EXPECT_TRUE(HasReadoutSize(r));

  // Windows counts the process's GDI objects; Wine reports 0 (a stub), so
  // there the loop only shows that repeated repaints keep working.
  const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 200; ++i) {
    rect.right = 740 + i;
    OnCopyData(nullptr, &copy);
    UpdateWindow(g_readoutWindow);
  }
  const DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (before != 0) {
    EXPECT_LE(after, before + 5);
  }
  GetWindowRect(g_readoutWindow, &r);
  EXPECT_TRUE(HasReadoutSize(r));
}

}  // namespace
}  // namespace qm
