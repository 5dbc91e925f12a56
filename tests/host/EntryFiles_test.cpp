#include "entries/EntryFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "entries/HotkeyText.h"

namespace qm {
namespace {

// Tables are about half a megabyte each: never on the stack.
struct Tables {
  WindowTable windows;
  MenuTable menus;
};
std::unique_ptr<Tables> NewTables() { return std::make_unique<Tables>(); }

void SetText(char16_t (&field)[kTextCapacity], U16View text) { U16CopyTruncated(field, kTextCapacity, text); }

std::u16string Read(const IniDocument& doc, U16View section, U16View key) {
  char16_t out[kTextCapacity];
  size_t length = doc.ReadString(section, key, u"<def>", out, kTextCapacity);
  return std::u16string(out, length);
}

// Every field compared, each named on failure.
void ExpectSettings(const Settings& s, const Settings& expected) {
  const std::pair<const char*, int32_t Settings::*> fields[] = {
      {"Left", &Settings::Left}, {"Top", &Settings::Top},         {"Width", &Settings::Width},
      {"Height", &Settings::Height}, {"List", &Settings::List}, {"Tooltip", &Settings::Tooltip},
      {"KeepIn", &Settings::KeepIn}, {"Hotkey", &Settings::Hotkey}};
  for (const auto& [name, field] : fields) EXPECT_EQ(s.*field, expected.*field) << name;
}

// A table read back from the text of the given ones.
std::unique_ptr<Tables> ParseBack(const Tables& t) {
  auto back = NewTables();
  ParseEntries(IniDocument(ComposeEntryText(t.windows, t.menus)), back->windows, back->menus);
  return back;
}

TEST(EntryFiles, MissingConfigGivesCentredDefaults) {
  IniDocument empty;
  ExpectSettings(ParseSettings(empty, 1920, 1080), {800, 420, 320, 240, 1, 0, 0, 0, 0, 0});
  // Quotients round toward zero, also for a screen narrower than the window.
  Settings odd = ParseSettings(empty, 1366, 767);
  EXPECT_EQ(odd.Left, 523);
  EXPECT_EQ(odd.Top, 263);
  Settings tiny = ParseSettings(empty, 315, 100);
  EXPECT_EQ(tiny.Left, -2);
  EXPECT_EQ(tiny.Top, -70);
}

TEST(EntryFiles, ConfigKeysOverrideEachDefaultAlone) {
  IniDocument doc(u"[Config]\r\nTop=-30\r\nList=0\r\nKeepIn=1\r\nWidth=\r\n");
  // An empty value (Width) reads as the default.
  ExpectSettings(ParseSettings(doc, 1920, 1080), {800, -30, 320, 240, 0, 0, 1, 0, 0, 0});
}

TEST(EntryFiles, ConfigTextHasEveryKeyInOrder) {
  Settings s{-1280, 5, 640, 480, 0, 1, 1, 0, 0, 0};
  EXPECT_EQ(ComposeConfigText(s),
            u"[Config]\r\nLeft=-1280\r\nTop=5\r\nWidth=640\r\nHeight=480\r\nList=0\r\nTooltip=1\r\nKeepIn=1\r\n");
  Settings back = ParseSettings(IniDocument(ComposeConfigText(s)), 1920, 1080);
  EXPECT_EQ(std::memcmp(&back, &s, sizeof s), 0);
}

// The hotkey key is optional: absent it is the default, and the default is
// not written, so a file from before there was a hotkey stays as it was.
TEST(EntryFiles, FollowDesktopKeyIsWrittenOnlyWhenOff) {
  const std::u16string before = u"[Config]\r\nLeft=1\r\nTop=2\r\nWidth=3\r\nHeight=4\r\nList=1\r\nTooltip=0\r\nKeepIn=0\r\n";
  for (const std::u16string line : {u"", u"FollowDesktop=1\r\n", u"FollowDesktop=0\r\n"}) {
    Settings settings = ParseSettings(IniDocument(before + line), 1920, 1080);
    EXPECT_EQ(FollowsDesktop(settings), line.find(u'0') == std::u16string::npos);
    EXPECT_EQ(ComposeConfigText(settings), before + (FollowsDesktop(settings) ? u"" : line));
  }
}

TEST(EntryFiles, HotkeyKeyIsWrittenOnlyWhenItIsNotTheDefault) {
  struct Case {
    const char16_t* line;  // nullptr: no such key
    int32_t setting;
    const char16_t* written;  // nullptr: not written
    int32_t Settings::*field = &Settings::Hotkey;
  };
  const int32_t ctrlAltQ = MakeHotkey(kHotkeyCtrl | kHotkeyAlt, 'Q');
  const Case cases[] = {
      {nullptr, 0, nullptr},
      {u"Hotkey=Ctrl+Alt+Shift+F10", 0, nullptr},
      {u"Hotkey=alt+ctrl+q", ctrlAltQ, u"Hotkey=Ctrl+Alt+Q\r\n"},
      {u"Hotkey=", kNoHotkeySetting, u"Hotkey=\r\n"},
      {u"Hotkey=0", kNoHotkeySetting, u"Hotkey=\r\n"},
      {u"Hotkey=Ctrl+Alt+Nothing", kNoHotkeySetting, u"Hotkey=\r\n"},
      {u"Hotkey", 0, nullptr},  // a line without '=' reads as missing
      {u"RuleHotkey=Ctrl+Alt+Shift+F11", 0, nullptr, &Settings::RuleHotkey},
      {u"RuleHotkey=Ctrl+Alt+Shift+F10", kDefaultHotkey, u"RuleHotkey=Ctrl+Alt+Shift+F10\r\n", &Settings::RuleHotkey},
      {u"RuleHotkey=", kNoHotkeySetting, u"RuleHotkey=\r\n", &Settings::RuleHotkey},
  };
  const std::u16string before = u"[Config]\r\nLeft=1\r\nTop=2\r\nWidth=3\r\nHeight=4\r\nList=1\r\nTooltip=0\r\nKeepIn=0\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line == nullptr ? "no key" : std::string(c.line, c.line + std::char_traits<char16_t>::length(c.line)));
    std::u16string text = before;
    if (c.line != nullptr) text += std::u16string(c.line) + u"\r\n";
    Settings settings = ParseSettings(IniDocument(text), 1920, 1080);
    EXPECT_EQ(settings.*c.field, c.setting);
    EXPECT_EQ(ComposeConfigText(settings), before + (c.written != nullptr ? c.written : u""));
  }
}

const char16_t EditorLayout[] =
    u"[Window]\r\nItem=1\r\nTitle1=Editor\r\nClass1=Notepad\r\nDesablePos1=0\r\nLeft1=0\r\nTop1=0\r\nPos1=3\r\n"
    u"DesableSize1=0\r\nWidth1=800\r\nHeight1=600\r\nDesableStyle1=1\r\nBorder1=0\r\nDialogFrame1=0\r\n"
    u"ThickFrame1=0\r\n[Menu]\r\nItem=0\r\n";

TEST(EntryFiles, SingleEntryLayoutIsExact) {
  auto t = NewTables();
  WindowEntry& e = t->windows.Entries[0];
  SetText(e.Title, u"Editor");
  SetText(e.Class, u"Notepad");
  e.Pos = PosCenter;
  e.Width = 800;
  e.Height = 600;
  e.DesableStyle = 1;
  t->windows.Count = 1;
  EXPECT_EQ(ComposeEntryText(t->windows, t->menus), EditorLayout);

  auto back = NewTables();
  back->menus.Count = 3;  // stale state must not survive a load
  ParseEntries(IniDocument(EditorLayout), back->windows, back->menus);
  EXPECT_EQ(std::memcmp(back.get(), t.get(), sizeof(Tables)), 0);
}

// The program and monitor keys come after an entry's other keys and only
// where they say something; an entry without them (EditorLayout) is
// written exactly as a file that predates them.
TEST(EntryFiles, ProgramAndMonitorWrittenOnlyWhenSet) {
  auto t = NewTables();
  WindowEntry& e = t->windows.Entries[0];
  SetText(e.Title, u"Editor");
  SetText(e.Process, u" spaced.exe");
  e.Monitor = MonitorOfPointer;
  WindowEntry& plain = t->windows.Entries[1];
  SetText(plain.Title, u"Plain");
  plain.Monitor = -3;  // a hand-edited value comes back as it was
  t->windows.Count = 2;
  t->menus.Entries[0].Monitor = MonitorOfWindow;
  t->menus.Count = 2;
  EXPECT_EQ(ComposeEntryText(t->windows, t->menus),
            u"[Window]\r\nItem=2\r\nTitle1=Editor\r\nClass1=\r\nDesablePos1=0\r\nLeft1=0\r\nTop1=0\r\nPos1=0\r\n"
            u"DesableSize1=0\r\nWidth1=0\r\nHeight1=0\r\nDesableStyle1=0\r\nBorder1=0\r\nDialogFrame1=0\r\n"
            u"ThickFrame1=0\r\nProcess1=\" spaced.exe\"\r\nMonitor1=2\r\n"
            u"Title2=Plain\r\nClass2=\r\nDesablePos2=0\r\nLeft2=0\r\nTop2=0\r\nPos2=0\r\n"
            u"DesableSize2=0\r\nWidth2=0\r\nHeight2=0\r\nDesableStyle2=0\r\nBorder2=0\r\nDialogFrame2=0\r\n"
            u"ThickFrame2=0\r\nMonitor2=-3\r\n"
            u"[Menu]\r\nItem=2\r\nDesablePos1=0\r\nLeft1=0\r\nTop1=0\r\nPos1=0\r\nDesableSize1=0\r\nWidth1=0\r\n"
            u"Height1=0\r\nMonitor1=1\r\nDesablePos2=0\r\nLeft2=0\r\nTop2=0\r\nPos2=0\r\nDesableSize2=0\r\n"
            u"Width2=0\r\nHeight2=0\r\n");
  auto back = ParseBack(*t);
  EXPECT_EQ(std::memcmp(back.get(), t.get(), sizeof(Tables)), 0);
}

// The mode keys follow Monitor, only where they differ from how rules
// always behaved; an explicit hold of 0 (no hold) is not the absent 2 s.
TEST(EntryFiles, ModeKeysWrittenOnlyWhenSet) {
  auto t = NewTables();
  t->windows.Entries[0] = WindowEntry{{}, {}, {}, {}, 0, 0, 0, 0, ApplyNever, 0 - kDefaultHoldSeconds, 1, 1, 1};
  t->windows.Count = 2;
  const std::u16string text = ComposeEntryText(t->windows, t->menus);
  EXPECT_NE(text.find(u"=0\r\nApply1=3\r\nHold1=0\r\nMatch1=1\r\nTopmost1=1\r\nState1=1\r\nTitle2="), text.npos);  // none for entry 2
  EXPECT_EQ(HoldSeconds(ParseBack(*t)->windows.Entries[0]), 0);
}

TEST(EntryFiles, FullTablesRoundTripExactly) {
  auto t = NewTables();
  std::mt19937 random(99);
  std::uniform_int_distribution<int32_t> anyInt(INT32_MIN, INT32_MAX);
  std::uniform_int_distribution<int> unit(0, 11);
  std::uniform_int_distribution<size_t> length(0, 255);
  // Units chosen to hit every quoting rule and several encodings' traps.
  const char16_t alphabet[] = {u' ', u'\t', u'"', u'\'', u'=', u';', u'[', u'a', u'\u4e2d', u'\u3000', 0xD83D, 0xDE00};
  for (int32_t i = 0; i < kMaxEntries; ++i) {
    WindowEntry& w = t->windows.Entries[i];
    for (auto* field : {&w.Title, &w.Class, &w.Process}) {
      std::u16string text;
      for (size_t n = length(random); n > 0; --n) text += alphabet[unit(random)];
      SetText(*field, text);
    }
    for (int32_t* f : {&w.DesablePos, &w.Left, &w.Top, &w.Pos, &w.DesableSize, &w.Width, &w.Height,
                       &w.DesableStyle, &w.Border, &w.DialogFrame, &w.ThickFrame, &w.Monitor, &w.Apply, &w.Hold,
                       &w.Match, &w.Topmost, &w.State}) {
      *f = anyInt(random);
    }
    MenuEntry& m = t->menus.Entries[i];
    for (int32_t* f : {&m.DesablePos, &m.Left, &m.Top, &m.Pos, &m.DesableSize, &m.Width, &m.Height, &m.Monitor}) {
      *f = anyInt(random);
    }
  }
  t->windows.Count = kMaxEntries;
  t->menus.Count = kMaxEntries;
  auto back = ParseBack(*t);
  ASSERT_EQ(back->windows.Count, kMaxEntries);
  ASSERT_EQ(back->menus.Count, kMaxEntries);
  for (int32_t i = 0; i < kMaxEntries; ++i) {
    ASSERT_EQ(std::memcmp(&back->windows.Entries[i], &t->windows.Entries[i], sizeof(WindowEntry)), 0) << i;
    ASSERT_EQ(std::memcmp(&back->menus.Entries[i], &t->menus.Entries[i], sizeof(MenuEntry)), 0) << i;
  }
}

TEST(EntryFiles, TextsThatTheReaderWouldAlterAreProtected) {
  const std::u16string pad254(254, u'x');
  struct Case {
    std::u16string title;
    const char16_t* written;  // nullptr: same as the title
  };
  const Case cases[] = {
      {u"Editor", nullptr},
      {u"", nullptr},
      {u"a=b", nullptr},
      {u";comment", nullptr},
      {u"[Menu]", nullptr},
      {u"\"", nullptr},
      {u"\"x'", nullptr},
      {u"in \"side\" quotes", nullptr},
      {u"  lead", u"\"  lead\""},
      {u"trail\t", u"\"trail\t\""},
      {u"\x1a", u"\"\x1a\""},
      {u"\u3000\u4e2d\u3000", u"\"\u3000\u4e2d\u3000\""},
      {u"\"quoted\"", u"\"\"quoted\"\""},
      {u"'single'", u"\"'single'\""},
      {u"\"\"", u"\"\"\"\""},
      {u"''", u"\"''\""},
      {u"\U0001F600 \u4e2d", nullptr},
  };
  for (const Case& c : cases) {
    const std::u16string written = IniValueText(c.title);
    EXPECT_EQ(written, c.written ? std::u16string(c.written) : c.title);
    IniDocument doc(u"[S]\r\nk=" + written + u"\r\n");
    EXPECT_EQ(Read(doc, u"S", u"k"), c.title);
  }
  // 255 units that need quotes: one more closing quote keeps every reader
  // from losing the last unit.
  const std::u16string full = u" " + pad254;
  EXPECT_EQ(IniValueText(full), u"\"" + full + u"\"\"");
  EXPECT_EQ(Read(IniDocument(u"[S]\r\nk=" + IniValueText(full)), u"S", u"k"), full);
  const std::u16string fullQuoted = u"'" + pad254.substr(1) + u"'";
  EXPECT_EQ(Read(IniDocument(u"[S]\r\nk=" + IniValueText(fullQuoted)), u"S", u"k"), fullQuoted);
}

TEST(EntryFiles, LineBreaksInTextsCannotInjectKeys) {
  auto t = NewTables();
  SetText(t->windows.Entries[0].Title, u"one\r\nItem=300\nthree\r");
  SetText(t->windows.Entries[0].Class, u"\nLeft1=5");
  t->windows.Entries[0].Left = 7;
  t->windows.Count = 1;
  auto back = ParseBack(*t);
  EXPECT_EQ(back->windows.Count, 1);
  EXPECT_EQ(U16ViewOf(back->windows.Entries[0].Title), U16View(u"one  Item=300 three "));
  EXPECT_EQ(U16ViewOf(back->windows.Entries[0].Class), U16View(u" Left1=5"));
  EXPECT_EQ(back->windows.Entries[0].Left, 7);
}

TEST(EntryFiles, DeletingTheLastEntryWritesAnEmptySection) {
  auto t = NewTables();
  SetText(t->windows.Entries[0].Title, u"Only");
  t->windows.Count = 1;
  const int32_t all[] = {0};
  DeleteWindowEntries(t->windows, all, 1);
  const std::u16string text = ComposeEntryText(t->windows, t->menus);
  EXPECT_EQ(text, u"[Window]\r\nItem=0\r\n[Menu]\r\nItem=0\r\n");
  EXPECT_EQ(text.find(u"Title1"), std::u16string::npos);
}

TEST(EntryFiles, NegativeCoordinatesKeepTheirSign) {
  auto t = NewTables();
  t->menus.Entries[0].Left = -1920;
  t->menus.Entries[0].Top = -1;
  t->menus.Count = 1;
  const std::u16string text = ComposeEntryText(t->windows, t->menus);
  EXPECT_NE(text.find(u"\r\nLeft1=-1920\r\nTop1=-1\r\n"), std::u16string::npos);
  auto back = ParseBack(*t);
  EXPECT_EQ(back->menus.Entries[0].Left, -1920);
  EXPECT_EQ(back->menus.Entries[0].Top, -1);
}

// A Window section whose count is `item` over `present` entries titled by
// their number.
std::u16string WindowsFile(const std::u16string& item, int present) {
  std::u16string text = u"[Window]\r\nItem=" + item + u"\r\n";
  for (int i = 1; i <= present; ++i) {
    std::string n = std::to_string(i);
    std::u16string number(n.begin(), n.end());
    text += u"Title" + number + u"=t" + number + u"\r\nLeft" + number + u"=" + number + u"\r\n";
  }
  return text + u"[Menu]\r\nItem=" + item + u"\r\n";
}

TEST(EntryFiles, CountsAreReadAsThePlatformReadsThemAndCapped) {
  struct Case {
    const char16_t* item;
    int present;
    int32_t expected;
  };
  const Case cases[] = {
      {u"3", 3, 3},      {u"600", 600, kMaxEntries}, {u"513", 513, kMaxEntries}, {u"512", 512, kMaxEntries},
      {u"-3", 3, 0},     {u"abc", 3, 0},            {u"12abc", 12, 12},         {u" 0x2", 3, 2},
      {u"", 3, 0},       {u"99999999999", 3, kMaxEntries},  // wraps to a large positive number
      {u"4294967295", 3, 0},                                 // wraps to -1
  };
  auto t = NewTables();
  for (const Case& c : cases) {
    ParseEntries(IniDocument(WindowsFile(c.item, c.present)), t->windows, t->menus);
    EXPECT_EQ(t->windows.Count, c.expected) << std::string(c.item, c.item + std::char_traits<char16_t>::length(c.item));
    EXPECT_EQ(t->menus.Count, c.expected);
  }
  // Entries named by a count beyond the keys present read as empty.
  ParseEntries(IniDocument(WindowsFile(u"5", 2)), t->windows, t->menus);
  EXPECT_EQ(t->windows.Count, 5);
  EXPECT_EQ(U16ViewOf(t->windows.Entries[1].Title), U16View(u"t2"));
  EXPECT_EQ(U16ViewOf(t->windows.Entries[4].Title), U16View(u""));
  EXPECT_EQ(t->windows.Entries[4].Left, 0);
}

// Reading clears only the slots in use; an entry of the earlier, longer
// table must not survive past the new count, where adding would find it.
TEST(EntryFiles, ReadingAShorterTableLeavesNothingOfTheLongerOne) {
  auto t = NewTables();
  ParseEntries(IniDocument(WindowsFile(u"3", 3)), t->windows, t->menus);
  ParseEntries(IniDocument(WindowsFile(u"1", 1)), t->windows, t->menus);
  ASSERT_EQ(t->windows.Count, 1);
  EXPECT_EQ(U16ViewOf(t->windows.Entries[0].Title), U16View(u"t1"));
  for (int i : {1, 2}) {
    EXPECT_EQ(U16ViewOf(t->windows.Entries[i].Title), U16View(u"")) << i;
    EXPECT_EQ(t->windows.Entries[i].Left, 0) << i;
  }
}

TEST(EntryFiles, LongTextsAreCutTo255Units) {
  auto t = NewTables();
  const std::u16string title(1000, u'T');
  ParseEntries(IniDocument(u"[Window]\r\nItem=1\r\nTitle1=" + title + u"\r\nClass1=\"" + title + u"\"\r\n"), t->windows,
               t->menus);
  EXPECT_EQ(U16ViewOf(t->windows.Entries[0].Title), U16View(title).substr(0, 255));
  EXPECT_EQ(U16ViewOf(t->windows.Entries[0].Class), U16View(title).substr(0, 255));
}

TEST(EntryFiles, FileNamesJoinOnceAndGrowLongForm) {
  EXPECT_EQ(StoreFileName(u"C:\\work", u"Config.ini"), u"C:\\work\\Config.ini");
  EXPECT_EQ(StoreFileName(u"C:\\", u"Entry.ini"), u"C:\\Entry.ini");
  EXPECT_EQ(StoreFileName(u"\\\\server\\share", u"Entry.ini"), u"\\\\server\\share\\Entry.ini");
  EXPECT_EQ(StoreFileName(u"", u"Entry.ini"), u"Entry.ini");

  const std::u16string deep = u"C:\\" + std::u16string(300, u'd');
  const std::u16string unc = u"\\\\server\\share\\" + std::u16string(300, u'd');
  EXPECT_EQ(ExtendedLengthPath(u"C:\\short\\Entry.ini"), u"C:\\short\\Entry.ini");
  EXPECT_EQ(ExtendedLengthPath(deep), u"\\\\?\\" + deep);
  EXPECT_EQ(ExtendedLengthPath(u"\\\\?\\" + deep), u"\\\\?\\" + deep);
  EXPECT_EQ(ExtendedLengthPath(unc), u"\\\\?\\UNC\\server\\share\\" + std::u16string(300, u'd'));
  const std::u16string limit = u"C:\\" + std::u16string(256, u'x');  // 259 units still fit MAX_PATH
  EXPECT_EQ(ExtendedLengthPath(limit), limit);
  EXPECT_EQ(ExtendedLengthPath(limit + u"x"), u"\\\\?\\" + limit + u"x");
}

}  // namespace
}  // namespace qm
