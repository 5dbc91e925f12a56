// Start-up, single instance and shutdown of the real program.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "hook/HookContract.h"
#include "res/resource.h"
#include "tests/e2e/E2eSupport.h"

namespace e2e {
namespace {

// Whether the shell holds a tray icon with this identity: modifying an
// icon that does not exist fails.
bool TrayIconExists(HWND owner, UINT id) {
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof(icon);
  icon.hWnd = owner;
  icon.uID = id;
  return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}

// The run's expected texts follow LANG; Wine must have taken a user
// interface language of the same kind (Japanese or not) from it, or the text
// checks would compare the wrong set.
TEST(Startup, RunsInTheUserInterfaceLanguageItAsksFor) {
  EXPECT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE,
            PRIMARYLANGID(Texts().language) == LANG_JAPANESE)
      << "LANG " << qm::test::RunLanguageName();
}

TEST(Startup, FirstStartWithNoFilesPreparesAHiddenCentredWindow) {
  TempDir dir;
  App app(dir.path());
  ASSERT_TRUE(app.Start());

  EXPECT_FALSE(IsWindowVisible(app.main()));
  RECT rect = WindowRect(app.main());
  int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(rect.left, (cx - 320) / 2);
  EXPECT_EQ(rect.top, (cy - 240) / 2);
  EXPECT_EQ(rect.right - rect.left, 320);
  EXPECT_EQ(rect.bottom - rect.top, 240);
  EXPECT_TRUE(TrayIconExists(app.main(), ID_TRAYICON));
  EXPECT_FALSE(IsWindowVisible(app.dummy()));
  EXPECT_EQ(WindowText(app.dummy()), L"Dummy");

  EXPECT_EQ(app.Close(), 0);
  EXPECT_FALSE(TrayIconExists(app.main(), ID_TRAYICON));
  // The window list is the one selected on a first start.
  EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"List"), 1);
}

// Whether a module of this name is loaded in the process.
bool ModuleLoaded(DWORD processId, const wchar_t* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  MODULEENTRY32W module = {};
  module.dwSize = sizeof(module);
  bool found = false;
  for (BOOL more = Module32FirstW(snapshot, &module); more && !found; more = Module32NextW(snapshot, &module)) {
    found = lstrcmpiW(module.szModule, name) == 0;
  }
  CloseHandle(snapshot);
  return found;
}

// A program that stays in the tray never loads the common controls and has
// no menu bar to measure: the menu bar, toolbar and views, and the common
// controls with them, come at the first show. (Whether the system loads the
// window manager's library for its own ends is not the program's to say;
// the import table test checks that the program does not.)
TEST(Startup, CommonControlsLoadOnlyWhenTheWindowIsFirstShown) {
  TempDir dir;
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(ModuleLoaded(app.process().id(), L"Quillmere.dll"));  // the snapshot works
  EXPECT_FALSE(ModuleLoaded(app.process().id(), L"comctl32.dll"));
  EXPECT_EQ(GetDlgItem(app.main(), IDC_TOOLBAR), nullptr);
  EXPECT_EQ(GetMenu(app.main()), nullptr);

  app.Post(MSG_TRAY, 0, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(app.main()) != FALSE; }));
  EXPECT_NE(GetDlgItem(app.main(), IDC_TOOLBAR), nullptr);
  EXPECT_NE(GetMenu(app.main()), nullptr);
  EXPECT_TRUE(ModuleLoaded(app.process().id(), L"comctl32.dll"));
  EXPECT_EQ(app.Close(), 0);
}

TEST(Startup, SecondCopyExitsAtOnceAndChangesNothing) {
  TempDir dir;
  App first(dir.path());
  ASSERT_TRUE(first.Start());

  TempDir other;
  Process second;
  ASSERT_TRUE(second.Start(ExeDir() + L"\\Quillmere.exe", L"", other.path()));
  EXPECT_EQ(second.WaitExit(), 0);
  EXPECT_FALSE(FileExists(other.File(L"Config.ini")));
  EXPECT_FALSE(FileExists(other.File(L"Entry.ini")));
  EXPECT_TRUE(first.process().Running());
  EXPECT_EQ(first.Send(WM_NULL), 0);

  EXPECT_EQ(first.Close(), 0);
}

TEST(Startup, TwoCopiesStartedTogetherLeaveExactlyOneRunning) {
  TempDir dirA, dirB;
  Process a, b;
  ASSERT_TRUE(a.Start(ExeDir() + L"\\Quillmere.exe", L"", dirA.path()));
  ASSERT_TRUE(b.Start(ExeDir() + L"\\Quillmere.exe", L"", dirB.path()));
  // Exactly one of them gets a main window; the other ends with code 0.
  ASSERT_TRUE(WaitUntil([&] { return !a.Running() || !b.Running(); }));
  Process& loser = a.Running() ? b : a;
  Process& winner = a.Running() ? a : b;
  EXPECT_EQ(loser.WaitExit(), 0);
  std::vector<HWND> mains;
  ASSERT_TRUE(WaitUntil([&] {
    mains = FindProcessWindows(winner.id(), L"Quillmere", L"Quillmere");
    return !mains.empty();
  }));
  PostMessageW(mains[0], WM_CLOSE, 0, 0);
  EXPECT_EQ(winner.WaitExit(), 0);
}

TEST(Startup, ExitCommandAndEndSessionSaveAndEnd) {
  struct Case { const char* name; UINT message; WPARAM wParam; };
  const Case cases[] = {
      {"exit command", WM_COMMAND, IDM_EXIT},
      {"end of session", WM_ENDSESSION, TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    App app(dir.path());
    ASSERT_TRUE(app.Start());
    app.Post(c.message, c.wParam, 0);
    if (c.message == WM_ENDSESSION) {
      // Windows ends the process itself after WM_ENDSESSION; the program only
      // has to have saved and cleaned up by then.
      ASSERT_TRUE(WaitUntil([&] { return FileExists(app.EntryPath()); }));
    }
    EXPECT_EQ(app.process().WaitExit(), 0);
    EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"Width"), 320);
    EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Item"), 0);
    EXPECT_EQ(IniInt(app.EntryPath(), L"Menu", L"Item"), 0);
  }
}

// A saved rectangle on no monitor (an old parking spot, a monitor since
// undocked) gives the default place.
TEST(Startup, ASavedRectangleOnNoMonitorGivesTheDefaultPlace) {
  TempDir dir;
  WriteUtf16File(dir.File(L"Config.ini"), L"[Config]\r\nLeft=-32000\r\nTop=-32000\r\nWidth=160\r\nHeight=28\r\n");
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  EXPECT_EQ(WindowRect(app.main()).left, (GetSystemMetrics(SM_CXSCREEN) - 320) / 2);
  EXPECT_EQ(WindowRect(app.main()).top, (GetSystemMetrics(SM_CYSCREEN) - 240) / 2);
  EXPECT_EQ(app.Close(), 0);
}

TEST(Startup, TaskbarRestartBringsTheTrayIconBack) {
  TempDir dir;
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof(icon);
  icon.hWnd = app.main();
  icon.uID = ID_TRAYICON;
  // What a crashed shell leaves: the icon gone, then the broadcast.
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
  ASSERT_FALSE(TrayIconExists(app.main(), ID_TRAYICON));
  app.Send(RegisterWindowMessageW(L"TaskbarCreated"));
  EXPECT_TRUE(TrayIconExists(app.main(), ID_TRAYICON));
  EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e
