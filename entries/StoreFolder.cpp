#include "entries/StoreFolder.h"

namespace qm {

namespace {

constexpr char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

U16View WithoutTrailingBackslash(U16View path) {
  return !path.empty() && path.back() == u'\\' ? path.substr(0, path.size() - 1) : path;
}

bool SameFolder(U16View a, U16View b) {
  a = WithoutTrailingBackslash(a);
  b = WithoutTrailingBackslash(b);
  if (a.empty() || a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

bool IsSystemFolder(U16View directory, U16View system, U16View systemWow64) {
  return SameFolder(directory, system) || SameFolder(directory, systemWow64);
}

U16View FolderOfPath(U16View path) {
  const size_t slash = path.find_last_of(u"\\/");
  if (slash == U16View::npos) return U16View();
  // "C:\Quillmere.exe" lies in the root "C:\", which keeps its backslash.
  if (slash == 2 && path[1] == u':') return path.substr(0, 3);
  return path.substr(0, slash);
}

}  // namespace qm
