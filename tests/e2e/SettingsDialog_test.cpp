// The settings dialog of the real program: the two hook options, written to
// Config.ini as soon as OK is pressed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/DialogDriver.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/target/TargetProtocol.h"

namespace e2e {
namespace {

TEST(SettingsDialog, ShowsTheOptionsAndOkWritesThemAtOnce) {
  struct Case {
    int tooltip, keepIn;   // in Config.ini at start
    bool clickTooltip, clickKeepIn;
  };
  const Case cases[] = {
      {1, 0, true, true},
      {0, 1, false, true},
      {1, 1, false, false},
      {0, 0, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.tooltip << c.keepIn << c.clickTooltip << c.clickKeepIn);
    TempDir dir;
    WriteStore(dir, 0, {{L"Rule", L"QmRule"}}, {});
    WriteUtf16File(dir.File(L"Config.ini"), L"[Config]\r\nLeft=11\r\nTop=22\r\nWidth=333\r\nHeight=244\r\nList=0\r\n"
                                            L"Tooltip=" + std::to_wstring(c.tooltip) + L"\r\nKeepIn=" +
                                                std::to_wstring(c.keepIn) + L"\r\n");
    App app(dir.path());
    ASSERT_TRUE(app.Start());
    HWND dialog = OpenDialog(app, IDM_SETTINGS);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), Texts().settings);
    EXPECT_EQ(FocusedWindow(dialog), GetDlgItem(dialog, IDC_TOOLTIP));
    EXPECT_EQ(Checked(dialog, IDC_TOOLTIP), c.tooltip != 0);
    EXPECT_EQ(Checked(dialog, IDC_KEEPIN), c.keepIn != 0);
    if (c.clickTooltip) Click(dialog, IDC_TOOLTIP);
    if (c.clickKeepIn) Click(dialog, IDC_KEEPIN);
    PostClick(dialog, IDOK);
    ASSERT_TRUE(WaitClosed(dialog));

    // Written while the program runs on, both files, nothing else changed.
    EXPECT_TRUE(app.process().Running());
    EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"Tooltip"), c.clickTooltip ? !c.tooltip : c.tooltip);
    EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"KeepIn"), c.clickKeepIn ? !c.keepIn : c.keepIn);
    EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"Width"), 333);
    EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"List"), 0);
    EXPECT_EQ(IniString(app.EntryPath(), L"Window", L"Title1"), L"Rule");
    EXPECT_EQ(app.Close(), 0);
  }
}

TEST(SettingsDialog, CancelEscapeAndTheCloseBoxStoreNothing) {
  TempDir dir;
  WriteStore(dir, 1, {}, {}, 1, 0);
  const std::string configBefore = ReadBytes(dir.File(L"Config.ini"));
  const std::string entryBefore = ReadBytes(dir.File(L"Entry.ini"));
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  for (WayOut way : kWaysOut) {
    SCOPED_TRACE(static_cast<int>(way));
    HWND dialog = OpenDialog(app, IDM_SETTINGS);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_TOOLTIP);
    Click(dialog, IDC_KEEPIN);
    ASSERT_TRUE(LeaveWithoutOk(dialog, way, IDC_TOOLTIP));
    EXPECT_EQ(ReadBytes(dir.File(L"Config.ini")), configBefore);
    EXPECT_EQ(ReadBytes(dir.File(L"Entry.ini")), entryBefore);
    // Reopened, the boxes show the stored values again.
    dialog = OpenDialog(app, IDM_SETTINGS);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Checked(dialog, IDC_TOOLTIP));
    EXPECT_FALSE(Checked(dialog, IDC_KEEPIN));
    PostClick(dialog, IDCANCEL);
    ASSERT_TRUE(WaitClosed(dialog));
  }
  // The exit save writes what the program held: the values from the start.
  EXPECT_EQ(app.Close(), 0);
  EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"Tooltip"), 1);
  EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"KeepIn"), 0);
}

// The hook library gets the options once, at start-up: clearing the tooltip
// option is saved at once, but windows being dragged still get the readout
// until the program starts again.
TEST(SettingsDialog, TheRunningHookKeepsItsStartValues) {
  TempDir dir;
  WriteStore(dir, 1, {}, {}, 1, 0);
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  ASSERT_NE(app.readout(), nullptr);
  HWND dialog = OpenDialog(app, IDM_SETTINGS);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_TOOLTIP);
  PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitClosed(dialog));
  ASSERT_EQ(IniInt(app.ConfigPath(), L"Config", L"Tooltip"), 0);

  // A drag played by a program started after Quillmere (its thread must
  // see the hook that exists by then): the start of a move, then the move.
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmSettingsDrag --rect 100,100,400,300"));
  SetCursorPos(500, 400);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(target.window(), TARGET_MOVE_WINDOW, EVENT_SYSTEM_MOVESIZESTART, MAKELPARAM(150, 120),
                      SMTO_ABORTIFHUNG, kWaitMs, &result);
  // A move raised before the library heard of the start goes unheard; a
  // drag goes on moving.
  EXPECT_TRUE(WaitUntil([&] {
    SendMessageTimeoutW(target.window(), TARGET_MOVE_WINDOW, 0, MAKELPARAM(150, 120), SMTO_ABORTIFHUNG, kWaitMs,
                        &result);
    return IsWindowVisible(app.readout()) != FALSE;
  }));
  target.Notify(EVENT_SYSTEM_MOVESIZEEND);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(app.readout()); }));
  EXPECT_EQ(app.Close(), 0);
  EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"Tooltip"), 0);
}

}  // namespace
}  // namespace e2e
