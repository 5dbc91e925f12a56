#include "dialogs/WindowListOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace qm {
namespace {

TEST(DialogsWindowListOrder, ClicksAlternateStartingAscending) {
  int32_t direction = SortNone;
  const int32_t expected[] = {SortAscending, SortDescending, SortAscending, SortDescending};
  for (int32_t next : expected) {
    direction = NextSortDirection(direction);
    EXPECT_EQ(direction, next);
  }
}

TEST(DialogsWindowListOrder, SortsOrdinallyWithEmptyTitlesFirst) {
  std::vector<U16View> titles = {u"a", u"B", u"", u"Zeta", u"\u30E1\u30E2", u"A", u"", u"b"};
  std::stable_sort(titles.begin(), titles.end(),
                   [](U16View x, U16View y) { return CompareWindowRowTexts(x, y, SortAscending) < 0; });
  const std::vector<U16View> ascending = {u"", u"", u"A", u"B", u"Zeta", u"a", u"b", u"\u30E1\u30E2"};
  EXPECT_EQ(titles, ascending);

  std::stable_sort(titles.begin(), titles.end(),
                   [](U16View x, U16View y) { return CompareWindowRowTexts(x, y, SortDescending) < 0; });
  const std::vector<U16View> descending(ascending.rbegin(), ascending.rend());
  EXPECT_EQ(titles, descending);
  EXPECT_EQ(CompareWindowRowTexts(u"same", u"same", SortDescending), 0);
}

}  // namespace
}  // namespace qm
