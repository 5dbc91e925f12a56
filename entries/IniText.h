// INI text read the way the platform's private-profile functions read it,
// from one pass over the whole file instead of one file parse per key.
//
// The rules, measured against GetPrivateProfileStringW/IntW:
// - Lines end at every CR and every LF. Blanks (tab, LF, VT, FF, CR, space
//   and Ctrl-Z) are trimmed from both ends of a line, of a section name, of
//   a key name and from the start of a value. No other character is a
//   blank, not even U+3000 or U+00A0.
// - A line that starts with '[' and holds a ']' names a section: the text
//   between the '[' and the LAST ']'. Anything else is a key line; a '['
//   line without ']' is a key line too.
// - A key line is split at its first '='. A line without '=' is a key
//   without a value: it is found, but reads as the default.
// - Names compare case-insensitively for ASCII letters only (Ä and ä are
//   different names). The first section of a name wins, and its keys are
//   the only ones found: the keys of a repeated section are never read.
//   Within a section the first key of a name wins. Lines before the first
//   section belong to a section with the empty name.
// - A name or value holding U+0000 ends there.
// - A value that starts with ' or ", is at least two code units long and
//   ends with the same quote loses that one pair of quotes; then it is cut
//   to the caller's buffer.
// - Integers: see IniDocument::ReadInt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/U16.h"

namespace qm {

// Characters the profile reader trims around lines, names and values.
constexpr bool IsIniBlank(char16_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

class IniDocument {
 public:
  IniDocument() = default;
  // Takes the decoded text of a whole file; names and values are views
  // into it, so the document can be neither copied nor moved.
  explicit IniDocument(std::u16string text);
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // The stored value of a key before quote removal and cutting; false when
  // the key is missing or has no '='.
  bool FindValue(U16View section, U16View key, U16View* value) const;

  // GetPrivateProfileStringW into out[capacity]: the value without one
  // pair of surrounding quotes, cut to capacity - 1 code units and
  // terminated; `fallback` when the key is missing or has no value.
  // Returns the length written. capacity must be at least 1.
  size_t ReadString(U16View section, U16View key, U16View fallback, char16_t* out,
                    size_t capacity) const;

  // GetPrivateProfileIntW: the value is read as a string into 30 code
  // units (quotes removed as above); an empty result gives `fallback`.
  // Otherwise: leading characters up to U+0020 are skipped, then one '+'
  // or '-', then "0x", "0o" or "0b" (lower case only) choose base 16, 8 or
  // 2 over 10; digits are read up to the first character that is not a
  // digit of the base and the total wraps modulo 2^32, so "-100" reads as
  // -100 (negative coordinates depend on it). Text without digits reads as
  // 0, not as the fallback.
  int32_t ReadInt(U16View section, U16View key, int32_t fallback) const;

  size_t KeyCount() const { return keys_.size(); }

 private:
  struct KeyRef {
    size_t section;  // index into sections_
    U16View name;
  };
  struct KeyRefHash {
    size_t operator()(const KeyRef& key) const;
  };
  struct KeyRefEqual {
    bool operator()(const KeyRef& a, const KeyRef& b) const;
  };
  struct NameHash {
    size_t operator()(U16View name) const;
  };
  struct NameEqual {
    bool operator()(U16View a, U16View b) const;
  };
  struct Value {
    U16View text;
    bool present;  // false: the key line had no '='
  };

  void Parse();
  // Index of the first section with this name, or sections_.size().
  size_t FindSection(U16View name) const;
  const Value* Find(U16View section, U16View key) const;

  std::u16string text_;
  std::vector<U16View> sections_;  // first occurrences only; [0] is ""
  // Name -> index into sections_. Looking each section header up in a list
  // instead made reading a file of many small sections quadratic: 160,000
  // one-key sections took over a minute before the program came up.
  std::unordered_map<U16View, size_t, NameHash, NameEqual> sectionIndex_;
  std::unordered_map<KeyRef, Value, KeyRefHash, KeyRefEqual> keys_;
};

// Name comparison of the profile functions: ASCII letters fold, nothing
// else does.
bool IniNamesEqual(U16View a, U16View b);

// Trims IsIniBlank characters from both ends.
U16View IniTrim(U16View text);

// The quote removal and cutting of GetPrivateProfileStringW, applied to a
// stored value: quotes first, then the cut to capacity - 1. (Wine cuts
// first when the inner text exactly fills the buffer and so loses its last
// unit; the documented rule, followed here, keeps it.)
size_t IniCopyValue(U16View value, char16_t* out, size_t capacity);

// The integer reading of GetPrivateProfileIntW applied to a string already
// read (see ReadInt); an empty text gives the fallback.
int32_t IniParseInt(U16View text, int32_t fallback);

// How the platform decodes a profile file's bytes: a UTF-8 byte-order mark
// means UTF-8; FF FE means UTF-16LE and FE FF UTF-16BE; anything else is
// text in the ANSI code page. bomLength is the number of bytes to skip.
enum class IniEncoding { Ansi, Utf8, Utf16LE, Utf16BE };
struct DetectedEncoding {
  IniEncoding encoding;
  size_t bomLength;
};
DetectedEncoding DetectIniEncoding(const unsigned char* bytes, size_t size);

// Decodes UTF-16 bytes (no byte-order mark) of either byte order. A final
// odd byte becomes a code unit of its own value, as the platform's reader
// (which reads one byte past the end) sees it in practice.
std::u16string DecodeUtf16Bytes(const unsigned char* bytes, size_t size, bool bigEndian);

// A file's bytes. Not std::string: its members are compiled into the C++
// runtime library, and naming it links about 20 KB of them into the program.
using IniBytes = std::vector<char>;

// UTF-16LE bytes with a byte-order mark: the form the program writes, and
// the only form in which the profile functions read every character back.
IniBytes EncodeUtf16LeWithBom(U16View text);

}  // namespace qm
