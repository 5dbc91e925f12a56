#include "placement/Placement.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

namespace qm {
namespace {

constexpr Rect32 kWorkArea{0, 0, 1920, 1040};
constexpr int32_t kScreenW = 1920;
constexpr int32_t kScreenH = 1080;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

EntryGeometry Geometry(int32_t pos, int32_t left, int32_t top, int32_t width, int32_t height, int32_t desablePos = 0,
                       int32_t desableSize = 0, int32_t unit = UnitPixels) {
  EntryGeometry g{};
  g.Unit = unit;
  g.DesablePos = desablePos;
  g.Left = left;
  g.Top = top;
  g.Pos = pos;
  g.DesableSize = desableSize;
  g.Width = width;
  g.Height = height;
  return g;
}

struct PlacementCase {
  const char* name;
  EntryGeometry entry;
  Rect32 window;
  Rect32 work;
  Placement expected;
};

// The position is compared unless the window is only resized, which
// leaves it where it is.
template <size_t N>
void ExpectPlacements(const PlacementCase (&cases)[N], const FrameMargins& margins = {}) {
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    Placement p = ComputePlacement(c.entry, c.window, c.work, kScreenW, kScreenH, margins);
    EXPECT_EQ(p.action, c.expected.action);
    EXPECT_EQ(p.width, c.expected.width);
    EXPECT_EQ(p.height, c.expected.height);
    if (c.expected.action != PlacementAction::ResizeOnly) {
      EXPECT_EQ(p.x, c.expected.x);
      EXPECT_EQ(p.y, c.expected.y);
    }
  }
}

TEST(ComputePlacement, AnchorsFlagsAndRounding) {
  const Rect32 window{10, 20, 811, 621};  // 801 x 601
  const Rect32 shifted{100, 50, 1900, 1000};
  using A = PlacementAction;
  const PlacementCase cases[] = {
      {"free point", Geometry(PosFree, -100, 50, 640, 480), window, kWorkArea, {A::MoveAndResize, -100, 50, 640, 480}},
      {"bottom left", Geometry(PosBottomLeft, 7, 7, 800, 600), window, kWorkArea, {A::MoveAndResize, 0, 440, 800, 600}},
      {"bottom right", Geometry(PosBottomRight, 7, 7, 800, 600), window, kWorkArea,
       {A::MoveAndResize, 1120, 440, 800, 600}},
      {"centre of the screen, not the work area", Geometry(PosCenter, 7, 7, 800, 600), window, kWorkArea,
       {A::MoveAndResize, 560, 240, 800, 600}},
      {"top left", Geometry(PosTopLeft, 7, 7, 800, 600), window, kWorkArea, {A::MoveAndResize, 0, 0, 800, 600}},
      {"top right", Geometry(PosTopRight, 7, 7, 800, 600), window, kWorkArea, {A::MoveAndResize, 1120, 0, 800, 600}},
      {"work area not at the origin", Geometry(PosBottomRight, 0, 0, 800, 600), window, shifted,
       {A::MoveAndResize, 1100, 400, 800, 600}},
      {"top left of a shifted work area", Geometry(PosTopLeft, 0, 0, 800, 600), window, shifted,
       {A::MoveAndResize, 100, 50, 800, 600}},
      {"centre ignores a shifted work area", Geometry(PosCenter, 0, 0, 800, 600), window, shifted,
       {A::MoveAndResize, 560, 240, 800, 600}},
      {"unknown anchor keeps Left, Top", Geometry(9, 33, 44, 800, 600), window, kWorkArea,
       {A::MoveAndResize, 33, 44, 800, 600}},
      {"negative anchor keeps Left, Top", Geometry(-1, 33, 44, 800, 600), window, kWorkArea,
       {A::MoveAndResize, 33, 44, 800, 600}},
      // Keeping the size: the corner is computed from the current size.
      {"centre, current odd size rounds toward zero", Geometry(PosCenter, 0, 0, 800, 600, 0, 1), window, kWorkArea,
       {A::MoveOnly, 559, 239, 801, 601}},
      {"bottom right, current size", Geometry(PosBottomRight, 0, 0, 800, 600, 0, 1), window, kWorkArea,
       {A::MoveOnly, 1119, 439, 801, 601}},
      {"unknown anchor still reads the current size", Geometry(8, 5, 6, 800, 600, 0, 1), window, kWorkArea,
       {A::MoveOnly, 5, 6, 801, 601}},
      {"free point ignores the current size", Geometry(PosFree, 5, 6, 800, 600, 0, 1), window, kWorkArea,
       {A::MoveOnly, 5, 6, 800, 600}},
      // A window wider than the screen: a negative quotient rounds toward
      // zero, not down.
      {"centre of a window wider than the screen", Geometry(PosCenter, 0, 0, 1923, 1083), window, kWorkArea,
       {A::MoveAndResize, -1, -1, 1923, 1083}},
      // Only resizing wins over only moving.
      {"DesablePos ignores the computed corner", Geometry(PosTopLeft, 5, 6, 800, 600, 1), window, kWorkArea,
       {A::ResizeOnly, 0, 0, 800, 600}},
      {"both flags, anchored: the current size", Geometry(PosTopRight, 5, 6, 800, 600, 1, 1), window, kWorkArea,
       {A::ResizeOnly, 1119, 0, 801, 601}},
      {"both flags, free: the stored size", Geometry(PosFree, 5, 6, 800, 600, 1, 1), window, kWorkArea,
       {A::ResizeOnly, 5, 6, 800, 600}},
      {"any non-zero value is a set flag", Geometry(PosFree, 5, 6, 800, 600, 0, -7), window, kWorkArea,
       {A::MoveOnly, 5, 6, 800, 600}},
  };
  ExpectPlacements(cases);
}

// Hand-edited sizes near the int32 limits: the sums saturate instead of
// wrapping around to the other side of the screen.
TEST(ComputePlacement, ExtremeValuesSaturate) {
  using A = PlacementAction;
  const Rect32 window{0, 0, 10, 10};
  const Rect32 huge{kMin, kMin, kMax, kMax};  // a rectangle whose width does not fit
  const PlacementCase cases[] = {
      {"bottom right, most negative size", Geometry(PosBottomRight, 0, 0, kMin, kMin), window, kWorkArea,
       {A::MoveAndResize, kMax, kMax, kMin, kMin}},
      {"bottom left, largest height", Geometry(PosBottomLeft, 0, 0, kMax, kMax), window, {0, 0, 0, -10},
       {A::MoveAndResize, 0, kMin, kMax, kMax}},
      {"centre, most negative size", Geometry(PosCenter, 0, 0, kMin, kMin), window, kWorkArea,
       {A::MoveAndResize, 1073742784, 1073742364, kMin, kMin}},
      {"current width beyond int32", Geometry(PosTopLeft, 0, 0, 1, 1, 0, 1), huge, kWorkArea,
       {A::MoveOnly, 0, 0, kMax, kMax}},
      {"free point passes extremes through", Geometry(PosFree, kMin, kMax, kMax, kMin), window, kWorkArea,
       {A::MoveAndResize, kMin, kMax, kMax, kMin}},
  };
  ExpectPlacements(cases);
}

// Windows 10's invisible resize borders: 7 pixels left, right and below.
// Anchors put the visible frame flush with the work area's edges (or centre
// it); free points and stored sizes stay outer numbers.
TEST(ComputePlacement, AnchorsAlignTheVisibleFrame) {
  const FrameMargins win10{7, 0, 7, 7};
  const Rect32 window{10, 20, 811, 621};  // 801 x 601
  using A = PlacementAction;
  const PlacementCase cases[] = {
      {"bottom left", Geometry(PosBottomLeft, 7, 7, 800, 600), window, kWorkArea, {A::MoveAndResize, -7, 447, 800, 600}},
      {"bottom right", Geometry(PosBottomRight, 7, 7, 800, 600), window, kWorkArea,
       {A::MoveAndResize, 1127, 447, 800, 600}},
      // The visible 786 x 593 centred: x as before, y rounds (1080 - 593) / 2 down.
      {"centre", Geometry(PosCenter, 7, 7, 800, 600), window, kWorkArea, {A::MoveAndResize, 560, 243, 800, 600}},
      {"top left", Geometry(PosTopLeft, 7, 7, 800, 600), window, kWorkArea, {A::MoveAndResize, -7, 0, 800, 600}},
      {"top right", Geometry(PosTopRight, 7, 7, 800, 600), window, kWorkArea, {A::MoveAndResize, 1127, 0, 800, 600}},
      {"bottom right keeping the current size", Geometry(PosBottomRight, 0, 0, 800, 600, 0, 1), window, kWorkArea,
       {A::MoveOnly, 1126, 446, 801, 601}},
      {"free point stays the outer corner", Geometry(PosFree, -100, 50, 640, 480), window, kWorkArea,
       {A::MoveAndResize, -100, 50, 640, 480}},
  };
  ExpectPlacements(cases, win10);
  // Uneven margins centre the frame, not the rectangle.
  const Placement p = ComputePlacement(Geometry(PosCenter, 0, 0, 800, 600), window, kWorkArea, kScreenW, kScreenH,
                                       FrameMargins{10, 4, 2, 8});
  EXPECT_EQ(p.x, (1920 - 788) / 2 - 10);
  EXPECT_EQ(p.y, (1080 - 588) / 2 - 4);
}

TEST(InvisibleBorders, OnlyAPlausibleFrameGivesMargins) {
  const Rect32 outer{100, 200, 900, 800};
  struct Case {
    const char* name;
    Rect32 frame;
    FrameMargins expected;
  } cases[] = {
      {"Windows 10 resize borders", {107, 200, 893, 793}, {7, 0, 7, 7}},
      {"the whole rectangle visible", outer, {0, 0, 0, 0}},
      {"the widest border taken", {164, 264, 836, 736}, {64, 64, 64, 64}},
      {"a border too wide: other coordinates", {165, 200, 893, 793}, {0, 0, 0, 0}},
      {"reaching outside the rectangle", {99, 200, 893, 793}, {0, 0, 0, 0}},
      {"an empty frame", {500, 500, 500, 500}, {0, 0, 0, 0}},
      {"far-out numbers do not overflow", {INT32_MIN, 200, INT32_MAX, 793}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FrameMargins m = InvisibleBorders(outer, c.frame);
    EXPECT_EQ(m.left, c.expected.left);
    EXPECT_EQ(m.top, c.expected.top);
    EXPECT_EQ(m.right, c.expected.right);
    EXPECT_EQ(m.bottom, c.expected.bottom);
  }
  const Rect32 visible = VisibleRect(outer, FrameMargins{7, 0, 7, 7});
  EXPECT_EQ(visible.left, 107);
  EXPECT_EQ(visible.top, 200);
  EXPECT_EQ(visible.right, 893);
  EXPECT_EQ(visible.bottom, 793);
}

TEST(PlacementReached, ComparesOnlyWhatThePlacementSets) {
  using A = PlacementAction;
  const Rect32 window{100, 50, 500, 350};  // 400 x 300 at (100, 50)
  struct Case {
    Placement placement;
    bool reached;
    int32_t slack = 0;  // a window scaled by the system lands on rounded pixels
  };
  const Case cases[] = {
      {{A::MoveAndResize, 101, 49, 402, 298}, true, 1},
      {{A::ResizeOnly, 0, 0, 403, 300}, false, 1},
      {{A::MoveOnly, 98, 52, 0, 0}, true, 2},
      {{A::MoveAndResize, 100, 50, 400, 300}, true},
      {{A::MoveAndResize, 100, 50, 400, 301}, false},
      {{A::MoveAndResize, 101, 50, 400, 300}, false},
      {{A::MoveOnly, 100, 50, 999, 999}, true},
      {{A::MoveOnly, 100, 51, 400, 300}, false},
      {{A::ResizeOnly, -7, -7, 400, 300}, true},
      {{A::ResizeOnly, 100, 50, 399, 300}, false},
      // A width no window can have is never reached.
      {{A::MoveAndResize, 100, 50, kMin, 300}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlacementReached(c.placement, window, c.slack), c.reached)
        << static_cast<int>(c.placement.action) << " " << c.placement.x << "," << c.placement.y << " "
        << c.placement.width << "x" << c.placement.height;
  }
  EXPECT_FALSE(PlacementReached({A::MoveAndResize, kMin, kMin, kMax, kMax}, {kMin, kMin, kMax, kMax}));
  const uint32_t slackFor[][3] = {{96, 96, 0}, {96, 144, 1}, {96, 192, 1}, {96, 288, 2}, {144, 96, 1}, {96, 120, 1}};
  for (const auto& d : slackFor) EXPECT_EQ(ScaleRoundingSlack(d[0], d[1]), int32_t(d[2])) << d[0] << "/" << d[1];
}

// After a move that may have crossed onto a monitor of another DPI.
TEST(PlaceOnceMore, WhenTheDpiChangedOrTheWindowWasStretchedOffTheRectangleAskedFor) {
  const Placement asked{PlacementAction::MoveAndResize, 1920, 100, 800, 600};
  const Rect32 reached{1920, 100, 2720, 700}, stretched{1920, 100, 3120, 1000};
  EXPECT_FALSE(PlaceOnceMore({96, 96}, {96, 96}, asked, reached));
  EXPECT_TRUE(PlaceOnceMore({96, 96}, {144, 144}, asked, reached));   // aware: its DPI changed
  EXPECT_TRUE(PlaceOnceMore({96, 96}, {96, 144}, asked, stretched));  // unaware, stretched
  EXPECT_FALSE(PlaceOnceMore({96, 96}, {96, 144}, asked, {1921, 100, 2720, 700}));  // rounded
  EXPECT_FALSE(PlaceOnceMore({96, 96}, {96, 96}, asked, stretched));  // its own size on one scale
}

// Workspace coordinates start at the work area of the window's monitor.
TEST(WorkspaceToScreen, ShiftsByTheWorkAreaOffsetInsideTheMonitor) {
  const Rect32 primary{0, 0, 1920, 1080}, left{-1280, -200, 0, 824}, workspace{10, 20, 330, 260};
  const struct {
    Rect32 monitor, work;
    int32_t left, top;
  } cases[] = {{primary, {0, 0, 1920, 1040}, 10, 20}, {primary, {62, 0, 1920, 1080}, 72, 20},
               {left, {-1280, -160, 0, 824}, 10, 60}};
  for (const auto& c : cases) {
    const Rect32 screen = WorkspaceToScreen(workspace, c.monitor, c.work);
    EXPECT_TRUE(screen.left == c.left && screen.top == c.top && screen.bottom - screen.top == 240) << c.left;
    EXPECT_EQ(ScreenToWorkspace(screen, c.monitor, c.work).top, workspace.top);
  }
  const Rect32 placed = PlacedRect({PlacementAction::ResizeOnly, -10, 20, 640, 480}, workspace);
  EXPECT_TRUE(placed.left == 10 && placed.top == 20 && placed.right == 650 && placed.bottom == 500);
}

struct Rule {
  const char16_t* title;
  const char16_t* cls;
};

std::unique_ptr<WindowTable> MakeTable(std::initializer_list<Rule> rules) {
  auto table = std::make_unique<WindowTable>();
  std::memset(table.get(), 0, sizeof(WindowTable));
  for (const Rule& r : rules) {
    WindowEntry& e = table->Entries[table->Count++];
    U16CopyTruncated(e.Title, kTextCapacity, r.title);
    U16CopyTruncated(e.Class, kTextCapacity, r.cls);
  }
  return table;
}

TEST(MatchWindowEntry, ClassPassBeforeTitlePass) {
  auto table = MakeTable({
      {u"Note", u""},
      {u"Editor", u"Notepad"},
      {u"Untitled", u"QmTarget"},
      {u"Abc", u"notepad"},
      {u"Second", u"Notepad"},
      {u"", u"Empty"},
      {u"Pad - Note", u"Pad"},
  });
  struct Case {
    const char* name;
    U16View cls;
    U16View title;
    int32_t expected;
  } cases[] = {
      {"a later class match beats an earlier title match", u"Notepad", u"Untitled - Notepad", 1},
      {"the first of two equal classes", u"Notepad", u"x", 1},
      {"class is case-sensitive", u"NOTEPAD", u"x", -1},
      {"lower-case class names its own entry", u"notepad", u"", 3},
      {"class is a whole-string comparison", u"Notepa", u"x", -1},
      {"class longer than the entry's", u"Notepad2", u"x", -1},
      {"title substring, first entry in order", u"Other", u"Untitled - Notepad", 0},
      {"title test is case-sensitive", u"Other", u"untitled - notepad", -1},
      {"title found in the middle", u"Other", u"My Editor 2", 1},
      {"whole title equal to the entry's", u"Other", u"Abc", 3},
      {"empty class goes straight to titles", u"", u"Second", 4},
      {"nothing matches", u"Other", u"Calculator", -1},
      {"an empty window title matches nothing", u"Other", u"", -1},
      {"empty-Class entries do not match an empty class", u"", u"zzz", -1},
      {"entry with an empty Title can still match by class", u"Empty", u"zzz", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MatchWindowEntry(*table, c.cls, c.title), c.expected);
  }
}

// The desk's rule names the office monitor, the road's none; a rule whose
// monitor is absent gives way in every pass.
TEST(MatchWindowEntry, ARuleNamingAnAbsentMonitorGivesWay) {
  auto table = MakeTable({{u"Desk", u"Mail"}, {u"Road", u"Mail"}, {u"Note", u""}});
  for (int i : {0, 2}) U16CopyTruncated(table->Entries[i].MonitorName, kTextCapacity, u"Office");
  NamedMonitors office{1, {}}, road{0, {}};
  U16CopyTruncated(office.Monitor[0].Name, kMonitorNameCapacity, u"Office");
  EXPECT_EQ(MatchWindowEntry(*table, u"Mail", u"", {}, &office), 0);
  EXPECT_EQ(MatchWindowEntry(*table, u"Mail", u"", {}, &road), 1);
  EXPECT_EQ(MatchWindowEntry(*table, u"Text", u"Note 1", {}, &road), -1);
  EXPECT_EQ(MatchWindowEntry(*table, u"Text", u"Note 1", {}, nullptr), 2);  // no names checked
}

TEST(TitleMeetsName, WholeAndWildcard) {
  const std::u16string face = u"\U0001F600", twoFaces = face + face, aFaceB = u"a" + face + u"b",
                       longTitle = std::u16string(254, u'x') + u"y";
  const struct { U16View title, name; int32_t match; bool expected; } cases[] = {
      {u"Untitled - Notepad", u"Notepad", MatchContains, true}, {u"Untitled - Notepad", u"Notepad", MatchWhole, false},
      {u"Notepad", u"Notepad", MatchWhole, true}, {u"", u"", MatchWildcard, true}, {u"", u"*", MatchWildcard, true},
      {u"", u"?", MatchWildcard, false}, {u"xab", u"?ab", MatchWildcard, true}, {u"ab", u"ab?", MatchWildcard, false},
      {u"Untitled - Notepad", u"* - Notepad", MatchWildcard, true}, {u"a-b-c-d", u"a*c*d", MatchWildcard, true},
      {u"A - Notepad - x", u"* - Notepad", MatchWildcard, false}, {aFaceB, u"a?b", MatchWildcard, true},
      {twoFaces, u"?", MatchWildcard, false}, {longTitle, u"*y", MatchWildcard, true},
  };
  for (const auto& c : cases) EXPECT_EQ(TitleMeetsName(c.title, c.name, c.match), c.expected) << (&c - cases);
}

TEST(MatchWindowEntry, EmptyTitleRuleNeverCatchesEveryWindow) {
  auto table = MakeTable({{u"", u""}, {u"Later", u""}});
  EXPECT_EQ(MatchWindowTitle(*table, u"Any window at all"), -1);
  EXPECT_EQ(MatchWindowTitle(*table, u"The Later one"), 1);
  EXPECT_EQ(MatchWindowClass(*table, u""), -1);
}

TEST(MatchWindowEntry, EmptyTableAndFullTable) {
  auto empty = MakeTable({});
  EXPECT_EQ(MatchWindowEntry(*empty, u"Notepad", u"Notepad"), -1);

  auto full = MakeTable({});
  for (int32_t i = 0; i < kMaxEntries; ++i) {
    WindowEntry& e = full->Entries[i];
    U16CopyTruncated(e.Title, kTextCapacity, u"Title");
    U16CopyTruncated(e.Class, kTextCapacity, u"Class");
    e.Title[5] = e.Class[5] = static_cast<char16_t>(u'A' + i % 26);
    e.Title[6] = e.Class[6] = static_cast<char16_t>(u'A' + i / 26);
    e.Title[7] = e.Class[7] = u'\0';
  }
  full->Count = kMaxEntries;
  EXPECT_EQ(MatchWindowEntry(*full, u"ClassRT", u"x"), kMaxEntries - 1);  // 511 = 'R' + 26 * 'T'
  EXPECT_EQ(MatchWindowEntry(*full, u"x", u"[TitleRT]"), kMaxEntries - 1);
  // A full-length text compares whole.
  char16_t longClass[kTextCapacity];
  for (int i = 0; i < kTextCapacity - 1; ++i) longClass[i] = u'c';
  longClass[kTextCapacity - 1] = u'\0';
  U16CopyTruncated(full->Entries[3].Class, kTextCapacity, U16ViewOf(longClass));
  EXPECT_EQ(MatchWindowClass(*full, U16ViewOf(longClass)), 3);
  EXPECT_EQ(MatchWindowClass(*full, U16View(longClass, kTextCapacity - 2)), -1);
}

TEST(ApplyFrameStyle, ChangesOnlyTheThreeFrameBits) {
  constexpr uint32_t kCaption = kStyleBorder | kStyleDialogFrame;
  constexpr uint32_t kOther = 0x10000000u | 0x00080000u | 0x00020000u | 0x00010000u | 0x04000000u | 0x0000BEEFu;
  struct Case {
    const char* name;
    int32_t border, dialogFrame, thickFrame;
    uint32_t before;
    uint32_t expected;
  } cases[] = {
      {"caption and sizing frame to thin border", 1, 0, 0, kOther | kCaption | kStyleThickFrame, kOther | kStyleBorder},
      {"nothing to all three", 1, 1, 1, kOther, kOther | kCaption | kStyleThickFrame},
      {"all three cleared", 0, 0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu & ~(kCaption | kStyleThickFrame)},
      {"dialog frame only", 0, 1, 0, kStyleBorder | kStyleThickFrame, kStyleDialogFrame},
      {"any non-zero value sets", -1, 2, 0, 0, kCaption},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowEntry entry{};
    entry.Border = c.border;
    entry.DialogFrame = c.dialogFrame;
    entry.ThickFrame = c.thickFrame;
    EXPECT_EQ(ApplyFrameStyle(c.before, entry), c.expected);
  }
}

TEST(PresetItemText, FormatsPositionAndSize) {
  const char16_t* texts[kPosCount] = {u" 任意 ", u" 左下 ", u" 右下 ", u" 中央 ", u" 左上 ", u" 右上 "};
  AnchorTexts anchors{};
  for (int i = 0; i < kPosCount; ++i) anchors.Text[i] = texts[i];
  struct Case {
    const char* name;
    EntryGeometry entry;
    const char16_t* expected;
  } cases[] = {
      {"free preset", Geometry(PosFree, 10, 20, 640, 480), u"( 10 , 20 ) [ 640 x 480 ]"},
      {"centred, size kept", Geometry(PosCenter, 0, 0, 640, 480, 0, 1), u"( 中央 ) [ ]"},
      {"resize only", Geometry(PosTopLeft, 0, 0, 800, 600, 1, 0), u"( ) [ 800 x 600 ]"},
      {"negative point", Geometry(PosFree, -1920, -5, 1, 2), u"( -1920 , -5 ) [ 1 x 2 ]"},
      {"unknown anchor shows the point", Geometry(12, 3, 4, 5, 6), u"( 3 , 4 ) [ 5 x 6 ]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char16_t out[kPresetItemCapacity];
    PresetItemText(c.entry, anchors, out);
    EXPECT_TRUE(U16ViewOf(out) == U16ViewOf(c.expected));
  }
}

TEST(PresetItemText, LongAnchorTextsStayInTheBuffer) {
  char16_t longText[kTextCapacity];
  for (int i = 0; i < kTextCapacity - 1; ++i) longText[i] = u'x';
  longText[kTextCapacity - 1] = u'\0';
  AnchorTexts anchors{};
  for (int i = 0; i < kPosCount; ++i) anchors.Text[i] = longText;
  char16_t out[kPresetItemCapacity + 1];
  out[kPresetItemCapacity] = u'!';
  PresetItemText(Geometry(PosCenter, 0, 0, kMin, kMin), anchors, out);
  EXPECT_EQ(out[kPresetItemCapacity], u'!');
  EXPECT_EQ(U16Length(out), size_t{1 + 255 + 3 + U16Length(u" -2147483648 x -2147483648 ") + 1});
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

// Shares of an odd-sized work area with a sizing frame's invisible borders:
// the visible frames of neighbours meet on one pixel edge.
TEST(ComputePlacement, SharesOfTheWorkAreaRoundEdgesNotSizes) {
  const Rect32 work{0, 0, 1921, 1041}, second{-800, -200, 0, 400}, win{10, 20, 310, 220};
  const PlacementAction both = PlacementAction::MoveAndResize;
  const PlacementCase cases[] = {
      {"left half", Geometry(PosFree, 0, 0, 5000, 10000, 0, 0, UnitShare), win, work, {both, -7, 0, 975, 1048}},
      {"right half", Geometry(PosFree, 5000, 0, 5000, 10000, 0, 0, UnitShare), win, work, {both, 954, 0, 974, 1048}},
      {"middle third", Geometry(PosFree, 3333, 0, 3334, 5000, 0, 0, UnitShare), win, work, {both, 633, 0, 655, 528}},
      {"bottom right", Geometry(PosBottomRight, 0, 0, 5000, 5000, 0, 0, UnitShare), win, work, {both, 953, 520, 975, 528}},
      {"above left", Geometry(PosFree, 5000, 5000, 5000, 5000, 0, 0, UnitShare), win, second, {both, -407, 100, 414, 307}},
      {"size kept", Geometry(PosFree, 5000, 0, 5000, 5000, 0, 1, UnitShare), win, work, {PlacementAction::MoveOnly, 954, 0, 974, 528}},
  };
  ExpectPlacements(cases, FrameMargins{7, 0, 7, 7});
  // "Get" in shares, then the rule: the same frame on any work area size,
  // also a frame reaching past the work area.
  for (const Rect32 area : {work, second, Rect32{0, 0, 3841, 2160}, Rect32{0, 0, 7, 3}}) {
    for (const Rect32 frame : {Rect32{area.left + 3, area.top + 1, area.right - 2, area.bottom},
                               Rect32{area.left - 50, area.top - 9, area.left + 1, area.top + 2}}) {
      const ShareRect shares = SharesOfFrame(frame, area);
      const EntryGeometry rule = Geometry(PosFree, shares.left, shares.top, shares.width, shares.height, 0, 0, UnitShare);
      const Placement back = ComputePlacement(rule, win, PlacementArea{area, area});
      EXPECT_TRUE(back.x == frame.left && back.y == frame.top && back.width == frame.right - frame.left &&
                  back.height == frame.bottom - frame.top)
          << area.right << " x " << area.bottom << " from " << frame.left;
    }
  }
}

}  // namespace
}  // namespace qm
