#include "base/U16.h"

namespace qm {

size_t U16Length(const char16_t* text) {
  size_t n = 0;
  while (text[n] != u'\0') ++n;
  return n;
}

size_t U16CopyTruncated(char16_t* dst, size_t capacity, U16View src) {
  if (capacity == 0) return 0;
  size_t n = src.size() < capacity - 1 ? src.size() : capacity - 1;
  for (size_t i = 0; i < n; ++i) dst[i] = src[i];
  dst[n] = u'\0';
  return n;
}

int U16Compare(U16View a, U16View b) {
  // std::u16string_view::compare is ordinal on code units already.
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool U16Contains(U16View haystack, U16View needle) {
  return haystack.find(needle) != U16View::npos;
}

size_t U16FormatInt(int32_t value, char16_t* out) {
  char16_t digits[12];
  size_t n = 0;
  // Work on the magnitude as unsigned so INT32_MIN needs no special case.
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  size_t len = 0;
  if (value < 0) out[len++] = u'-';
  while (n > 0) out[len++] = digits[--n];
  out[len] = u'\0';
  return len;
}

}  // namespace qm
