#include "dialogs/NumberBox.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

TEST(DialogsNumberBox, ParsesSignedNumbersAndGivesZeroForTheRest) {
  struct Case { const char16_t* text; int32_t value; };
  const Case cases[] = {
      {u"", 0},
      {u"0", 0},
      {u"100", 100},
      {u"-100", -100},
      {u"-1920", -1920},
      {u"   42", 42},          // leading blanks are skipped
      {u"\t-7", -7},
      {u"12abc", 12},          // digits up to the first other character
      {u"007", 7},
      {u"-0", 0},
      {u"-", 0},               // a sign still waiting for its digits
      {u"abc", 0},
      {u"--5", 0},
      {u"+5", 0},
      {u"- 5", 0},
      {u"2147483647", 2147483647},
      {u"-2147483648", INT32_MIN},
      // Outside the signed range: stored as 0, never wrapped or clamped into
      // some other coordinate.
      {u"2147483648", 0},
      {u"4294967196", 0},
      {u"-2147483649", 0},
      {u"99999999999999999999999", 0},
      {u"0000000000000000000000012", 12},
      {u"\uFF0D\uFF11\uFF12", -12},   // full-width, as an input method may leave it
      {u"\uFF13\uFF4B", 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseNumberBoxText(c.text), c.value) << std::u16string(c.text).size();
  }
}

TEST(DialogsNumberBox, EveryFormattedValueReadsBackUnchanged) {
  // What the dialog shows ("%d") must come back from OK as it was.
  const int32_t values[] = {0, 1, -1, 100, -100, -1920, -1080, 3839, 2147483647, INT32_MIN, INT32_MIN + 1};
  for (int32_t value : values) {
    char16_t text[12];
    U16FormatInt(value, text);
    EXPECT_EQ(ParseNumberBoxText(U16ViewOf(text)), value);
    EXPECT_TRUE(IsNumberBoxText(U16ViewOf(text), u"", u"")) << value;
  }
}

TEST(DialogsNumberBox, TakesDigitsAndMinusSignsIncludingFullWidthForms) {
  struct Case { char16_t typed; char16_t taken; };
  const Case cases[] = {
      {u'0', u'0'}, {u'9', u'9'}, {u'-', u'-'},
      {u'\uFF10', u'0'}, {u'\uFF15', u'5'}, {u'\uFF19', u'9'},  // full-width digits
      {u'\uFF0D', u'-'}, {u'\u2212', u'-'},                      // full-width hyphen, minus sign
      {u'+', 0}, {u' ', 0}, {u'a', 0}, {u'.', 0}, {u'\uFF0B', 0}, {u'\u4E00', 0}, {u'/', 0}, {u':', 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NumberBoxChar(c.typed), c.taken) << static_cast<int>(c.typed);
  }
}

TEST(DialogsNumberBox, AcceptsOnlyOneLeadingMinusSign) {
  struct Case { const char16_t* before; const char16_t* inserted; const char16_t* after; bool ok; };
  const Case cases[] = {
      {u"", u"-", u"", true},
      {u"", u"-", u"100", true},     // sign typed in front of a number
      {u"-", u"1", u"", true},
      {u"12", u"3", u"", true},
      {u"", u"", u"", true},         // everything deleted
      {u"1", u"-", u"", false},      // sign after a digit
      {u"-", u"-", u"", false},
      {u"", u"-", u"-5", false},     // a second sign in front of the first
      {u"", u"5", u"-3", false},     // a digit in front of the sign
      {u"", u"12-3", u"", false},
      {u"", u"1 2", u"", false},
      {u"", u"-1920", u"", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsNumberBoxText(c.before, c.inserted, c.after), c.ok)
        << std::u16string(c.before).size() << "/" << std::u16string(c.inserted).size();
  }
}

TEST(DialogsNumberBox, NormalizesPastedText) {
  struct Case { const char16_t* pasted; const char16_t* result; };  // nullptr: refused
  const Case cases[] = {
      {u"-1920", u"-1920"},
      {u"  -1920\r\n", u"-1920"},
      {u"\uFF0D\uFF11\uFF12", u"-12"},
      {u"", u""},
      {u"12 34", nullptr},
      {u"1,920", nullptr},
      {u"abc", nullptr},
  };
  for (const Case& c : cases) {
    char16_t out[16];
    const int32_t length = NormalizePastedNumber(c.pasted, out, 16);
    if (c.result == nullptr) {
      EXPECT_EQ(length, -1);
    } else {
      ASSERT_GE(length, 0);
      EXPECT_EQ(U16View(out, static_cast<size_t>(length)), U16View(c.result));
      EXPECT_EQ(out[length], u'\0');
    }
  }
  char16_t small[4];
  EXPECT_EQ(NormalizePastedNumber(u"1234", small, 4), -1);  // does not fit with its terminator
  EXPECT_EQ(NormalizePastedNumber(u"123", small, 4), 3);
}

}  // namespace
}  // namespace qm
