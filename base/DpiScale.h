// Sizes for the DPI of the monitor a window is on. The program is per-monitor
// DPI aware: every coordinate it handles is a real screen pixel, so the sizes
// it makes up itself (fonts, the readout, toolbar images, hit-test bands)
// are given at 96 DPI, the unscaled display, and scaled here to the DPI at
// hand. At 96 DPI every size comes out unchanged.
#pragma once

#include <cstdint>

namespace qm {

// The DPI of an unscaled display (100 %).
constexpr uint32_t kBaseDpi = 96;

// value, given at fromDpi, at toDpi; rounded to the nearest pixel with halves
// away from zero, as MulDiv rounds. A DPI of 0 means "unknown" and is taken
// as 96, so a failed DPI query leaves sizes as they are.
int32_t ScaleBetweenDpi(int32_t value, uint32_t fromDpi, uint32_t toDpi);
// value, given at 96 DPI, at dpi.
inline int32_t ScaleForDpi(int32_t value, uint32_t dpi) { return ScaleBetweenDpi(value, kBaseDpi, dpi); }

// The character height (negative: without internal leading) of a font of
// this many points at dpi, as CreateFont expects it.
int32_t FontHeightForDpi(int32_t points, uint32_t dpi);

// The common controls' standard toolbar images come in two sizes, 16 and 24
// pixels; scaling bitmaps blurs them, so the toolbar takes the set nearest to
// 16 pixels scaled to dpi (ties to the larger).
enum class ToolbarImageSet { Small, Large };
ToolbarImageSet ToolbarImagesForDpi(uint32_t dpi);

// The geometry readout's window: 160 x 46 pixels at 96 DPI.
struct SizeForDpi {
  int32_t width;
  int32_t height;
};
SizeForDpi ReadoutSizeForDpi(uint32_t dpi);

}  // namespace qm
