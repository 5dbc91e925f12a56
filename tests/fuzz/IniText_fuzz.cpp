// libFuzzer target for the INI reader and the value writer; build and run
// with scripts/fuzz-ini.sh (clang). The input is taken as UTF-16LE text.
// Checks: parsing and every lookup stay in bounds (under ASan/UBSan), reads
// are cut and terminated, and any text written with IniValueText into a
// file made of the input reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "entries/EntryFiles.h"
#include "entries/IniText.h"

using namespace qm;

static void Check(bool condition) {
  if (!condition) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string text = DecodeUtf16Bytes(data, size, false);
  IniDocument doc(text);
  static const char16_t* const names[] = {u"", u"S", u"s", u"a", u"Item", u"Window", u"Title1"};
  for (const char16_t* section : names) {
    for (const char16_t* key : names) {
      char16_t out[kTextCapacity];
      size_t length = doc.ReadString(section, key, u"", out, kTextCapacity);
      Check(length < kTextCapacity && out[length] == u'\0');
      doc.ReadInt(section, key, 0);
    }
  }

  // The input's start as a title, written in a section of its own ahead of
  // the input's lines, must read back as the program keeps it.
  const std::u16string title = text.substr(0, std::min<size_t>(text.find(u'\0'), 255));
  std::u16string expected = title;
  for (char16_t& c : expected) {
    if (c == u'\r' || c == u'\n') c = u' ';
  }
  const std::u16string file = u"[Quillmere-Fuzz]\r\nTitle1=" + IniValueText(title) + u"\r\n" + text;
  IniDocument written(file);
  char16_t out[kTextCapacity];
  size_t length = written.ReadString(u"Quillmere-Fuzz", u"Title1", u"<missing>", out, kTextCapacity);
  Check(std::u16string(out, length) == expected);
  return 0;
}
