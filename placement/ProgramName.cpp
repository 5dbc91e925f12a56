#include "placement/ProgramName.h"

namespace qm {

namespace {

// The upper-case form the file system compares. Only the letters of the
// ranges named in the header fold; every other code unit stands for itself,
// so names in other scripts compare exactly.
char16_t UpperCase(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);  // à..þ, not ÷
  if (c == 0xFF) return 0x178;                                                         // ÿ -> Ÿ
  // Latin Extended-A: capital and small alternate, the capital on the even
  // code unit up to 0x137 and from 0x14A to 0x177, on the odd one in the two
  // runs between; İ, ı, ĸ, ŉ and Ÿ have no partner in the block.
  if (c >= 0x100 && c <= 0x12F) return static_cast<char16_t>(c & ~1u);
  if (c >= 0x132 && c <= 0x137) return static_cast<char16_t>(c & ~1u);
  if (c >= 0x139 && c <= 0x148) return (c & 1u) ? c : static_cast<char16_t>(c - 1);
  if (c >= 0x14A && c <= 0x177) return static_cast<char16_t>(c & ~1u);
  if (c >= 0x179 && c <= 0x17E) return (c & 1u) ? c : static_cast<char16_t>(c - 1);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);  // α..ω, not final ς
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);                 // а..я
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);                 // ѐ..џ
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);               // ａ..ｚ
  return c;
}

}  // namespace

U16View ProgramFileName(U16View imagePath) {
  const size_t slash = imagePath.find_last_of(u"\\/");
  if (slash != U16View::npos) imagePath.remove_prefix(slash + 1);
  return imagePath;
}

bool SameProgramName(U16View a, U16View b) {
  if (a.empty() || a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && UpperCase(a[i]) != UpperCase(b[i])) return false;
  }
  return true;
}

}  // namespace qm
