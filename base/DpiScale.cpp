#include "base/DpiScale.h"

namespace qm {

namespace {

constexpr int32_t kReadoutWidth = 160;
constexpr int32_t kReadoutHeight = 46;
constexpr int32_t kSmallImage = 16;
constexpr int32_t kLargeImage = 24;
constexpr int32_t kPointsPerInch = 72;

uint32_t KnownDpi(uint32_t dpi) { return dpi == 0 ? kBaseDpi : dpi; }

// value * numerator / denominator rounded half away from zero, saturated to
// int32 (a DPI far beyond any display must not wrap a size to its opposite).
int32_t MulDivRounded(int64_t value, int64_t numerator, int64_t denominator) {
  const int64_t product = value * numerator;
  const int64_t half = denominator / 2;
  const int64_t result = product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
  if (result > INT32_MAX) return INT32_MAX;
  if (result < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(result);
}

}  // namespace

int32_t ScaleBetweenDpi(int32_t value, uint32_t fromDpi, uint32_t toDpi) {
  return MulDivRounded(value, KnownDpi(toDpi), KnownDpi(fromDpi));
}

int32_t FontHeightForDpi(int32_t points, uint32_t dpi) {
  return -MulDivRounded(points, KnownDpi(dpi), kPointsPerInch);
}

ToolbarImageSet ToolbarImagesForDpi(uint32_t dpi) {
  const int32_t wanted = ScaleForDpi(kSmallImage, dpi);
  return wanted - kSmallImage < kLargeImage - wanted ? ToolbarImageSet::Small : ToolbarImageSet::Large;
}

SizeForDpi ReadoutSizeForDpi(uint32_t dpi) {
  return {ScaleForDpi(kReadoutWidth, dpi), ScaleForDpi(kReadoutHeight, dpi)};
}

}  // namespace qm
