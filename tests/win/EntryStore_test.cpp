// The entry store's Load and Save against real files in a scratch current
// directory.
#include "entries/EntryStore_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

#include "StoreTestSupport.h"
#include "base/Win32Glue.h"
#include "dialogs/Dialogs_win.h"
#include "entries/EntryFiles.h"
#include "entries/IniText.h"
#include "res/resource.h"

namespace qm {
namespace {

using test::ReadBytes;

// What a save writes for text.
std::string Utf16LeFile(U16View text) { return test::AsString(EncodeUtf16LeWithBom(text)); }
using test::ScratchDirectory;

void SetText(char16_t (&field)[kTextCapacity], U16View text) { U16CopyTruncated(field, kTextCapacity, text); }

::qm::EntryStore store;

void ClearState() {
  store.settings = Settings{};
  std::memset(&store.windows, 0, sizeof store.windows);
  std::memset(&store.menus, 0, sizeof store.menus);
}

std::wstring ProfileString(const std::wstring& file, const wchar_t* section, const std::wstring& key) {
  wchar_t text[kTextCapacity];
  DWORD length = GetPrivateProfileStringW(section, key.c_str(), L"<def>", text, kTextCapacity, file.c_str());
  return std::wstring(text, length);
}

std::wstring Wide(const std::u16string& text) { return std::wstring(AsWide(text.c_str()), text.size()); }

class EntryStore : public testing::Test {
 protected:
  void SetUp() override { ClearState(); }
  void TearDown() override { ClearState(); }

  // A state with one window entry and one preset, distinct in every field.
  static void FillSmallState() {
    store.settings = Settings{-1280, 20, 640, 480, 0, 1, 1, 0, 0, 0};
    WindowEntry& w = store.windows.Entries[0];
    SetText(w.Title, u"Editor");
    SetText(w.Class, u"Notepad");
    w.Pos = PosCenter;
    w.Width = 800;
    w.Height = 600;
    w.DesableStyle = 1;
    store.windows.Count = 1;
    MenuEntry& m = store.menus.Entries[0];
    m.Left = -5;
    m.Top = 7;
    m.Width = 300;
    m.Height = 200;
    store.menus.Count = 1;
  }

  // Reading the files key by key through the profile functions gives the
  // state in the globals (the tables are too large for the stack).
  void ExpectKeyByKeyReadsTheSame(int screenWidth, int screenHeight) {
    static Settings settings;
    static WindowTable windows;
    static MenuTable menus;
    test::LoadKeyByKey(dir_.File(L"Config.ini"), dir_.File(L"Entry.ini"), screenWidth, screenHeight, settings,
                       windows, menus);
    EXPECT_EQ(std::memcmp(&settings, &store.settings, sizeof settings), 0);
    EXPECT_EQ(std::memcmp(&windows, &store.windows, sizeof windows), 0);
    EXPECT_EQ(std::memcmp(&menus, &store.menus, sizeof menus), 0);
  }

  ScratchDirectory dir_;
};

TEST_F(EntryStore, MissingFilesGiveDefaultsAndEmptyTables) {
  store.windows.Count = 3;  // left over from before; a load replaces it
  store.menus.Count = 2;
  store.Load();
  const Settings expected = DefaultSettings(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(std::memcmp(&store.settings, &expected, sizeof expected), 0);
  EXPECT_EQ(store.windows.Count, 0);
  EXPECT_EQ(store.menus.Count, 0);
  EXPECT_EQ(test::ListFiles(dir_.path()), L"");  // loading creates nothing
}

TEST_F(EntryStore, SaveWritesExactUtf16TextThatTheProfileFunctionsRead) {
  store.Load();
  FillSmallState();
  ASSERT_TRUE(store.Save());

  EXPECT_EQ(ReadBytes(dir_.File(L"Config.ini")),
            Utf16LeFile(u"[Config]\r\nLeft=-1280\r\nTop=20\r\nWidth=640\r\nHeight=480\r\nList=0\r\n"
                                 u"Tooltip=1\r\nKeepIn=1\r\n"));
  EXPECT_EQ(ReadBytes(dir_.File(L"Entry.ini")),
            Utf16LeFile(
                u"[Window]\r\nItem=1\r\nTitle1=Editor\r\nClass1=Notepad\r\nDesablePos1=0\r\nLeft1=0\r\nTop1=0\r\n"
                u"Pos1=3\r\nDesableSize1=0\r\nWidth1=800\r\nHeight1=600\r\nDesableStyle1=1\r\nBorder1=0\r\n"
                u"DialogFrame1=0\r\nThickFrame1=0\r\n[Menu]\r\nItem=1\r\nDesablePos1=0\r\nLeft1=-5\r\nTop1=7\r\n"
                u"Pos1=0\r\nDesableSize1=0\r\nWidth1=300\r\nHeight1=200\r\n"));
  EXPECT_EQ(test::ListFiles(dir_.path()), L"Config.ini|Entry.ini");  // no temporary file left

  // The key-by-key reading of the same files gives the same state.
  ExpectKeyByKeyReadsTheSame(1920, 1080);
}

TEST_F(EntryStore, TitlesRoundTripThroughSaveLoadAndTheProfileFunctions) {
  const std::u16string pad(254, u'x');
  const std::u16string titles[] = {
      u"\u4e2d\u592e\u30a6\u30a4\u30f3\u30c9\u30a6",  // lost as "??" in a file the platform writes itself
      u"\U0001F600 surrogate pair \U00020BB7",
      u"a=b=c",
      u";not a comment",
      u"#neither",
      u"[Menu]",
      u"  leading blanks",
      u"trailing blanks  ",
      u"\ttab\t",
      u"\u3000ideographic\u3000",
      u"\"quoted\"",
      u"'single'",
      u"\"",
      u"\"mixed'",
      u"",
      u"x" + pad,               // 255 units
      u" " + pad,               // 255 units that need quotes
      u"\"" + pad.substr(1) + u"\"",  // 255 units wrapped in quotes
      u"\u00e9\u00c4\u00df \u0416 \u05d0 \u0e01",
  };
  const int count = static_cast<int>(std::size(titles));
  store.Load();
  for (int i = 0; i < count; ++i) {
    SetText(store.windows.Entries[i].Title, titles[i]);
    SetText(store.windows.Entries[i].Class, titles[count - 1 - i]);
  }
  store.windows.Count = count;
  ASSERT_TRUE(store.Save());

  const std::wstring entryFile = dir_.File(L"Entry.ini");
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(ProfileString(entryFile, L"Window", test::NumberedKey(L"Title", i + 1)), Wide(titles[i])) << i;
    EXPECT_EQ(ProfileString(entryFile, L"Window", test::NumberedKey(L"Class", i + 1)), Wide(titles[count - 1 - i]))
        << i;
  }
  ClearState();
  store.Load();
  ASSERT_EQ(store.windows.Count, count);
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(std::u16string(U16ViewOf(store.windows.Entries[i].Title)), titles[i]) << i;
    EXPECT_EQ(std::u16string(U16ViewOf(store.windows.Entries[i].Class)), titles[count - 1 - i]) << i;
  }
}

// Holds a file open without sharing, as another program might.
class FileLock {
 public:
  explicit FileLock(const std::wstring& path)
      : handle_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~FileLock() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

TEST_F(EntryStore, FailedSaveKeepsTheOldFilesAndSaysSo) {
  store.Load();
  FillSmallState();
  ASSERT_TRUE(store.Save());
  const std::string oldConfig = ReadBytes(dir_.File(L"Config.ini"));
  const std::string oldEntry = ReadBytes(dir_.File(L"Entry.ini"));

  store.settings.Left = 1;
  store.windows.Count = 0;  // the change a failed save must not half-write
  {
    FileLock lock(dir_.File(L"Entry.ini"));
    ASSERT_TRUE(lock.held());
    EXPECT_FALSE(store.Save());
  }
  EXPECT_EQ(ReadBytes(dir_.File(L"Entry.ini")), oldEntry);
  // Config.ini was replaced before the rename of Entry.ini failed: it is
  // whole, old or new, never a mixture.
  const std::string config = ReadBytes(dir_.File(L"Config.ini"));
  EXPECT_TRUE(config == oldConfig || config == Utf16LeFile(ComposeConfigText(store.settings)));
  EXPECT_EQ(test::ListFiles(dir_.path()), L"Config.ini|Entry.ini");

  {
    FileLock lock(dir_.File(L"Config.ini"));
    ASSERT_TRUE(lock.held());
    const std::string configBefore = ReadBytes(dir_.File(L"Config.ini"));
    EXPECT_FALSE(store.Save());
    EXPECT_EQ(ReadBytes(dir_.File(L"Config.ini")), configBefore);
    EXPECT_EQ(ReadBytes(dir_.File(L"Entry.ini")), oldEntry);
    EXPECT_EQ(test::ListFiles(dir_.path()), L"Config.ini|Entry.ini");
  }
  // With the files free again the same state saves.
  EXPECT_TRUE(store.Save());
  EXPECT_EQ(ReadBytes(dir_.File(L"Entry.ini")), Utf16LeFile(ComposeEntryText(store.windows, store.menus)));
}

struct BoxWatch {
  std::wstring text;
  bool seen = false;
};

// Waits for the save-failure box, reads its text and closes it.
DWORD WINAPI CloseSaveFailureBox(void* param) {
  auto* watch = static_cast<BoxWatch*>(param);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 20000) {
    HWND box = FindWindowW(L"#32770", L"Quillmere");
    if (box != nullptr && IsWindowVisible(box)) {
      wchar_t text[512] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 512);  // a message box's text control
      watch->text = text;
      watch->seen = true;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    Sleep(10);
  }
  return 0;
}

TEST_F(EntryStore, FailedSaveShowsTheWarning) {
  store.Load();
  ASSERT_TRUE(store.Save());
  BoxWatch watch;
  FileLock lock(dir_.File(L"Entry.ini"));
  ASSERT_TRUE(lock.held());
  HANDLE watcher = CreateThread(nullptr, 0, CloseSaveFailureBox, &watch, 0, nullptr);
  ASSERT_NE(watcher, nullptr);
  EXPECT_FALSE(store.Save());
  ShowSaveFailure(nullptr);
  WaitForSingleObject(watcher, INFINITE);
  CloseHandle(watcher);
  wchar_t expected[kTextCapacity] = {};
  LoadStringW(g_instance, IDS_SAVE_FAILED, expected, kTextCapacity);
  EXPECT_TRUE(watch.seen);
  EXPECT_NE(expected[0], L'\0');
  EXPECT_EQ(watch.text, expected);
}

TEST_F(EntryStore, FileNamesStayWhereLoadAllFoundThem) {
  store.Load();
  ASSERT_TRUE(CreateDirectoryW(dir_.File(L"elsewhere").c_str(), nullptr));
  ASSERT_TRUE(SetCurrentDirectoryW(dir_.File(L"elsewhere").c_str()));
  FillSmallState();
  EXPECT_TRUE(store.Save());
  EXPECT_TRUE(test::FileExists(dir_.File(L"Entry.ini")));
  EXPECT_EQ(test::ListFiles(dir_.File(L"elsewhere")), L"");
  SetCurrentDirectoryW(dir_.path().c_str());
}

TEST_F(EntryStore, CurrentDirectoryLongerThanMaxPath) {
  // Wine 8 fails to load a system DLL while the current directory is longer
  // than MAX_PATH, and its user32 then keeps stubs in place of the display
  // functions it takes from setupapi for the rest of the process: loaded
  // first, later tests of this process can still read the monitors' names.
  LoadLibraryW(L"setupapi.dll");
  std::wstring deep = dir_.path();
  for (int i = 0; deep.size() <= 2 * MAX_PATH; ++i) {
    deep += L"\\" + std::wstring(40, L'd') + std::to_wstring(i);
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  }
  if (!SetCurrentDirectoryW(deep.c_str())) {
    GTEST_SKIP() << "this system limits the current directory to MAX_PATH";
  }
  store.Load();
  FillSmallState();
  EXPECT_TRUE(store.Save());
  const std::string saved = ReadBytes(deep + L"\\Entry.ini");
  EXPECT_EQ(saved, Utf16LeFile(ComposeEntryText(store.windows, store.menus)));
  ClearState();
  store.Load();
  EXPECT_EQ(store.windows.Count, 1);
  EXPECT_EQ(U16ViewOf(store.windows.Entries[0].Title), U16View(u"Editor"));
  EXPECT_EQ(store.settings.Left, -1280);
  SetCurrentDirectoryW(dir_.path().c_str());
}

// An Entry.ini written by hand, in the ANSI code page as old files are.
void WriteEntryFile(const ScratchDirectory& dir, const std::string& item, int present, const std::string& title) {
  std::string text = "[Window]\r\nItem=" + item + "\r\n";
  for (int i = 1; i <= present; ++i) {
    const std::string n = std::to_string(i);
    text += "Title" + n + "=" + (title.empty() ? "t" + n : title) + "\r\nLeft" + n + "=-" + n + "\r\n";
  }
  text += "[Menu]\r\nItem=" + item + "\r\n";
  ASSERT_TRUE(test::WriteBytes(dir.File(L"Entry.ini"), text));
}

TEST_F(EntryStore, CountsFromHandWrittenFiles) {
  struct Case {
    const char* item;
    int present;
    int32_t expected;
  };
  const Case cases[] = {{"600", 600, kMaxEntries}, {"-2", 3, 0}, {"abc", 3, 0}, {"12abc", 12, 12}, {"3", 3, 3}};
  for (const Case& c : cases) {
    WriteEntryFile(dir_, c.item, c.present, "");
    store.Load();
    EXPECT_EQ(store.windows.Count, c.expected) << c.item;
    EXPECT_EQ(store.menus.Count, c.expected) << c.item;
    if (c.expected > 0) {
      const WindowEntry& last = store.windows.Entries[c.expected - 1];
      EXPECT_EQ(last.Left, -c.expected) << c.item;
      const std::string title = "t" + std::to_string(c.expected);
      EXPECT_EQ(std::u16string(U16ViewOf(last.Title)), std::u16string(title.begin(), title.end())) << c.item;
    }
  }
}

TEST_F(EntryStore, LongTitlesAreCutTo255) {
  WriteEntryFile(dir_, "1", 1, std::string(1000, 'T'));
  store.Load();
  ASSERT_EQ(store.windows.Count, 1);
  EXPECT_EQ(std::u16string(U16ViewOf(store.windows.Entries[0].Title)), std::u16string(255, u'T'));
}

TEST_F(EntryStore, ReadsOldFilesAsTheProfileFunctionsDo) {
  // A file the way hand edits and older versions leave it: ANSI, stray
  // spacing, repeated keys and sections, quotes, junk and missing keys.
  const std::string config = "[Config]\r\n Left = -7 \r\nTop=0x20\r\nWidth=\"640\"\r\nList=\r\nList=0\r\njunk\r\n";
  const std::string entry =
      "[Window]\r\nItem= 2 \r\nTitle1=  \"  spaced \"  \r\nClass1='Cls'\r\nPos1=3\r\nleft1=-9\r\nLeft1=4\r\n"
      "Title2=caf\xc9 = ok\r\nWidth2=12px\r\n[Menu]\r\nItem=1\r\nHeight1=99999999999\r\n[Window]\r\nTitle3=x\r\n";
  ASSERT_TRUE(test::WriteBytes(dir_.File(L"Config.ini"), config));
  ASSERT_TRUE(test::WriteBytes(dir_.File(L"Entry.ini"), entry));
  store.Load();
  ExpectKeyByKeyReadsTheSame(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(store.settings.Left, -7);
  EXPECT_EQ(store.settings.Top, 32);
  EXPECT_EQ(store.windows.Count, 2);
  EXPECT_EQ(U16ViewOf(store.windows.Entries[0].Title), U16View(u"  spaced "));
  EXPECT_EQ(store.windows.Entries[0].Left, -9);
  // (The fourth character depends on the ANSI code page; the comparison
  // with the profile functions above covers it. 0xC9 is one character in
  // the Western and the Japanese code pages alike.)
  EXPECT_EQ(U16ViewOf(store.windows.Entries[1].Title).substr(0, 3), U16View(u"caf"));
  EXPECT_EQ(U16ViewOf(store.windows.Entries[1].Title).substr(4), U16View(u" = ok"));
}

}  // namespace
}  // namespace qm
