// Rectangles in screen pixels as the portable core sees them: signed 32-bit
// coordinates, origin at the primary screen's top-left corner, right and
// bottom exclusive.
#pragma once

#include <cstdint>

namespace qm {

struct Rect32 {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

}  // namespace qm
