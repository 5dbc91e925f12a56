// What the real program reads from and writes to Config.ini and Entry.ini.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/E2eSupport.h"

namespace e2e {
namespace {

std::wstring WindowEntryText(int i, const std::wstring& title, const std::wstring& cls, int left, int top,
                             int pos, int width, int height) {
  std::wstring n = std::to_wstring(i);
  return L"Title" + n + L"=" + title + L"\r\nClass" + n + L"=" + cls + L"\r\nDesablePos" + n + L"=0\r\nLeft" + n +
         L"=" + std::to_wstring(left) + L"\r\nTop" + n + L"=" + std::to_wstring(top) + L"\r\nPos" + n + L"=" +
         std::to_wstring(pos) + L"\r\nDesableSize" + n + L"=0\r\nWidth" + n + L"=" + std::to_wstring(width) +
         L"\r\nHeight" + n + L"=" + std::to_wstring(height) + L"\r\nDesableStyle" + n + L"=1\r\nBorder" + n +
         L"=0\r\nDialogFrame" + n + L"=0\r\nThickFrame" + n + L"=0\r\n";
}

// The program's save must be exactly this text (after the byte-order mark):
// every key, in order, every value, nothing left over.
TEST(Files, CloseWritesBothFilesInTheirExactLayout) {
  TempDir dir;
  WriteUtf16File(dir.File(L"Config.ini"),
                 L"[Config]\r\nLeft=-100\r\nTop=50\r\nWidth=500\r\nHeight=400\r\nList=0\r\nTooltip=1\r\nKeepIn=1\r\n");
  WriteUtf16File(dir.File(L"Entry.ini"),
                 L"[Window]\r\nItem=2\r\n" + WindowEntryText(1, L"Editor", L"Notepad", 0, 0, 3, 800, 600) +
                     WindowEntryText(2, L"中央 = ok", L"", -1920, -8, 0, 640, 480) +
                     L"Title3=left over from a longer list\r\n"
                     L"[Menu]\r\nItem=1\r\nDesablePos1=0\r\nLeft1=-5\r\nTop1=7\r\nPos1=0\r\nDesableSize1=1\r\n"
                     L"Width1=1\r\nHeight1=2\r\n");
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  ASSERT_EQ(app.Close(), 0);

  EXPECT_EQ(ReadUtf16File(dir.File(L"Config.ini")),
            L"[Config]\r\nLeft=-100\r\nTop=50\r\nWidth=500\r\nHeight=400\r\nList=0\r\nTooltip=1\r\nKeepIn=1\r\n");
  EXPECT_EQ(ReadUtf16File(dir.File(L"Entry.ini")),
            L"[Window]\r\nItem=2\r\n" + WindowEntryText(1, L"Editor", L"Notepad", 0, 0, 3, 800, 600) +
                WindowEntryText(2, L"中央 = ok", L"", -1920, -8, 0, 640, 480) +
                L"[Menu]\r\nItem=1\r\nDesablePos1=0\r\nLeft1=-5\r\nTop1=7\r\nPos1=0\r\nDesableSize1=1\r\n"
                L"Width1=1\r\nHeight1=2\r\n");
  // And the platform's own reader agrees with what was meant.
  EXPECT_EQ(IniString(dir.File(L"Entry.ini"), L"Window", L"Title2"), L"中央 = ok");
  EXPECT_EQ(IniInt(dir.File(L"Entry.ini"), L"Window", L"Left2"), -1920);
  EXPECT_EQ(IniString(dir.File(L"Entry.ini"), L"Window", L"Title3"), L"<missing>");
  std::string bytes = ReadBytes(dir.File(L"Entry.ini"));
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
}

TEST(Files, ItemCountsAreBoundedAndTitlesCut) {
  struct Case { const wchar_t* name; std::wstring item; int entriesInFile; int expected; };
  const Case cases[] = {
      {L"above the capacity", L"600", 600, 512},
      {L"negative", L"-3", 2, 0},
      {L"not a number", L"many", 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::wstring text = L"[Window]\r\nItem=" + c.item + L"\r\n";
    for (int i = 1; i <= c.entriesInFile; ++i) {
      text += WindowEntryText(i, L"T" + std::to_wstring(i), L"", i, i, 0, 10, 10);
    }
    text += L"[Menu]\r\nItem=" + c.item + L"\r\n";
    WriteUtf16File(dir.File(L"Entry.ini"), text);
    App app(dir.path());
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(app.Close(), 0);
    EXPECT_EQ(IniInt(dir.File(L"Entry.ini"), L"Window", L"Item"), c.expected);
    EXPECT_EQ(IniInt(dir.File(L"Entry.ini"), L"Menu", L"Item"), c.expected);
    if (c.expected == 512) {
      EXPECT_EQ(IniString(dir.File(L"Entry.ini"), L"Window", L"Title512"), L"T512");
      EXPECT_EQ(IniString(dir.File(L"Entry.ini"), L"Window", L"Title513"), L"<missing>");
    }
  }

  TempDir dir;
  std::wstring longTitle(1000, L'x');
  WriteUtf16File(dir.File(L"Entry.ini"),
                 L"[Window]\r\nItem=1\r\n" + WindowEntryText(1, longTitle, std::wstring(1000, L'c'), 0, 0, 0, 1, 1));
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  ASSERT_EQ(app.Close(), 0);
  EXPECT_EQ(IniString(dir.File(L"Entry.ini"), L"Window", L"Title1"), std::wstring(255, L'x'));
  EXPECT_EQ(IniString(dir.File(L"Entry.ini"), L"Window", L"Class1"), std::wstring(255, L'c'));
}

TEST(Files, AFailedSaveKeepsThePreviousFilesAndTellsTheUser) {
  TempDir dir;
  const std::wstring entry = L"[Window]\r\nItem=1\r\n" + WindowEntryText(1, L"Keep me", L"K", 1, 2, 0, 3, 4) +
                             L"[Menu]\r\nItem=0\r\n";
  WriteUtf16File(dir.File(L"Entry.ini"), entry);
  const std::string before = ReadBytes(dir.File(L"Entry.ini"));
  App app(dir.path());
  ASSERT_TRUE(app.Start());

  // Another program holds Entry.ini open without sharing: every write,
  // delete and replace of it fails.
  HANDLE lock = HoldFileOpen(dir.File(L"Entry.ini"));
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  app.Post(WM_CLOSE);
  HWND box = WaitForOwnedDialog(app.main());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"Quillmere");
  EXPECT_NE(DlgItemText(box, 0xFFFF).find(Texts().saveFailedPart), std::wstring::npos);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(app.process().WaitExit(), 0);
  CloseHandle(lock);

  EXPECT_EQ(ReadBytes(dir.File(L"Entry.ini")), before);
  // No temporary file is left behind.
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(dir.File(L"*").c_str(), &data);
  int files = 0;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
  } while (FindNextFileW(find, &data));
  FindClose(find);
  EXPECT_EQ(files, 2);  // Config.ini (saved) and Entry.ini (kept)
}

// A file that exists but cannot be read at start-up (another program holds
// it locked) loads as defaults; saving those over it would wipe the user's
// rules, so the program keeps it, says so once at start-up (in a box that
// does not hold up start-up) and says the save failed.
TEST(Files, AFileUnreadableAtStartIsNeverOverwritten) {
  TempDir dir;
  WriteUtf16File(dir.File(L"Entry.ini"),
                 L"[Window]\r\nItem=1\r\n" + WindowEntryText(1, L"Precious", L"P", 1, 2, 0, 3, 4) + L"[Menu]\r\nItem=0\r\n");
  const std::string before = ReadBytes(dir.File(L"Entry.ini"));
  HANDLE lock = HoldFileOpen(dir.File(L"Entry.ini"));
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  CloseHandle(lock);  // readable again, but the program never saw its rules
  HWND startBox = WaitForOwnedDialog(app.main());
  ASSERT_NE(startBox, nullptr);
  EXPECT_EQ(WindowText(startBox), L"Quillmere");
  EXPECT_NE(DlgItemText(startBox, 0xFFFF).find(Texts().loadFailedPart), std::wstring::npos);
  PostMessageW(startBox, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(startBox); }));
  EXPECT_EQ(app.Send(WM_NULL), 0);
  EXPECT_EQ(FindOwnedDialog(app.main()), nullptr);  // once only

  app.Post(WM_CLOSE);
  HWND box = WaitForOwnedDialog(app.main());
  ASSERT_NE(box, nullptr);
  EXPECT_NE(DlgItemText(box, 0xFFFF).find(Texts().saveFailedPart), std::wstring::npos);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(app.process().WaitExit(), 0);
  EXPECT_EQ(ReadBytes(dir.File(L"Entry.ini")), before);
  EXPECT_EQ(IniInt(dir.File(L"Config.ini"), L"Config", L"Width"), 320);  // the readable file is saved
}

// A save that fails under a dialog's OK is reported by a box that the dialog
// owns, so the dialog is disabled and OK cannot store the entry twice.
TEST(Files, ASaveFailureDuringADialogBlocksThatDialog) {
  TempDir dir;
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  app.PostCommand(IDM_SETTINGS);
  HWND dialog = WaitForOwnedDialog(app.main());
  ASSERT_NE(dialog, nullptr);
  // Hold the (new) Entry.ini open without sharing so the save's replace fails.
  WriteUtf16File(dir.File(L"Entry.ini"), L"[Window]\r\nItem=0\r\n");
  HANDLE lock = HoldFileOpen(dir.File(L"Entry.ini"));
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  HWND box = WaitForOwnedDialog(dialog);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(IsWindowEnabled(dialog));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  CloseHandle(lock);
  EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e
