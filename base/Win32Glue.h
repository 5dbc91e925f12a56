// Glue between the portable core's char16_t text and the Win32 W functions,
// plus small window helpers shared by the shell. Only the Win32 layer
// includes this header.
#pragma once

#include <windows.h>

#include "base/U16.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text must be UTF-16");

namespace qm {

// Hands core buffers straight to API calls (the targets build with
// -fno-strict-aliasing, so the reinterpretation is safe there).
inline wchar_t* AsWide(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }
inline const wchar_t* AsWide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline char16_t* AsU16(wchar_t* s) { return reinterpret_cast<char16_t*>(s); }
inline const char16_t* AsU16(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }
inline U16View AsU16View(const wchar_t* s, size_t n) { return U16View(AsU16(s), n); }

}  // namespace qm
