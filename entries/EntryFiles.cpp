#include "entries/EntryFiles.h"

#include <algorithm>
#include <cstring>

#include "entries/EntryFields.h"
#include "entries/HotkeyText.h"

namespace qm {

namespace {

constexpr char16_t kConfigSection[] = u"Config";
constexpr char16_t kWindowSection[] = u"Window";
constexpr char16_t kMenuSection[] = u"Menu";
constexpr char16_t kCountKey[] = u"Item";

// "%s%d": a key name with the entry number appended ("Title1"); a number of
// 0 (the settings) appends nothing.
struct NumberedKey {
  char16_t text[40];
  size_t length;
  NumberedKey(const char16_t* name, int32_t number) {
    length = U16CopyTruncated(text, 28, U16ViewOf(name));
    if (number > 0) length += U16FormatInt(number, text + length);
  }
  U16View view() const { return U16View(text, length); }
};

// A record's text field as a view, bounded by its buffer even if the
// terminator were missing.
U16View FieldView(const char16_t (&field)[kTextCapacity]) {
  size_t length = 0;
  while (length < kTextCapacity - 1 && field[length] != u'\0') ++length;
  return U16View(field, length);
}

int32_t ReadCount(const IniDocument& doc, const char16_t* section) {
  int32_t count = doc.ReadInt(section, kCountKey, 0);
  return std::clamp(count, int32_t{0}, kMaxEntries);
}

// Characters that a profile reader may take for a blank at either end of a
// value. The reader measured here trims only IsIniBlank, but other
// implementations treat Unicode spaces as blanks too; quoting them costs
// nothing and keeps the value intact everywhere.
bool MayBeTrimmed(char16_t c) {
  if (c <= 0x20) return true;  // every IsIniBlank character and the other controls
  switch (c) {
    case 0x85: case 0xA0: case 0x1680: case 0x2028: case 0x2029: case 0x202F: case 0x205F:
    case 0x3000: case 0xFEFF:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200A;
  }
}

class TextBuilder {
 public:
  void Section(const char16_t* name) {
    text_ += u'[';
    text_ += name;
    text_ += u"]\r\n";
  }
  void Key(U16View name, U16View value) {
    text_.append(name.data(), name.size());
    text_ += u'=';
    text_.append(value.data(), value.size());
    text_ += u"\r\n";
  }
  void Int(U16View name, int32_t value) {
    char16_t digits[12];
    size_t length = U16FormatInt(value, digits);
    Key(name, U16View(digits, length));
  }
  void Text(U16View name, U16View value) { Key(name, IniValueText(value)); }
  std::u16string& text() { return text_; }

 private:
  std::u16string text_;
};

// Empties the slots the table's old and new entries take and sets its count.
// Slots from Count on are zero already (removing entries clears theirs), and
// clearing all 512 would bring the whole table, 800 KB, into memory.
template <typename Table>
void ResetTable(Table& table, int32_t count) {
  const int32_t used = std::clamp(std::max(table.Count, count), int32_t{0}, kMaxEntries);
  std::memset(table.Entries, 0, sizeof(table.Entries[0]) * static_cast<size_t>(used));
  table.Count = count;
}

// A hotkey that cannot be read is no hotkey; a missing one the default.
int32_t ReadHotkey(const IniDocument& doc, const char16_t* section, U16View key, int32_t defaultHotkey) {
  U16View raw;
  if (!doc.FindValue(section, key, &raw)) return 0;
  char16_t text[kTextCapacity];
  const size_t length = doc.ReadString(section, key, U16View(), text, kTextCapacity);
  int32_t hotkey = 0;
  return ParseHotkey(U16View(text, length), &hotkey) ? HotkeySetting(hotkey, defaultHotkey) : kNoHotkeySetting;
}

// Reads every key of a record's table; number is the entry's (0: unnumbered).
template <typename Record, size_t N>
void ReadRecord(const IniDocument& doc, const char16_t* section, int32_t number, const FieldRow<Record> (&rows)[N],
                Record& record) {
  for (const FieldRow<Record>& row : rows) {
    const NumberedKey key(row.Key, number);
    switch (row.Kind) {
      case FieldKind::Number:
      case FieldKind::Flag:
        record.*row.Number = doc.ReadInt(section, key.view(), record.*row.Number);
        break;
      case FieldKind::OptionalNumber:
        record.*row.Number = static_cast<int32_t>(static_cast<uint32_t>(doc.ReadInt(section, key.view(), row.Absent)) -
                                                  static_cast<uint32_t>(row.Absent));
        break;
      case FieldKind::Text:
      case FieldKind::OptionalText:
        doc.ReadString(section, key.view(), U16View(), record.*row.Text, kTextCapacity);
        break;
      case FieldKind::Hotkey:
        record.*row.Number = ReadHotkey(doc, section, key.view(), row.Absent);
        break;
    }
  }
}

}  // namespace

Settings ParseSettings(const IniDocument& config, int32_t screenWidth, int32_t screenHeight) {
  Settings settings = DefaultSettings(screenWidth, screenHeight);
  ReadRecord(config, kConfigSection, 0, kSettingsFields, settings);
  return settings;
}

void ParseEntries(const IniDocument& doc, WindowTable& windows, MenuTable& menus) {
  ResetTable(windows, ReadCount(doc, kWindowSection));
  for (int32_t i = 0; i < windows.Count; ++i) {
    ReadRecord(doc, kWindowSection, i + 1, kWindowEntryFields, windows.Entries[i]);
  }
  ResetTable(menus, ReadCount(doc, kMenuSection));
  for (int32_t i = 0; i < menus.Count; ++i) ReadRecord(doc, kMenuSection, i + 1, kMenuEntryFields, menus.Entries[i]);
}

namespace {

// Writes every key of a record's table; number is the entry's (0: unnumbered).
template <typename Record, size_t N>
void WriteRecord(TextBuilder& out, int32_t number, const FieldRow<Record> (&rows)[N], const Record& record) {
  for (const FieldRow<Record>& row : rows) {
    const NumberedKey key(row.Key, number);
    switch (row.Kind) {
      case FieldKind::Number:
      case FieldKind::Flag:
        out.Int(key.view(), record.*row.Number);
        break;
      case FieldKind::OptionalNumber:
        if (record.*row.Number != 0) {
          out.Int(key.view(), static_cast<int32_t>(static_cast<uint32_t>(record.*row.Number) +
                                                   static_cast<uint32_t>(row.Absent)));
        }
        break;
      case FieldKind::Text:
        out.Text(key.view(), FieldView(record.*row.Text));
        break;
      case FieldKind::OptionalText:
        if (!FieldView(record.*row.Text).empty()) out.Text(key.view(), FieldView(record.*row.Text));
        break;
      case FieldKind::Hotkey:
        if (record.*row.Number != 0) out.Key(key.view(), FormatHotkey(HotkeyInUse(record.*row.Number, row.Absent)));
        break;
    }
  }
}

}  // namespace

std::u16string ComposeConfigText(const Settings& settings) {
  TextBuilder out;
  out.Section(kConfigSection);
  WriteRecord(out, 0, kSettingsFields, settings);
  return std::move(out.text());
}

std::u16string ComposeEntryText(const WindowTable& windows, const MenuTable& menus) {
  TextBuilder out;
  // A full table of long titles is about 600,000 code units; one
  // reservation avoids regrowing the text many times over.
  const int32_t windowCount = std::clamp(windows.Count, int32_t{0}, kMaxEntries);
  const int32_t menuCount = std::clamp(menus.Count, int32_t{0}, kMaxEntries);
  out.text().reserve(4096 + static_cast<size_t>(windowCount) * 1000 + static_cast<size_t>(menuCount) * 120);
  out.Section(kWindowSection);
  out.Int(kCountKey, windowCount);
  for (int32_t i = 0; i < windowCount; ++i) WriteRecord(out, i + 1, kWindowEntryFields, windows.Entries[i]);
  out.Section(kMenuSection);
  out.Int(kCountKey, menuCount);
  for (int32_t i = 0; i < menuCount; ++i) WriteRecord(out, i + 1, kMenuEntryFields, menus.Entries[i]);
  return std::move(out.text());
}

std::u16string IniValueText(U16View value) {
  std::u16string text(value);
  for (char16_t& c : text) {
    if (c == u'\r' || c == u'\n') c = u' ';
  }
  if (text.empty()) return text;
  const char16_t first = text.front();
  const char16_t last = text.back();
  const bool quoted = text.size() >= 2 && (first == u'"' || first == u'\'') && last == first;
  if (!quoted && !MayBeTrimmed(first) && !MayBeTrimmed(last)) return text;
  text.insert(text.begin(), u'"');
  text += u'"';
  // Wine drops the last character of a quoted value whose inner text fills
  // a 256-unit buffer exactly. With one more quote behind it, Wine copies
  // the first 255 units and stops, while a reader that removes the outer
  // pair first gets the same 255 units after cutting: both give the text.
  if (value.size() == kTextCapacity - 1) text += u'"';
  return text;
}

std::u16string StoreFileName(U16View directory, U16View name) {
  std::u16string path(directory);
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path += u'\\';
  path.append(name.data(), name.size());
  return path;
}

std::u16string ExtendedLengthPath(U16View path) {
  constexpr size_t kMaxPath = 260;  // including the terminator
  const U16View prefix = u"\\\\?\\";
  if (path.size() < kMaxPath || path.substr(0, prefix.size()) == prefix) return std::u16string(path);
  if (path.substr(0, 2) == u"\\\\") return std::u16string(u"\\\\?\\UNC\\") + std::u16string(path.substr(2));
  return std::u16string(prefix) + std::u16string(path);
}

}  // namespace qm
