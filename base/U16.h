// UTF-16 text helpers for the portable core. The core keeps every text as
// char16_t so that the same code and the same tests run on the host and on
// Windows, where char16_t and wchar_t share one representation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm {

using U16View = std::u16string_view;

// Room for every text the program keeps: 255 code units plus the terminator.
constexpr int kTextCapacity = 256;

// Length of a terminated UTF-16 string.
size_t U16Length(const char16_t* text);

// The terminated text in a fixed buffer as a view.
inline U16View U16ViewOf(const char16_t* text) { return U16View(text, U16Length(text)); }

// The count units of text from pos on; the caller keeps both within text.
// Unlike substr it checks nothing and so never throws: one substr in code
// the hook library compiles links the runtime's whole exception support
// into the library, four times the library's own size.
inline U16View U16Slice(U16View text, size_t pos, size_t count) { return U16View(text.data() + pos, count); }

// Copies src into dst[capacity], cutting it to capacity - 1 code units, and
// terminates it. Returns the number of code units copied.
size_t U16CopyTruncated(char16_t* dst, size_t capacity, U16View src);

// Ordinal comparison by code unit, the way the program sorts and matches.
int U16Compare(U16View a, U16View b);

// Case-sensitive substring test. An empty needle is contained in every text.
bool U16Contains(U16View haystack, U16View needle);

// Formats value as "%d" does into out, which must hold at least 12 code
// units; terminates it and returns its length.
size_t U16FormatInt(int32_t value, char16_t* out);

}  // namespace qm
