// Rules by program and placement on a chosen monitor, carried out by the
// real program on qm_target.exe windows; the program and monitor controls of
// both entry dialogs and the lists that show them. The tests that need a
// second monitor run on the X server of scripts/wine-two-monitors.sh and
// are skipped on a single one.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hook/HookContract.h"
#include "res/resource.h"
#include "tests/e2e/DialogDriver.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/PlacementFixtures.h"
#include "tests/e2e/target/TargetProtocol.h"

namespace e2e {
namespace {

#define EXPECT_RECT(actual, expected) \
  EXPECT_TRUE(SameRect(actual, expected)) << "got " << RectText(actual).c_str() << " want " << RectText(expected).c_str()

LRESULT Place(App& app, HWND window) { return app.Send(MSG_PLACE_WINDOW, reinterpret_cast<WPARAM>(window)); }

class ProgramMonitor : public testing::Test {
 protected:
  TempDir dir;
  App app{dir.path()};
};

// A list's position text for an anchor on a monitor other than the primary:
// " <anchor> / <monitor> " in the run's language.
std::wstring AnchorWithMonitor(int pos, int monitor) {
  std::wstring anchor = Texts().anchors[static_cast<size_t>(pos)];
  anchor.pop_back();  // the anchor text's closing blank
  return anchor + L" / " + Texts().monitors[static_cast<size_t>(monitor)] + L" ";
}

// The three passes with a program in them: a class rule of another program
// is passed over, a rule naming only the program takes any window of it
// (whatever its class and title), and a plain class rule still comes first.
TEST_F(ProgramMonitor, RulesByProgramName) {
  WindowRule byProgram{L"Label", L"", {0, 0, 0, 4, 0, 300, 200}};
  byProgram.process = L"QM_TARGET.exe";
  WindowRule otherProgram{L"zzz", L"QmOtherProgram", {0, 0, 0, 5, 0, 320, 220}};
  otherProgram.process = L"notepad.exe";
  WriteEntryIni(dir, {byProgram, otherProgram, {L"yyy", L"QmPlainClass", {0, 0, 0, 1, 0, 340, 240}}});
  ASSERT_TRUE(app.Start());
  const RECT work = WorkArea();
  struct Case {
    const char* name;
    const wchar_t* args;
    RECT expected;
  } cases[] = {
      {"any window of the program", L"--class QmAnything --title \"Anything\"", MakeRect(work.left, work.top, 300, 200)},
      {"a class rule of another program is passed over", L"--class QmOtherProgram --title \"x\"",
       MakeRect(work.left, work.top, 300, 200)},
      {"a class rule comes before the program rule", L"--class QmPlainClass --title \"x\"",
       MakeRect(work.left, work.bottom - 240, 340, 240)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Target target;
    ASSERT_TRUE(target.Start(std::wstring(c.args) + L" --rect 100,100,400,300"));
    EXPECT_EQ(Place(app, target.window()), 0);
    EXPECT_RECT(WindowRect(target.window()), c.expected);
  }
  EXPECT_EQ(app.Close(), 0);
}

// A Store app's frame belongs to ApplicationFrameHost.exe and holds a child
// window of the app's own process. Stand-in: a copy of qm_target.exe of
// that name whose window gets a qm_target.exe window as its child.
TEST_F(ProgramMonitor, StoreAppFrameCountsAsTheAppInside) {
  const std::wstring frameExe = dir.File(L"ApplicationFrameHost.exe");
  ASSERT_TRUE(CopyFileW((ExeDir() + L"\\qm_target.exe").c_str(), frameExe.c_str(), FALSE));
  WindowRule app{L"App", L"", {0, 0, 0, 4, 0, 310, 210}};
  app.process = L"qm_target.exe";
  WindowRule frameHost{L"Frame", L"", {0, 0, 0, 5, 0, 330, 230}};
  frameHost.process = L"ApplicationFrameHost.exe";
  WriteEntryIni(dir, {app, frameHost});
  ASSERT_TRUE(this->app.Start());
  const RECT work = WorkArea();

  Target frame, inside;
  ASSERT_TRUE(frame.Start(L"--class QmFrame --title \"Frame\" --rect 100,100,400,300", 1, frameExe));
  // With no app inside, the frame is its own program.
  EXPECT_EQ(Place(this->app, frame.window()), 0);
  EXPECT_RECT(WindowRect(frame.window()), MakeRect(work.right - 330, work.top, 330, 230));

  ASSERT_TRUE(inside.Start(L"--class QmCoreWindow --title \"Core\" --rect 0,0,100,100"));
  HWND child = inside.window();
  SetWindowLongW(child, GWL_STYLE, (GetWindowLongW(child, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
  ASSERT_NE(SetParent(child, frame.window()), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return GetAncestor(child, GA_PARENT) == frame.window(); }));
  EXPECT_EQ(Place(this->app, frame.window()), 0);
  EXPECT_RECT(WindowRect(frame.window()), MakeRect(work.left, work.top, 310, 210));
  EXPECT_EQ(this->app.Close(), 0);
}

struct Monitors {
  RECT primary = {};
  RECT other = {};      // the first monitor that is not the primary
  RECT otherWork = {};
  std::wstring otherDevice;  // its GDI device name
  int count = 0;
};

Monitors ReadMonitors() {
  Monitors m;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM context) -> BOOL {
        auto* found = reinterpret_cast<Monitors*>(context);
        MONITORINFOEXW info = {};
        info.cbSize = sizeof(info);
        GetMonitorInfoW(monitor, &info);
        if (info.dwFlags & MONITORINFOF_PRIMARY) {
          found->primary = info.rcMonitor;
        } else if (found->count == 0 || IsRectEmpty(&found->other)) {
          found->other = info.rcMonitor;
          found->otherWork = info.rcWork;
          found->otherDevice = info.szDevice;
        }
        ++found->count;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&m));
  return m;
}

// Rules whose anchors use the window's monitor, the pointer's monitor and
// the primary one, on a second monitor left of and above the primary.
TEST_F(ProgramMonitor, AnchorsOnTheWindowsThePointersAndThePrimaryMonitor) {
  const Monitors m = ReadMonitors();
  if (m.count < 2) GTEST_SKIP() << "one monitor; scripts/wine-two-monitors.sh shows two";
  ASSERT_LT(m.other.left, 0);
  ASSERT_LT(m.other.top, 0);
  WindowRule onWindow{L"a", L"QmOnWindow", {0, 0, 0, 4, 0, 300, 200}};
  onWindow.geometry.monitor = 1;
  WindowRule onPointer{L"b", L"QmOnPointer", {0, 0, 0, 2, 0, 300, 200}};
  onPointer.geometry.monitor = 2;
  WindowRule onPrimary{L"c", L"QmOnPrimary", {0, 0, 0, 3, 0, 300, 200}};
  WriteEntryIni(dir, {onWindow, onPointer, onPrimary});
  ASSERT_TRUE(app.Start());

  const std::wstring onOther = L" --rect " + std::to_wstring(m.other.left + 40) + L"," +
                               std::to_wstring(m.other.top + 40) + L",200,150";
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  // The pointer on the other monitor, the window on the primary.
  PutCursor((m.other.left + m.other.right) / 2, (m.other.top + m.other.bottom) / 2);
  struct Case {
    const char* name;
    std::wstring args;
    RECT expected;
  } cases[] = {
      {"top left of the window's monitor", L"--class QmOnWindow" + onOther,
       MakeRect(m.otherWork.left, m.otherWork.top, 300, 200)},
      {"bottom right of the pointer's monitor", L"--class QmOnPointer --rect 100,100,200,150",
       MakeRect(m.otherWork.right - 300, m.otherWork.bottom - 200, 300, 200)},
      {"centre of the primary screen", L"--class QmOnPrimary" + onOther,
       MakeRect((cx - 300) / 2, (cy - 200) / 2, 300, 200)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Target target;
    ASSERT_TRUE(target.Start(c.args));
    EXPECT_EQ(Place(app, target.window()), 0);
    EXPECT_RECT(WindowRect(target.window()), c.expected);
  }
  EXPECT_EQ(app.Close(), 0);
}

// The primary screen's centre as it is when placing, after a resolution change.
TEST_F(ProgramMonitor, AnchorsOnThePrimaryFollowAResolutionChange) {
  WriteEntryIni(dir, {{L"c", L"QmCentred", {0, 0, 0, 3, 0, 300, 200}}});
  Target target;
  ASSERT_TRUE(app.Start() && target.Start(L"--class QmCentred --rect 10,10,200,150"));
  DEVMODEW mode = {};
  mode.dmSize = sizeof(mode);
  const DWORD cx = static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN));  // another mode, 800 wide or more
  for (DWORD i = 0; EnumDisplaySettingsW(nullptr, i, &mode) && (mode.dmPelsWidth == cx || mode.dmPelsWidth < 800); ++i) {}
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  if (mode.dmPelsWidth == cx || ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr) != 0) GTEST_SKIP();
  EXPECT_EQ(Place(app, target.window()), 0);
  EXPECT_RECT(WindowRect(target.window()), MakeRect((GetSystemMetrics(SM_CXSCREEN) - 300) / 2,
                                                    (GetSystemMetrics(SM_CYSCREEN) - 200) / 2, 300, 200));
  ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
  EXPECT_EQ(app.Close(), 0);
}

LRESULT Placements(HWND window) {
  DWORD_PTR count = 0;
  SendMessageTimeoutW(window, TARGET_PLACEMENTS, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &count);
  return static_cast<LRESULT>(count);
}

// A desktop change, delivered by the test since Wine sends none: the window
// ruled onto the second monitor, which Windows would have pushed off it,
// returns once the desktop settles; the one the user dragged meanwhile stays;
// a burst of three changes places once (the next placement counted is that
// of a later single change).
TEST_F(ProgramMonitor, WindowsReturnAfterABurstOfDesktopChangesAndTheUsersStay) {
  if (ReadMonitors().count < 2) GTEST_SKIP() << "one monitor; scripts/wine-two-monitors.sh shows two";
  WriteEntryIni(dir, {{L"a", L"QmReturns", {0, -760, -160, 0, 0, 300, 200}},
                      {L"b", L"QmDragged", {0, -700, 100, 0, 0, 300, 200}}});
  ASSERT_TRUE(app.Start());
  Target a, b;
  ASSERT_TRUE(a.Start(L"--class QmReturns --rect 100,100,200,150"));
  ASSERT_TRUE(b.Start(L"--class QmDragged --rect 150,150,200,150"));
  Place(app, a.window());
  Place(app, b.window());
  SetWindowPos(a.window(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  DWORD_PTR result = 0;  // the user's drag: the move-size events around a move
  SendMessageTimeoutW(b.window(), TARGET_MOVE_WINDOW, EVENT_SYSTEM_MOVESIZESTART, MAKELPARAM(60, 300),
                      SMTO_ABORTIFHUNG, kWaitMs, &result);
  b.Notify(EVENT_SYSTEM_MOVESIZEEND);
  const RECT dragged = WindowRect(b.window());
  const LRESULT before = Placements(a.window());
  for (int i = 0; i < 3; ++i) app.Post(WM_DISPLAYCHANGE, 32);
  ASSERT_TRUE(WaitUntil([&] { return SameRect(WindowRect(a.window()), MakeRect(-760, -160, 300, 200)); }));
  app.Post(WM_DISPLAYCHANGE, 32);
  ASSERT_TRUE(WaitUntil([&] { return Placements(a.window()) > before + 1; }));
  EXPECT_EQ(Placements(a.window()), before + 2);
  EXPECT_RECT(WindowRect(b.window()), dragged);
  EXPECT_EQ(app.Close(), 0);
}

// The name Display settings shows for the monitor of GDI device device.
std::wstring FriendlyName(const std::wstring& device) {
  DISPLAYCONFIG_PATH_INFO paths[16];
  DISPLAYCONFIG_MODE_INFO modes[48];
  UINT32 pathCount = 16, modeCount = 48;
  QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths, &modeCount, modes, nullptr);
  for (UINT32 i = 0; i < pathCount; ++i) {
    DISPLAYCONFIG_SOURCE_DEVICE_NAME s = {{DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME, sizeof(s), paths[i].sourceInfo.adapterId, paths[i].sourceInfo.id}, {}};
    DISPLAYCONFIG_TARGET_DEVICE_NAME t = {{DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME, sizeof(t), paths[i].targetInfo.adapterId, paths[i].targetInfo.id}, {}, {}, 0, 0, {}, {}};
    if (!DisplayConfigGetDeviceInfo(&s.header) && device == s.viewGdiDeviceName && !DisplayConfigGetDeviceInfo(&t.header)) return t.monitorFriendlyDeviceName;
  }
  return L"";
}

// Runs xrandr with these arguments on the lab's X server
// (scripts/wine-two-monitors.sh) and waits until it has.
bool LabXrandr(const std::string& args) {
  wchar_t request[MAX_PATH];
  if (GetEnvironmentVariableW(L"QM_LAB_XRANDR", request, MAX_PATH) == 0) return false;
  const std::wstring written = std::wstring(request) + L".new";  // whole, as the lab reads it
  if (!WriteBytes(written, args) || !MoveFileExW(written.c_str(), request, MOVEFILE_REPLACE_EXISTING)) return false;
  return WaitUntil([&] { return GetFileAttributesW(request) == INVALID_FILE_ATTRIBUTES; });
}

RECT LeftHalf(const RECT& w) { return {w.left, w.top, w.left + (w.right - w.left + 1) / 2, w.bottom}; }

// The second monitor switched off and on again for real: a rule naming it
// gives way to the next rule for the same window while it is off and takes
// the window back when it returns at another resolution, where a rule in
// shares naming it fits the new size. Wine sends no WM_DISPLAYCHANGE for
// these changes, so the test delivers it once Wine's monitors have changed.
TEST_F(ProgramMonitor, NamedMonitorSwitchedOffAndOnAtAnotherResolution) {
  const Monitors m = ReadMonitors();
  if (m.count < 2 || GetEnvironmentVariableW(L"QM_LAB_XRANDR", nullptr, 0) == 0) GTEST_SKIP() << "no lab monitor";
  WindowRule desk{L"a", L"QmNamed", {0, 0, 0, 4, 0, 300, 200}};
  desk.texts = {{L"MonitorName", FriendlyName(m.otherDevice)}};
  WindowRule half{L"c", L"QmShare", {0, 0, 0, 0, 0, 5000, 10000}, 1, 0, 0, 0, L"", {{L"Unit", 1}}, desk.texts};
  WriteEntryIni(dir, {desk, {L"b", L"QmNamed", {0, 0, 0, 4, 0, 320, 220}}, half});
  ASSERT_TRUE(app.Start());
  Target named, share;
  ASSERT_TRUE(named.Start(L"--class QmNamed --rect 100,100,200,150") && share.Start(L"--class QmShare --rect 9,9,99,99"));
  Place(app, named.window());
  Place(app, share.window());
  EXPECT_RECT(WindowRect(named.window()), MakeRect(m.otherWork.left, m.otherWork.top, 300, 200));
  EXPECT_RECT(WindowRect(share.window()), LeftHalf(m.otherWork));

  ASSERT_TRUE(LabXrandr("--output DUMMY1 --off"));
  ASSERT_TRUE(WaitUntil([] { return ReadMonitors().count == 1; }));
  app.Post(WM_DISPLAYCHANGE, 32);
  const RECT work = WorkArea();
  EXPECT_TRUE(WaitUntil([&] { return SameRect(WindowRect(named.window()), MakeRect(work.left, work.top, 320, 220)); }));

  ASSERT_TRUE(LabXrandr("--output DUMMY1 --mode 640x480 --pos 0x0"));
  ASSERT_TRUE(WaitUntil([] { return ReadMonitors().count == 2; }));
  const Monitors back = ReadMonitors();
  ASSERT_EQ(back.other.right - back.other.left, 640);
  app.Post(WM_DISPLAYCHANGE, 32);
  EXPECT_TRUE(WaitUntil([&] {
    return SameRect(WindowRect(named.window()), MakeRect(back.otherWork.left, back.otherWork.top, 300, 200)) &&
           SameRect(WindowRect(share.window()), LeftHalf(back.otherWork));
  }));
  LabXrandr("--output DUMMY1 --mode 800x600 --pos 0x0");
  EXPECT_EQ(app.Close(), 0);
}

int FindClassRow(const std::vector<std::vector<std::wstring>>& rows, const std::wstring& windowClass) {
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i][0] == windowClass) return static_cast<int>(i);
  }
  return -1;
}

void ChooseMonitor(HWND dialog, int item) {
  HWND combo = GetDlgItem(dialog, IDC_MONITOR);
  SendTo(combo, CB_SETCURSEL, static_cast<WPARAM>(item));
  SendTo(dialog, WM_COMMAND, MAKEWPARAM(IDC_MONITOR, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

// The window entry dialog lists each window's program, "取得" takes it, and
// the program and the monitor reach the file and both lists; the menu entry
// dialog's monitor reaches its file section and list.
TEST_F(ProgramMonitor, DialogsTakeAndStoreProgramAndMonitor) {
  WriteStore(dir, 1, {}, {});
  WriteUtf16File(dir.File(L"Entry.ini"), EntryIniText({}, {{0, 0, 0, 3, 0, 300, 200}}) + L"MonitorName1=Elsewhere\r\n");
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmProgramRow --title \"Program row\" --rect 50,60,320,240"));
  ASSERT_TRUE(app.Start());

  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SendTo(GetDlgItem(dialog, IDC_MONITOR), CB_GETCURSEL), 0) << "the primary monitor by default";
  HWND list = GetDlgItem(dialog, IDC_WINDOWLIST);
  const auto rows = ListViewRows(list, 3);
  const int row = FindClassRow(rows, L"QmProgramRow");
  ASSERT_GE(row, 0);
  EXPECT_EQ(rows[row][2], L"qm_target.exe");
  ListViewSelectRows(list, {row});
  Click(dialog, IDC_GET);
  EXPECT_EQ(DlgItemText(dialog, IDC_PROCESS), L"qm_target.exe");
  Choose(dialog, 5);
  ChooseMonitor(dialog, 2);
  PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitClosed(dialog));
  EXPECT_EQ(IniString(app.EntryPath(), L"Window", L"Process1"), L"qm_target.exe");
  EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Monitor1"), 2);
  const auto shown = ListViewRows(app.Child(IDC_WINDOWVIEW), 5);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0][2], AnchorWithMonitor(5, 2));
  EXPECT_EQ(shown[0][4], L"qm_target.exe");

  // Changing the entry shows both again.
  ListViewSelectRows(app.Child(IDC_WINDOWVIEW), {0});
  dialog = OpenDialog(app, IDM_CHANGE);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(DlgItemText(dialog, IDC_PROCESS), L"qm_target.exe");
  EXPECT_EQ(SendTo(GetDlgItem(dialog, IDC_MONITOR), CB_GETCURSEL), 2);
  PostClick(dialog, IDCANCEL);
  ASSERT_TRUE(WaitClosed(dialog));

  app.PostCommand(IDM_MENULIST);
  dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, 3);
  ChooseMonitor(dialog, 1);
  PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitClosed(dialog));
  EXPECT_EQ(IniInt(app.EntryPath(), L"Menu", L"Monitor1"), 1);
  EXPECT_EQ(ListViewText(app.Child(IDC_MENUVIEW), 0, 0), AnchorWithMonitor(3, 1));

  // A preset's monitor that is not connected is shown as such and kept; a
  // connected one picked by name stores its name and device path.
  ListViewSelectRows(app.Child(IDC_MENUVIEW), {1});
  dialog = OpenDialog(app, IDM_CHANGE);
  ASSERT_NE(dialog, nullptr);
  HWND monitors = GetDlgItem(dialog, IDC_MONITOR);
  EXPECT_EQ(SendTo(monitors, CB_GETCURSEL), SendTo(monitors, CB_GETCOUNT) - 1);
  PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitClosed(dialog));
  EXPECT_EQ(IniString(app.EntryPath(), L"Menu", L"MonitorName2"), L"Elsewhere");
  dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, 4);
  ChooseMonitor(dialog, 3);
  PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitClosed(dialog));
  const std::wstring name = IniString(app.EntryPath(), L"Menu", L"MonitorName3");
  EXPECT_FALSE(name.empty());
  EXPECT_FALSE(IniString(app.EntryPath(), L"Menu", L"MonitorPath3").empty());
  std::wstring anchor = Texts().anchors[4];
  EXPECT_EQ(ListViewText(app.Child(IDC_MENUVIEW), 2, 0), anchor.substr(0, anchor.size() - 1) + L" / " + name + L" ");

  // "Get" in shares of the work area, then OK: the rule puts the window
  // back where it was.
  app.PostCommand(IDM_WINDOWLIST);
  ListViewSelectRows(app.Child(IDC_WINDOWVIEW), {0});
  dialog = OpenDialog(app, IDM_CHANGE);
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, 0);
  ChooseMonitor(dialog, 0);
  Click(dialog, IDC_UNIT);
  list = GetDlgItem(dialog, IDC_WINDOWLIST);
  ListViewSelectRows(list, {FindClassRow(ListViewRows(list, 3), L"QmProgramRow")});
  Click(dialog, IDC_GET);
  PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitClosed(dialog));
  const RECT where = WindowRect(target.window());
  SetWindowPos(target.window(), nullptr, 0, 0, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(Place(app, target.window()), 0);
  EXPECT_RECT(WindowRect(target.window()), where);
  EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e
