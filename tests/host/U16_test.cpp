#include "base/U16.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(U16, FormatIntCoversTheWholeSignedRange) {
  struct Case { int32_t value; const char16_t* text; };
  const Case cases[] = {{0, u"0"}, {-100, u"-100"}, {2147483647, u"2147483647"}, {INT32_MIN, u"-2147483648"}};
  for (const Case& c : cases) {
    char16_t out[12];
    size_t len = U16FormatInt(c.value, out);
    EXPECT_EQ(U16View(out, len), U16View(c.text)) << c.value;
  }
}

TEST(U16, CopyTruncatedCutsAndTerminates) {
  char16_t out[4];
  EXPECT_EQ(U16CopyTruncated(out, 4, u"abcdef"), 3u);
  EXPECT_EQ(U16ViewOf(out), U16View(u"abc"));
  EXPECT_EQ(U16CopyTruncated(out, 4, u""), 0u);
  EXPECT_EQ(out[0], u'\0');
}

}  // namespace
}  // namespace qm
