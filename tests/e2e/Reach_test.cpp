// The program stays reachable and keeps its rules whatever other programs
// do: a program that hangs, commands posted from outside while a dialog is
// open, a file held open by another program, an unusual start.
#include <windows.h>

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

bool Answers(HWND window, UINT timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

// The view's own visible bit: the main window may be hidden.
bool ViewShown(App& app, int id) { return (GetWindowLongW(app.Child(id), GWL_STYLE) & WS_VISIBLE) != 0; }

// Posted messages are handled in order: once a list switch posted after them
// shows, every command posted before it has been handled.
void WaitForPostedCommands(App& app) {
  app.PostCommand(IDM_MENULIST);
  ASSERT_TRUE(WaitUntil([&] { return ViewShown(app, IDC_MENUVIEW); }));
  app.PostCommand(IDM_WINDOWLIST);
  ASSERT_TRUE(WaitUntil([&] { return ViewShown(app, IDC_WINDOWVIEW); }));
}

// A program whose window stops answering must not freeze Quillmere: placing
// it (reported by the hook library, or by the initialise command of a tray
// right click) skips it, and Quillmere answers at once. The target hangs
// until the test releases it, so without the bound the check below could
// only time out.
TEST(Reach, AHungTargetNeverHoldsTheProgram) {
  TempDir dir;
  // The rule would move, resize and strip the frame: any step shows.
  WriteEntryIni(dir, {{L"Hung", L"QmHungTarget", {0, 50, 60, 0, 0, 500, 400}, 0, 0, 0, 0}});
  // Started first, so the hook library never hears of the target's window
  // and every placement below is the test's own.
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmHungTarget --rect 200,150,400,300"));
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, TARGET_RELEASE_EVENT);
  ASSERT_NE(release, nullptr);
  PostMessageW(target.window(), TARGET_HANG, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !Answers(target.window(), 100); }));

  const ULONGLONG start = GetTickCount64();
  app.Post(MSG_PLACE_WINDOW, reinterpret_cast<WPARAM>(target.window()));
  app.Post(MSG_TRAY, 0, WM_RBUTTONUP);
  EXPECT_TRUE(Answers(app.main(), 10000));
  RecordProperty("held_ms", static_cast<int>(GetTickCount64() - start));

  SetEvent(release);
  ASSERT_TRUE(Answers(target.window(), kWaitMs));
  // Skipped, not half placed: neither moved nor restyled.
  EXPECT_TRUE(SameRect(WindowRect(target.window()), MakeRect(200, 150, 400, 300)));
  EXPECT_EQ(WindowStyle(target.window()) & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME),
            static_cast<DWORD>(WS_CAPTION | WS_THICKFRAME));
  EXPECT_EQ(app.Close(), 0);
  CloseHandle(release);
}

// Another program posts commands while the add dialog is open: a "change"
// for an existing row, deletions, more dialogs and boxes, two thousand of
// them. None opens anything over the dialog or touches a rule; the dialog's
// own OK then adds its entry beside the three that were there.
TEST(Reach, CommandsPostedWhileADialogIsOpenAreIgnored) {
  TempDir dir;
  const std::vector<EntryFields> rules = {
      {L"Alpha", L"A", 0, 1, 1, 0, 0, 100, 100, 1},
      {L"Beta", L"B", 0, 2, 2, 0, 0, 200, 200, 1},
      {L"Gamma", L"C", 0, 3, 3, 0, 0, 300, 300, 1},
  };
  WriteStore(dir, 1, rules, {});
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  ListViewSelectRows(app.Child(IDC_WINDOWVIEW), {1});

  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  app.PostCommand(IDM_CHANGE);
  const int flood[] = {IDM_CHANGE, IDM_ADD, IDM_DELETE, IDM_ABOUT, IDM_SETTINGS};
  for (int i = 0; i < 2000; ++i) app.PostCommand(flood[i % 5]);
  WaitForPostedCommands(app);
  EXPECT_EQ(FindOwnedDialogs(app.main()), std::vector<HWND>{dialog});

  SetText(dialog, IDC_TITLE, L"Delta");
  SetText(dialog, IDC_CLASS, L"D");
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitClosed(dialog));
  EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Item"), 4);
  std::vector<std::wstring> titles;
  for (int n = 1; n <= 4; ++n) titles.push_back(IniWindowEntry(app.EntryPath(), n).title);
  EXPECT_EQ(titles, (std::vector<std::wstring>{L"Alpha", L"Beta", L"Delta", L"Gamma"}));

  // With no dialog open the same commands work again, and exit works under
  // an open box.
  app.PostCommand(IDM_ABOUT);
  HWND about = WaitForOwnedDialog(app.main());
  ASSERT_NE(about, nullptr);
  for (int i = 0; i < 100; ++i) app.PostCommand(IDM_ABOUT);
  WaitForPostedCommands(app);
  EXPECT_EQ(FindOwnedDialogs(app.main()).size(), 1u);
  EXPECT_EQ(app.Close(), 0);
}

// A "List" value other than 0 or 1 is kept as read until the user switches.
TEST(Reach, AnUnusualListValueIsKeptUntilTheUserSwitches) {
  TempDir dir;
  WriteStore(dir, 2, {}, {});
  App first(dir.path());
  ASSERT_TRUE(first.Start());
  EXPECT_TRUE(ViewShown(first, IDC_WINDOWVIEW));
  EXPECT_EQ(first.Close(), 0);
  EXPECT_EQ(IniInt(dir.File(L"Config.ini"), L"Config", L"List"), 2);

  App second(dir.path());
  ASSERT_TRUE(second.Start());
  WaitForPostedCommands(second);  // menu list, then window list
  EXPECT_EQ(second.Close(), 0);
  EXPECT_EQ(IniInt(dir.File(L"Config.ini"), L"Config", L"List"), 1);
}

// Win+M minimises without SC_MINIMIZE. The next left click on the tray icon
// must bring the window back, not "hide" what is already off screen.
TEST(Reach, TrayClickRestoresAWindowMinimisedBehindItsBack) {
  TempDir dir;
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  app.Post(MSG_TRAY, 0, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(app.main()) != FALSE; }));
  ShowWindow(app.main(), SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(app.main()) != FALSE; }));

  app.Post(MSG_TRAY, 0, WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(app.main()) && !IsIconic(app.main()); }));
  app.Post(MSG_TRAY, 0, WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(app.main()) == FALSE; }));
  EXPECT_EQ(app.Close(), 0);
}

// A file held open for a moment (a scanner, a sync client) delays the save
// instead of failing it: the lock goes as soon as the new file waits beside
// the old one.
TEST(Reach, ASaveWaitsForAFileHeldOpenForAMoment) {
  TempDir dir;
  WriteStore(dir, 1, {{L"Kept", L"K"}}, {});
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  HANDLE lock = HoldFileOpen(dir.File(L"Entry.ini"));
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  app.Post(WM_CLOSE);
  EXPECT_TRUE(WaitUntil([&] { return FileExists(dir.File(L"Entry.ini.tmp")); }, kWaitMs));
  // A save that gave up at the first refusal says so within milliseconds;
  // one that tries again shows nothing while the file stays held.
  EXPECT_FALSE(WaitUntil([&] { return FindOwnedDialog(app.main()) != nullptr; }, 200));
  CloseHandle(lock);
  EXPECT_EQ(app.process().WaitExit(), 0);
  EXPECT_EQ(FindOwnedDialog(app.main()), nullptr);
  EXPECT_FALSE(FileExists(dir.File(L"Entry.ini.tmp")));
  EXPECT_EQ(IniWindowEntry(dir.File(L"Entry.ini"), 1).title, L"Kept");
  EXPECT_EQ(IniInt(dir.File(L"Config.ini"), L"Config", L"Width"), 320);
}

// Started in the Windows system folder (the Run key or the Startup folder
// give no other), the program keeps its files beside Quillmere.exe.
TEST(Reach, StartedInTheSystemFolderItUsesItsOwnFolder) {
  TempDir dir;
  for (const wchar_t* file : {L"Quillmere.exe", L"Quillmere.dll"}) {
    ASSERT_TRUE(CopyFileW((ExeDir() + L"\\" + file).c_str(), dir.File(file).c_str(), FALSE));
  }
  WriteStore(dir, 1, {{L"Beside", L"QmBeside"}}, {});
  wchar_t system[MAX_PATH];
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  Process app;
  ASSERT_TRUE(app.Start(dir.File(L"Quillmere.exe"), L"", system));
  std::vector<HWND> mains;
  ASSERT_TRUE(WaitUntil([&] { return !(mains = FindProcessWindows(app.id(), L"Quillmere", L"Quillmere")).empty(); }));
  PostMessageW(mains[0], WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitExit(), 0);
  // The rule was loaded from and saved back to the program's folder.
  EXPECT_EQ(IniWindowEntry(dir.File(L"Entry.ini"), 1).title, L"Beside");
  EXPECT_EQ(IniInt(dir.File(L"Config.ini"), L"Config", L"Width"), 320);
  EXPECT_FALSE(FileExists(std::wstring(system) + L"\\Entry.ini"));
}

}  // namespace
}  // namespace e2e
