#include "entries/EntryTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace qm {
namespace {

std::unique_ptr<WindowTable> WindowsTitled(std::initializer_list<const char16_t*> titles) {
  auto table = std::make_unique<WindowTable>();
  for (const char16_t* title : titles) {
    WindowEntry& e = table->Entries[table->Count++];
    U16CopyTruncated(e.Title, kTextCapacity, title);
    e.Left = table->Count;  // tells equal titles apart
  }
  return table;
}

std::vector<std::u16string> Titles(const WindowTable& table) {
  std::vector<std::u16string> titles;
  for (int32_t i = 0; i < table.Count; ++i) titles.emplace_back(U16ViewOf(table.Entries[i].Title));
  return titles;
}

using Titles_t = std::vector<std::u16string>;

TEST(EntryTable, WindowSortIsOrdinalByCodeUnit) {
  auto table = WindowsTitled({u"abc", u"a", u"Z", u"Abc", u"", u"\u4e2d", u"\U0001F600", u"\uff21", u"ab"});
  SortWindowTable(*table);
  // Upper case before lower case, and a surrogate pair (D83D) before U+FF21:
  // code units, not code points or locale order.
  EXPECT_EQ(Titles(*table), (Titles_t{u"", u"Abc", u"Z", u"a", u"ab", u"abc", u"\u4e2d", u"\U0001F600", u"\uff21"}));
}

TEST(EntryTable, WindowSortKeepsWholeEntriesTogether) {
  auto table = WindowsTitled({u"b", u"a"});
  U16CopyTruncated(table->Entries[0].Class, kTextCapacity, u"ClassOfB");
  table->Entries[0].ThickFrame = 1;
  SortWindowTable(*table);
  EXPECT_EQ(U16ViewOf(table->Entries[1].Class), U16View(u"ClassOfB"));
  EXPECT_EQ(table->Entries[1].ThickFrame, 1);
  EXPECT_EQ(table->Entries[1].Left, 1);
  EXPECT_EQ(table->Entries[0].Left, 2);
}

TEST(EntryTable, MenuSortByPosThenLeftTopWidthHeight) {
  struct Geometry {
    int32_t pos, left, top, width, height;
  };
  const Geometry input[] = {
      {PosCenter, 0, 0, 100, 100}, {PosFree, 10, 5, 100, 100}, {PosFree, -10, 99, 100, 100},
      {PosFree, 10, 5, 50, 100},   {PosFree, 10, 5, 50, 20},     {PosFree, 10, -5, 999, 999},
      {PosTopLeft, -50, 0, 1, 1},  {PosBottomLeft, 7, 7, 7, 7},   {PosFree, 0, 0, 0, 0},
  };
  const Geometry expected[] = {
      {PosFree, -10, 99, 100, 100}, {PosFree, 0, 0, 0, 0},     {PosFree, 10, -5, 999, 999},
      {PosFree, 10, 5, 50, 20},     {PosFree, 10, 5, 50, 100}, {PosFree, 10, 5, 100, 100},
      {PosBottomLeft, 7, 7, 7, 7},  {PosCenter, 0, 0, 100, 100}, {PosTopLeft, -50, 0, 1, 1},
  };
  auto table = std::make_unique<MenuTable>();
  for (const Geometry& g : input) {
    MenuEntry& e = table->Entries[table->Count++];
    e.Pos = g.pos;
    e.Left = g.left;
    e.Top = g.top;
    e.Width = g.width;
    e.Height = g.height;
    e.DesablePos = g.left;  // takes no part in the order
  }
  SortMenuTable(*table);
  for (int32_t i = 0; i < table->Count; ++i) {
    const MenuEntry& e = table->Entries[i];
    EXPECT_EQ(e.Pos, expected[i].pos) << i;
    EXPECT_EQ(e.Left, expected[i].left) << i;
    EXPECT_EQ(e.Top, expected[i].top) << i;
    EXPECT_EQ(e.Width, expected[i].width) << i;
    EXPECT_EQ(e.Height, expected[i].height) << i;
    EXPECT_EQ(e.DesablePos, e.Left) << i;
  }
}

TEST(EntryTable, DeletionKeepsOrderAndClearsTheTail) {
  struct Case {
    const char* what;
    std::vector<int32_t> selected;
    Titles_t expected;
  };
  const Case cases[] = {
      {"two apart", {0, 2}, {u"B", u"D"}},
      {"all", {0, 1, 2, 3}, {}},
      {"last", {3}, {u"A", u"B", u"C"}},
      {"first run", {0, 1}, {u"C", u"D"}},
      {"none", {}, {u"A", u"B", u"C", u"D"}},
      {"out of range ignored", {-1, 1, 4, 9}, {u"A", u"C", u"D"}},
      {"descending tail ignored", {2, 0}, {u"A", u"B", u"D"}},
      {"repeated index once", {1, 1}, {u"A", u"C", u"D"}},
  };
  for (const Case& c : cases) {
    auto table = WindowsTitled({u"A", u"B", u"C", u"D"});
    DeleteWindowEntries(*table, c.selected.data(), static_cast<int32_t>(c.selected.size()));
    EXPECT_EQ(Titles(*table), c.expected) << c.what;
    const WindowEntry zero{};
    for (int32_t i = table->Count; i < 4; ++i) {
      EXPECT_EQ(std::memcmp(&table->Entries[i], &zero, sizeof zero), 0) << c.what << " slot " << i;
    }
  }
}

TEST(EntryTable, MenuDeletionMatchesWindowDeletion) {
  auto table = std::make_unique<MenuTable>();
  for (int32_t i = 0; i < 4; ++i) table->Entries[table->Count++].Left = 10 * i;
  const int32_t selected[] = {0, 2};
  DeleteMenuEntries(*table, selected, 2);
  ASSERT_EQ(table->Count, 2);
  EXPECT_EQ(table->Entries[0].Left, 10);
  EXPECT_EQ(table->Entries[1].Left, 30);
  EXPECT_EQ(table->Entries[2].Left, 0);
}

TEST(EntryTable, ClassRegistrationIsExactAndNeverForEmpty) {
  auto table = WindowsTitled({u"x", u"y"});
  U16CopyTruncated(table->Entries[1].Class, kTextCapacity, u"Notepad");
  // Entry 0 has an empty class, which must not make "" count as registered.
  EXPECT_FALSE(IsClassRegistered(*table, u""));
  EXPECT_TRUE(IsClassRegistered(*table, u"Notepad"));
  EXPECT_FALSE(IsClassRegistered(*table, u"notepad"));
  EXPECT_FALSE(IsClassRegistered(*table, u"Notepad "));
  EXPECT_FALSE(IsClassRegistered(*table, u"Note"));
  table->Count = 1;  // entries behind the count are not entries
  EXPECT_FALSE(IsClassRegistered(*table, u"Notepad"));
}

const AnchorTexts Anchors = {{u" 任意 ", u" 左下 ", u" 右下 ", u" 中央 ", u" 左上 ", u" 右上 "},
                             {u"主モニター", u"ウィンドウのあるモニター", u"マウスのあるモニター"}};

std::u16string Position(const EntryGeometry& e) {
  char16_t out[kTextCapacity];
  PositionText(e, Anchors, out);
  return std::u16string(U16ViewOf(out));
}

std::u16string Size(const EntryGeometry& e) {
  char16_t out[kTextCapacity];
  SizeText(e, out);
  return std::u16string(U16ViewOf(out));
}

TEST(EntryTable, PositionTextByFlagAndAnchor) {
  struct Case {
    int32_t desablePos, pos, left, top;
    const char16_t* expected;
  };
  const Case cases[] = {
      {0, PosFree, 10, -20, u" 10 , -20 "},
      {0, PosCenter, 10, 20, u" 中央 "},
      {0, PosBottomLeft, 0, 0, u" 左下 "},
      {0, PosTopRight, 0, 0, u" 右上 "},
      {1, PosCenter, 10, 20, u" "},
      {1, PosFree, 10, 20, u" "},
      {-7, PosFree, 10, 20, u" "},  // any non-zero flag is set
      {0, 6, 3, 4, u" 3 , 4 "},     // outside 0..5: placed at Left, Top, shown so
      {0, -1, 3, 4, u" 3 , 4 "},
      {0, PosFree, INT32_MIN, INT32_MAX, u" -2147483648 , 2147483647 "},
  };
  for (const Case& c : cases) {
    EntryGeometry e{};
    e.DesablePos = c.desablePos;
    e.Pos = c.pos;
    e.Left = c.left;
    e.Top = c.top;
    EXPECT_EQ(Position(e), c.expected) << c.pos;
  }
}

// Only an anchor that is computed on another monitor than the primary names
// it; the default, a free point and a kept position read as they always did.
TEST(EntryTable, PositionTextNamesAMonitorOtherThanThePrimary) {
  struct Case {
    int32_t desablePos, pos, monitor;
    const char16_t* expected;
  };
  const Case cases[] = {
      {0, PosTopRight, MonitorPrimary, u" 右上 "},
      {0, PosTopRight, MonitorOfWindow, u" 右上 / ウィンドウのあるモニター "},
      {0, PosCenter, MonitorOfPointer, u" 中央 / マウスのあるモニター "},
      {0, PosFree, MonitorOfPointer, u" 5 , 6 "},
      {1, PosCenter, MonitorOfWindow, u" "},
      {0, PosCenter, 7, u" 中央 "},  // an unknown choice places on the primary monitor
      {0, PosCenter, -1, u" 中央 "},
  };
  for (const Case& c : cases) {
    EntryGeometry e{};
    e.DesablePos = c.desablePos;
    e.Pos = c.pos;
    e.Left = 5;
    e.Top = 6;
    e.Monitor = c.monitor;
    EXPECT_EQ(Position(e), c.expected) << c.pos << " " << c.monitor;
  }
}

TEST(EntryTable, SizeTextByFlag) {
  EntryGeometry e{};
  e.Width = 800;
  e.Height = -600;
  EXPECT_EQ(Size(e), u" 800 x -600 ");
  e.DesableSize = 1;
  EXPECT_EQ(Size(e), u" ");
  const EntryGeometry share{0, -5, 3333, PosFree, 0, 5000, 10000, MonitorPrimary, UnitShare, {}, {}};  // as percentages
  EXPECT_EQ(Position(share), u" -0.05% , 33.33% ");
  EXPECT_EQ(Size(share), u" 50% x 100% ");
}

}  // namespace
}  // namespace qm
