#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>

#include <vector>

namespace qm {
namespace {

TEST(ParseCommand, NamesNumbersAndHandles) {
  struct Case {
    std::vector<U16View> args;
    CommandKind kind;
    int32_t preset;
    uint64_t window;
  } cases[] = {
      {{}, CommandKind::None, 0, 0},
      {{u"/APPLY"}, CommandKind::Apply, 0, 0},
      {{u"-list"}, CommandKind::List, 0, 0},
      {{u"/Exit"}, CommandKind::Exit, 0, 0},
      {{u"/preset", u"3"}, CommandKind::Preset, 3, 0},
      {{u"-PRESET", u"12", u"/Window", u"0x1A2b"}, CommandKind::Preset, 12, 0x1A2B},
      {{u"/preset", u"1", u"-window", u"FFFFFFFFFFFFFFFF"}, CommandKind::Preset, 1, 0xFFFFFFFFFFFFFFFF},
      {{u"apply"}, CommandKind::Usage, 0, 0},              // no switch mark
      {{u"/list", u"extra"}, CommandKind::Usage, 0, 0},
      {{u"/preset"}, CommandKind::Usage, 0, 0},            // missing N
      {{u"/preset", u"0"}, CommandKind::Usage, 0, 0},      // counted from 1
      {{u"/preset", u"-1"}, CommandKind::Usage, 0, 0},
      {{u"/preset", u"99999999999"}, CommandKind::Usage, 0, 0},
      {{u"/preset", u"2", u"/window"}, CommandKind::Usage, 0, 0},
      {{u"/preset", u"2", u"/window", u"0"}, CommandKind::Usage, 0, 0},
      {{u"/preset", u"2", u"/window", u"12345678901234567"}, CommandKind::Usage, 0, 0},
      {{u"/preset", u"2", u"/window", u"xyz"}, CommandKind::Usage, 0, 0},
      {{u"/"}, CommandKind::Usage, 0, 0},
  };
  for (const auto& c : cases) {
    const Command got = ParseCommand(c.args.data(), static_cast<int>(c.args.size()));
    EXPECT_EQ(got.kind, c.kind) << c.args.size();
    if (c.kind == CommandKind::Preset) {
      EXPECT_EQ(got.preset, c.preset);
      EXPECT_EQ(got.window, c.window);
    }
  }
}

TEST(ListLine, HandleRoundTripsAndFieldsStayOneLine) {
  char16_t handle[kHandleTextCapacity];
  EXPECT_TRUE(U16View(handle, HandleText(0x123456789AULL, handle)) == u"123456789A");
  HandleText(0xBEEF, handle);
  EXPECT_TRUE(U16ViewOf(handle) == u"0000BEEF");
  const U16View args[] = {u"/preset", u"1", u"/window", U16ViewOf(handle)};
  EXPECT_EQ(ParseCommand(args, 4).window, 0xBEEFu);

  char16_t line[kListLineCapacity];
  const U16View fields[kListFields] = {u"00000010", u"Cls", u"a\tb\r\nc", u"p.exe", u"", u"1 Rule"};
  EXPECT_TRUE(U16View(line, ListLine(fields, line)) == u"00000010\tCls\ta b  c\tp.exe\t\t1 Rule\r\n");
  const std::u16string longest(400, u'x');
  const U16View full[kListFields] = {longest, longest, longest, longest, longest, longest};
  EXPECT_EQ(ListLine(full, line), 6u * 255 + 5 + 2);  // each field cut, tabs, CR LF
}

}  // namespace
}  // namespace qm
