// The three lines the geometry readout shows for a reported rectangle.
#pragma once

#include <cstdint>

namespace qm {

// Room for the longest text: ten numbers of up to 11 characters each plus
// 39 characters of separators and the terminator.
constexpr int kReadoutTextCapacity = 160;

// "( l , t ) ( r , t )\n[ w x h ]\n( l , b ) ( r , b )" into
// out[kReadoutTextCapacity]. Width and height are right - left and
// bottom - top, computed in 64 bits: the library reports whatever it saw, and
// a wrapped int32 difference would show a plainly wrong size.
void ReadoutText(int32_t left, int32_t top, int32_t right, int32_t bottom, char16_t* out);

}  // namespace qm
