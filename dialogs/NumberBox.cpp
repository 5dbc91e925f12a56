#include "dialogs/NumberBox.h"

namespace qm {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

int32_t ParseNumberBoxText(U16View text) {
  // Full-width forms read as their ASCII counterparts, should an input
  // method have put them into the box past the typing filter.
  const auto at = [&](size_t i) { return i < text.size() ? NumberBoxChar(text[i]) : char16_t{0}; };
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  const bool negative = at(i) == u'-';
  if (negative) ++i;
  if (!IsDigit(at(i))) return 0;
  // The magnitude may reach 2^31 for INT32_MIN; anything beyond is out of
  // range however many digits follow, so stop accumulating there.
  constexpr int64_t kLimit = int64_t{1} << 31;
  int64_t magnitude = 0;
  for (; IsDigit(at(i)); ++i) {
    magnitude = magnitude * 10 + (at(i) - u'0');
    if (magnitude > kLimit) return 0;
  }
  if (!negative && magnitude == kLimit) return 0;
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

char16_t NumberBoxChar(char16_t typed) {
  if (IsDigit(typed) || typed == u'-') return typed;
  if (typed >= u'\uFF10' && typed <= u'\uFF19') return static_cast<char16_t>(u'0' + (typed - u'\uFF10'));
  // Full-width hyphen-minus and the minus sign.
  if (typed == u'\uFF0D' || typed == u'\u2212') return u'-';
  return 0;
}

bool IsNumberBoxText(U16View before, U16View inserted, U16View after) {
  const U16View parts[] = {before, inserted, after};
  size_t position = 0;
  for (U16View part : parts) {
    for (char16_t c : part) {
      const bool ok = IsDigit(c) || (c == u'-' && position == 0);
      if (!ok) return false;
      ++position;
    }
  }
  return true;
}

int32_t NormalizePastedNumber(U16View pasted, char16_t* out, size_t capacity) {
  size_t first = 0;
  size_t last = pasted.size();
  while (first < last && IsBlank(pasted[first])) ++first;
  while (last > first && IsBlank(pasted[last - 1])) --last;
  if (capacity == 0 || last - first > capacity - 1) return -1;
  size_t n = 0;
  for (size_t i = first; i < last; ++i) {
    const char16_t c = NumberBoxChar(pasted[i]);
    if (c == 0) return -1;
    out[n++] = c;
  }
  out[n] = u'\0';
  return static_cast<int32_t>(n);
}

}  // namespace qm
