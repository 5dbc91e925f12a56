#include "hook/ReadoutText.h"

namespace qm {

namespace {

// Appends value as "%d" would print it (64-bit), returns the new length.
int AppendNumber(char16_t* out, int len, int64_t value) {
  char16_t digits[20];
  int n = 0;
  // The magnitude as unsigned, so the most negative value needs no case.
  uint64_t magnitude = value < 0 ? 0u - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) out[len++] = u'-';
  while (n > 0) out[len++] = digits[--n];
  return len;
}

int AppendText(char16_t* out, int len, const char16_t* text) {
  while (*text != u'\0') out[len++] = *text++;
  return len;
}

}  // namespace

void ReadoutText(int32_t left, int32_t top, int32_t right, int32_t bottom, char16_t* out) {
  const int64_t width = int64_t{right} - left;
  const int64_t height = int64_t{bottom} - top;
  // The format's literal pieces, each followed by the number at the same index.
  const struct {
    const char16_t* before;
    int64_t value;
  } pieces[] = {
      {u"( ", left},  {u" , ", top},    {u" ) ( ", right},    {u" , ", top},  {u" )\n[ ", width},
      {u" x ", height}, {u" ]\n( ", left}, {u" , ", bottom}, {u" ) ( ", right}, {u" , ", bottom},
  };
  int len = 0;
  for (const auto& piece : pieces) {
    len = AppendText(out, len, piece.before);
    len = AppendNumber(out, len, piece.value);
  }
  len = AppendText(out, len, u" )");
  out[len] = u'\0';
}

}  // namespace qm
