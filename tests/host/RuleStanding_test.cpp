#include "placement/RuleStanding.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

constexpr uint32_t kMinimize = 0x20000000;  // WS_MINIMIZE

TEST(ExplainWindow, FirstReasonThatHoldsWins) {
  struct Case {
    const char* name;
    StandingFacts facts;
    RuleStanding expected;
  } cases[] = {
      {"no entry: nothing else read counts", {-1, true, false, kMinimize, true, true}, {-1, RuleReason::NoEntry}},
      {"elevated before not answering", {2, true, false, 0, false, false}, {2, RuleReason::Elevated}},
      {"not answering before its state", {2, false, false, kMinimize, false, false}, {2, RuleReason::NotAnswering}},
      {"minimised", {0, false, true, kMinimize, true, false}, {0, RuleReason::MinOrMax}},
      {"moved by the user, which outranks the hold giving up", {0, false, true, 0, true, true},
       {0, RuleReason::MovedByUser}},
      {"the hold gave up", {3, false, true, 0, false, true}, {3, RuleReason::HoldGaveUp}},
      {"its monitor absent before all else", {3, true, false, kMinimize, true, true, true},
       {3, RuleReason::MonitorAbsent}},
      {"applies", {5, false, true, 0, false, false}, {5, RuleReason::Applies}},
  };
  for (const auto& c : cases) {
    const RuleStanding got = ExplainWindow(c.facts);
    EXPECT_EQ(got.entry, c.expected.entry) << c.name;
    EXPECT_EQ(got.reason, c.expected.reason) << c.name;
  }
}

TEST(StandingText, EntryCountedFromOneAndReasonWithItsEntry) {
  WindowTable rules{};
  rules.Count = 2;
  std::u16string longName(300, u'x');
  std::char_traits<char16_t>::copy(rules.Entries[1].Title, u"Editor", 7);
  const U16View reasons[kRuleReasonCount] = {u"",    u"No entry", u"Absent", u"Elevated",
                                             u"Hung", u"MinMax",   u"Moved",  u"Gave up"};
  struct Case {
    RuleStanding standing;
    std::u16string expected;
  } cases[] = {
      {{1, RuleReason::Applies}, u"2 Editor"},
      {{1, RuleReason::Elevated}, u"Elevated (2 Editor)"},
      {{-1, RuleReason::NoEntry}, u"No entry"},
      {{7, RuleReason::Applies}, u""},  // an index past the table names nothing
  };
  char16_t out[kTextCapacity];
  for (const auto& c : cases) {
    StandingText(c.standing, rules, reasons, out);
    EXPECT_TRUE(out == c.expected) << static_cast<int>(c.standing.reason);
  }
  const U16View longReasons[kRuleReasonCount] = {u"", longName, longName, longName, longName, longName, longName};
  StandingText({1, RuleReason::Elevated}, rules, longReasons, out);
  EXPECT_EQ(std::char_traits<char16_t>::length(out), static_cast<size_t>(kTextCapacity - 1));
}

}  // namespace
}  // namespace qm
