#include "base/DpiScale.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace qm {
namespace {

// What the program draws at the common display scales, and at the edges: an
// unknown DPI (0) must leave sizes as they are on an unscaled display.
TEST(DpiScale, SizesAtEachScale) {
  struct Case {
    uint32_t dpi;
    int32_t fontHeight;  // Tahoma 9 pt
    SizeForDpi readout;
    ToolbarImageSet images;
    int32_t caption;  // a 23-pixel caption metric
  } cases[] = {
      {96, -12, {160, 46}, ToolbarImageSet::Small, 23},   // 100 %
      {0, -12, {160, 46}, ToolbarImageSet::Small, 23},    // unknown: as 100 %
      {108, -14, {180, 52}, ToolbarImageSet::Small, 26},  // 112.5 %: images 18 px, nearer 16
      {120, -15, {200, 58}, ToolbarImageSet::Large, 29},  // 125 %: images 20 px, a tie goes to 24
      {144, -18, {240, 69}, ToolbarImageSet::Large, 35},  // 150 %
      {192, -24, {320, 92}, ToolbarImageSet::Large, 46},  // 200 %
      {72, -9, {120, 35}, ToolbarImageSet::Small, 17},    // below 96: halves round away from zero
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(FontHeightForDpi(9, c.dpi), c.fontHeight);
    SizeForDpi readout = ReadoutSizeForDpi(c.dpi);
    EXPECT_EQ(readout.width, c.readout.width);
    EXPECT_EQ(readout.height, c.readout.height);
    EXPECT_EQ(ToolbarImagesForDpi(c.dpi), c.images);
    EXPECT_EQ(ScaleForDpi(23, c.dpi), c.caption);
  }
}

// Scaling between two DPIs, as a window moving from one monitor to another
// needs it: signs, rounding and values far out of range.
TEST(DpiScale, ScaleBetweenDpis) {
  struct Case {
    int32_t value;
    uint32_t from, to;
    int32_t expected;
  } cases[] = {
      {-12, 96, 144, -18},
      {-18, 144, 96, -12},
      {7, 96, 120, 9},      // 8.75
      {-7, 96, 120, -9},    // -8.75: negative rounds the same way
      {1, 96, 144, 2},      // 1.5: half away from zero
      {-1, 96, 144, -2},
      {5, 144, 0, 3},       // unknown target DPI: 96
      {INT32_MAX, 96, 192, INT32_MAX},  // saturates instead of wrapping
      {INT32_MIN, 96, 192, INT32_MIN},
      {0, 96, 4000000000u, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " " << c.from << "->" << c.to);
    EXPECT_EQ(ScaleBetweenDpi(c.value, c.from, c.to), c.expected);
  }
}

}  // namespace
}  // namespace qm
