// Rules by program and placement on another monitor than the primary: the
// matching passes with program names, the comparison of those names, and
// the anchors measured on monitors left of and above the primary one.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "placement/Placement.h"
#include "placement/ProgramName.h"

namespace qm {
namespace {

TEST(ProgramName, FileNamePartOfAnImagePath) {
  EXPECT_EQ(ProgramFileName(u"C:\\Windows\\System32\\notepad.exe"), u"notepad.exe");
  EXPECT_EQ(ProgramFileName(u"\\\\?\\D:\\Tools/bin/calc.exe"), u"calc.exe");
  EXPECT_EQ(ProgramFileName(u"notepad.exe"), u"notepad.exe");
  EXPECT_EQ(ProgramFileName(u"C:\\dir\\"), u"");
  EXPECT_EQ(ProgramFileName(u""), u"");
}

TEST(ProgramName, ComparedWithoutRegardToCase) {
  struct Case {
    U16View a, b;
    bool same;
  } cases[] = {
      {u"notepad.exe", u"NOTEPAD.EXE", true},
      {u"Notepad.exe", u"notepad.exe", true},
      {u"notepad.exe", u"notepad.ex", false},
      {u"notepad.exe", u"notepad.exe ", false},
      {u"éditeur.exe", u"ÉDITEUR.EXE", true},
      {u"ÿ.exe", u"Ÿ.EXE", true},
      {u"łódź.exe", u"ŁÓDŹ.EXE", true},    // Latin Extended-A, both alternations
      {u"редактор.exe", u"РЕДАКТОР.EXE", true},
      {u"ёлка.exe", u"ЁЛКА.EXE", true},
      {u"αβγ.exe", u"ΑΒΓ.EXE", true},
      {u"ｅｄｉｔ.exe", u"ＥＤＩＴ.exe", true},  // full-width letters
      {u"メモ帳.exe", u"メモ帳.exe", true},
      {u"a.exe", u"b.exe", false},
      {u"÷.exe", u"×.exe", false},  // not a case pair, though 0x20 apart
      {u"[.exe", u"{.exe", false},  // nor these
      {u"", u"", false},            // no name is nobody's name
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameProgramName(c.a, c.b), c.same) << std::string(c.a.begin(), c.a.end()).size();
    EXPECT_EQ(SameProgramName(c.b, c.a), c.same);
  }
  EXPECT_TRUE(IsStoreAppHost(u"applicationframehost.EXE"));
  EXPECT_FALSE(IsStoreAppHost(u"ApplicationFrameHost"));
}

struct ProgramRule {
  const char16_t* title;
  const char16_t* cls;
  const char16_t* program;
};

std::unique_ptr<WindowTable> Rules(std::initializer_list<ProgramRule> rules) {
  auto table = std::make_unique<WindowTable>();
  std::memset(table.get(), 0, sizeof(WindowTable));
  for (const ProgramRule& r : rules) {
    WindowEntry& e = table->Entries[table->Count++];
    U16CopyTruncated(e.Title, kTextCapacity, r.title);
    U16CopyTruncated(e.Class, kTextCapacity, r.cls);
    U16CopyTruncated(e.Process, kTextCapacity, r.program);
  }
  return table;
}

TEST(MatchWindowEntry, ClassThenProgramThenTitle) {
  auto table = Rules({
      {u"Doc", u"", u""},
      {u"Editor", u"Notepad", u"notepad.exe"},
      {u"Any", u"Notepad", u""},
      {u"Label", u"", u"Calc.EXE"},
      {u"Word", u"", u"winword.exe"},
      {u"Edit", u"Edit", u"other.exe"},
  });
  struct Case {
    const char* name;
    U16View cls, title, program;
    int32_t expected;
  } cases[] = {
      {"class and program", u"Notepad", u"x", u"notepad.exe", 1},
      {"program compared without case", u"Notepad", u"x", u"NOTEPAD.EXE", 1},
      {"class rule of another program falls to the plain class rule", u"Notepad", u"x", u"wordpad.exe", 2},
      {"program unknown: only rules without one", u"Notepad", u"x", u"", 2},
      {"a class rule beats a program rule", u"Notepad", u"x", u"calc.exe", 2},
      {"a program rule beats an earlier title rule", u"CalcFrame", u"Doc - Calc", u"calc.exe", 3},
      {"the program rule of the window's program", u"X", u"Label", u"winword.exe", 4},
      {"no rule for this program: titles", u"X", u"My Doc", u"paint.exe", 0},
      {"a program's rule matches its title only in that program", u"X", u"My Editor", u"paint.exe", -1},
      {"title of a class-and-program rule inside the program", u"X", u"My Editor", u"notepad.exe", 1},
      {"a program rule's title only labels it", u"X", u"Label here", u"", -1},
      {"class rule of another program", u"Edit", u"", u"", -1},
      {"class rule of its program", u"Edit", u"", u"Other.exe", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MatchWindowEntry(*table, c.cls, c.title, c.program), c.expected);
  }
}

// A file without program names matches as before whatever the window's
// program, and then matching need not read it at all.
TEST(MatchWindowEntry, TableWithoutProgramsIgnoresThem) {
  auto table = Rules({{u"Note", u"", u""}, {u"Editor", u"Notepad", u""}});
  EXPECT_FALSE(TableNamesProgram(*table));
  for (U16View program : {U16View(), U16View(u"notepad.exe")}) {
    EXPECT_EQ(MatchWindowEntry(*table, u"Notepad", u"Untitled - Notepad", program), 1);
    EXPECT_EQ(MatchWindowEntry(*table, u"Other", u"Untitled - Notepad", program), 0);
    EXPECT_EQ(MatchWindowEntry(*table, u"Other", u"Calculator", program), -1);
  }
  U16CopyTruncated(table->Entries[2].Process, kTextCapacity, u"calc.exe");  // behind the count
  EXPECT_FALSE(TableNamesProgram(*table));
  U16CopyTruncated(table->Entries[1].Process, kTextCapacity, u"calc.exe");
  EXPECT_TRUE(TableNamesProgram(*table));
}

// A monitor left of the primary and one above it, as Windows reports them:
// negative coordinates, the taskbar at the bottom of one and the top of the
// other.
struct MonitorCase {
  const char* name;
  PlacementArea area;
};
constexpr MonitorCase kLeft{"left of the primary", {{-1280, -200, 0, 784}, {-1280, -200, 0, 824}}};
constexpr MonitorCase kAbove{"above the primary", {{-300, -1160, 1300, 0}, {-300, -1200, 1300, 0}}};

EntryGeometry Anchored(int32_t pos, int32_t width, int32_t height, int32_t desableSize = 0) {
  EntryGeometry g{};
  g.Pos = pos;
  g.Left = 5;
  g.Top = 6;
  g.Width = width;
  g.Height = height;
  g.DesableSize = desableSize;
  return g;
}

TEST(ComputePlacement, AnchorsOnAnotherMonitor) {
  const Rect32 window{-1000, -100, -199, 501};  // 801 x 601
  struct Case {
    const MonitorCase& monitor;
    EntryGeometry entry;
    int32_t x, y, width, height;
  } cases[] = {
      {kLeft, Anchored(PosBottomLeft, 800, 600), -1280, 184, 800, 600},
      {kLeft, Anchored(PosBottomRight, 800, 600), -800, 184, 800, 600},
      {kLeft, Anchored(PosCenter, 800, 600), -1040, 12, 800, 600},
      {kLeft, Anchored(PosTopLeft, 800, 600), -1280, -200, 800, 600},
      {kLeft, Anchored(PosTopRight, 800, 600), -800, -200, 800, 600},
      // The centre rounds the half of the spare room toward zero, measured
      // from the monitor's corner as it is from the primary's.
      {kLeft, Anchored(PosCenter, 0, 0, 1), -1041, 11, 801, 601},
      {kLeft, Anchored(PosCenter, 1283, 1027), -1281, -201, 1283, 1027},
      {kAbove, Anchored(PosBottomLeft, 800, 600), -300, -600, 800, 600},
      {kAbove, Anchored(PosBottomRight, 800, 600), 500, -600, 800, 600},
      {kAbove, Anchored(PosCenter, 800, 600), 100, -900, 800, 600},
      {kAbove, Anchored(PosTopLeft, 800, 600), -300, -1160, 800, 600},
      {kAbove, Anchored(PosTopRight, 0, 0, 1), 499, -1160, 801, 601},
      {kAbove, Anchored(PosFree, 800, 600), 5, 6, 800, 600},  // a free point is absolute
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.monitor.name) + ", anchor " + std::to_string(c.entry.Pos));
    const Placement p = ComputePlacement(c.entry, window, c.monitor.area);
    EXPECT_EQ(p.x, c.x);
    EXPECT_EQ(p.y, c.y);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
  }
}

TEST(ComputePlacement, MonitorChoiceOfAnEntry) {
  EntryGeometry g{};
  for (int32_t monitor : {MonitorPrimary, MonitorOfWindow, MonitorOfPointer}) {
    g.Monitor = monitor;
    EXPECT_EQ(EffectiveMonitor(g), monitor);
  }
  for (int32_t monitor : {-1, 3, 1000}) {
    g.Monitor = monitor;
    EXPECT_EQ(EffectiveMonitor(g), MonitorPrimary) << monitor;
  }
}

}  // namespace
}  // namespace qm
