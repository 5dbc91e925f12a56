#include "hook/ReadoutText.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace qm {
namespace {

TEST(ReadoutText, CornersAndSizeInThreeLines) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  struct Case {
    const char* name;
    int32_t left, top, right, bottom;
    const char16_t* expected;
  } cases[] = {
      {"ordinary rectangle", 100, 50, 740, 530, u"( 100 , 50 ) ( 740 , 50 )\n[ 640 x 480 ]\n( 100 , 530 ) ( 740 , 530 )"},
      {"zero rectangle", 0, 0, 0, 0, u"( 0 , 0 ) ( 0 , 0 )\n[ 0 x 0 ]\n( 0 , 0 ) ( 0 , 0 )"},
      {"right left of left: negative width, not clamped", 300, 10, 100, 5,
       u"( 300 , 10 ) ( 100 , 10 )\n[ -200 x -5 ]\n( 300 , 5 ) ( 100 , 5 )"},
      {"monitor left of and above the primary", -1920, -1080, -1000, -500,
       u"( -1920 , -1080 ) ( -1000 , -1080 )\n[ 920 x 580 ]\n( -1920 , -500 ) ( -1000 , -500 )"},
      {"size beyond int32 does not wrap", kMin, kMin, kMax, kMax,
       u"( -2147483648 , -2147483648 ) ( 2147483647 , -2147483648 )\n[ 4294967295 x 4294967295 ]\n"
       u"( -2147483648 , 2147483647 ) ( 2147483647 , 2147483647 )"},
      {"most negative size", kMax, kMax, kMin, kMin,
       u"( 2147483647 , 2147483647 ) ( -2147483648 , 2147483647 )\n[ -4294967295 x -4294967295 ]\n"
       u"( 2147483647 , -2147483648 ) ( -2147483648 , -2147483648 )"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char16_t out[kReadoutTextCapacity + 1];
    out[kReadoutTextCapacity] = u'!';
    ReadoutText(c.left, c.top, c.right, c.bottom, out);
    EXPECT_TRUE(std::u16string(out) == c.expected);
    EXPECT_EQ(out[kReadoutTextCapacity], u'!');
  }
}

}  // namespace
}  // namespace qm
