#include "entries/IniText.h"

#include <utility>

namespace qm {

namespace {

constexpr char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

// A name or value that holds U+0000 ends there: the platform copies names
// and values as terminated strings.
U16View CutAtNul(U16View text) {
  size_t nul = text.find(u'\0');
  return nul == U16View::npos ? text : text.substr(0, nul);
}

// GetPrivateProfileIntW reads the value through a buffer of 30 code units.
constexpr size_t kIntTextCapacity = 30;

}  // namespace

bool IniNamesEqual(U16View a, U16View b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

U16View IniTrim(U16View text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsIniBlank(text[begin])) ++begin;
  while (end > begin && IsIniBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

size_t IniCopyValue(U16View value, char16_t* out, size_t capacity) {
  if (value.size() >= 2 && (value[0] == u'"' || value[0] == u'\'') && value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
  }
  return U16CopyTruncated(out, capacity, value);
}

int32_t IniParseInt(U16View text, int32_t fallback) {
  if (text.empty()) return fallback;
  size_t i = 0;
  while (i < text.size() && text[i] <= u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  uint32_t base = 10;
  if (i + 1 < text.size() && text[i] == u'0') {
    switch (text[i + 1]) {
      case u'x': base = 16; i += 2; break;
      case u'o': base = 8; i += 2; break;
      case u'b': base = 2; i += 2; break;
      default: break;
    }
  }
  uint32_t total = 0;
  for (; i < text.size(); ++i) {
    char16_t c = text[i];
    uint32_t digit;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (c >= u'a' && c <= u'z') {
      digit = c - u'a' + 10u;
    } else if (c >= u'A' && c <= u'Z') {
      digit = c - u'A' + 10u;
    } else {
      break;
    }
    if (digit >= base) break;
    total = total * base + digit;  // wraps modulo 2^32 like the platform
  }
  if (negative) total = 0u - total;
  return static_cast<int32_t>(total);
}

IniDocument::IniDocument(std::u16string text) : text_(std::move(text)) { Parse(); }

namespace {

// FNV-1a over the folded name, so that names equal to IniNamesEqual hash
// alike.
uint64_t FoldedNameHash(U16View name, uint64_t seed) {
  uint64_t hash = 14695981039346656037ull ^ seed;
  for (char16_t c : name) {
    hash ^= FoldAscii(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace

size_t IniDocument::KeyRefHash::operator()(const KeyRef& key) const {
  return static_cast<size_t>(FoldedNameHash(key.name, key.section));
}

size_t IniDocument::NameHash::operator()(U16View name) const {
  return static_cast<size_t>(FoldedNameHash(name, 0));
}

bool IniDocument::NameEqual::operator()(U16View a, U16View b) const { return IniNamesEqual(a, b); }

bool IniDocument::KeyRefEqual::operator()(const KeyRef& a, const KeyRef& b) const {
  return a.section == b.section && IniNamesEqual(a.name, b.name);
}

size_t IniDocument::FindSection(U16View name) const {
  auto it = sectionIndex_.find(name);
  return it == sectionIndex_.end() ? sections_.size() : it->second;
}

void IniDocument::Parse() {
  sections_.clear();
  sectionIndex_.clear();
  keys_.clear();
  sections_.push_back(U16View());
  sectionIndex_.emplace(U16View(), 0);
  const U16View all(text_);
  size_t section = 0;
  bool reachable = true;  // false inside a repeated section
  size_t pos = 0;
  while (pos < all.size()) {
    size_t end = pos;
    while (end < all.size() && all[end] != u'\r' && all[end] != u'\n') ++end;
    U16View line = IniTrim(all.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty()) continue;

    if (line[0] == u'[') {
      size_t close = line.rfind(u']');
      if (close != U16View::npos && close > 0) {
        U16View name = CutAtNul(IniTrim(line.substr(1, close - 1)));
        section = FindSection(name);
        reachable = section == sections_.size();
        if (reachable) {
          sectionIndex_.emplace(name, sections_.size());
          sections_.push_back(name);
        }
        continue;
      }
    }
    if (!reachable) continue;

    Value value{U16View(), false};
    U16View name = line;
    size_t equals = line.find(u'=');
    if (equals != U16View::npos) {
      name = IniTrim(line.substr(0, equals));
      value.text = CutAtNul(IniTrim(line.substr(equals + 1)));
      value.present = true;
    }
    // emplace keeps the first key of a name.
    keys_.emplace(KeyRef{section, CutAtNul(name)}, value);
  }
}

const IniDocument::Value* IniDocument::Find(U16View section, U16View key) const {
  size_t index = FindSection(IniTrim(section));
  if (index == sections_.size()) return nullptr;
  auto it = keys_.find(KeyRef{index, IniTrim(key)});
  return it == keys_.end() ? nullptr : &it->second;
}

bool IniDocument::FindValue(U16View section, U16View key, U16View* value) const {
  const Value* found = Find(section, key);
  if (found == nullptr || !found->present) return false;
  *value = found->text;
  return true;
}

size_t IniDocument::ReadString(U16View section, U16View key, U16View fallback, char16_t* out,
                               size_t capacity) const {
  U16View value;
  if (!FindValue(section, key, &value)) return U16CopyTruncated(out, capacity, fallback);
  return IniCopyValue(value, out, capacity);
}

int32_t IniDocument::ReadInt(U16View section, U16View key, int32_t fallback) const {
  char16_t text[kIntTextCapacity];
  size_t length = ReadString(section, key, U16View(), text, kIntTextCapacity);
  return IniParseInt(U16View(text, length), fallback);
}

DetectedEncoding DetectIniEncoding(const unsigned char* bytes, size_t size) {
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return {IniEncoding::Utf8, 3};
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return {IniEncoding::Utf16LE, 2};
  if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return {IniEncoding::Utf16BE, 2};
  return {IniEncoding::Ansi, 0};
}

std::u16string DecodeUtf16Bytes(const unsigned char* bytes, size_t size, bool bigEndian) {
  std::u16string text;
  text.resize((size + 1) / 2);
  for (size_t i = 0; i + 1 < size; i += 2) {
    unsigned first = bytes[i];
    unsigned second = bytes[i + 1];
    text[i / 2] = static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  if (size % 2 != 0) text.back() = static_cast<char16_t>(bytes[size - 1]);
  return text;
}

IniBytes EncodeUtf16LeWithBom(U16View text) {
  IniBytes bytes;
  bytes.resize(2 + text.size() * 2);
  bytes[0] = static_cast<char>(0xFF);
  bytes[1] = static_cast<char>(0xFE);
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 + 2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[3 + 2 * i] = static_cast<char>(text[i] >> 8);
  }
  return bytes;
}

}  // namespace qm
