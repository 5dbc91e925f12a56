#include "entries/EntryFiles.h"

#include <algorithm>
#include <cstring>

#include "entries/EntryFields.h"
#include "entries/HotkeyText.h"

namespace qm {

namespace {

constexpr char16_t ConfigSection[] = u"Config";
constexpr char16_t WindowSection[] = u"Window";
constexpr char16_t MenuSection[] = u"Menu";
constexpr char16_t CountKey[] = u"Item";
constexpr char16_t HotkeyKeyName[] = u"Hotkey";

// "%s%d": a key name with the entry number appended ("Title1").
struct NumberedKey {
  char16_t text[40];
  size_t length;
  NumberedKey(const char16_t* name, int32_t number) {
    length = U16CopyTruncated(text, 28, U16ViewOf(name));
    length += U16FormatInt(number, text + length);
  }
  U16View view() const { return U16View(text, length); }
};

// A record's text field as a view, bounded by its buffer even if the
// terminator were missing.
U16View FieldView(const char16_t (&field)[TextCapacity]) {
  size_t length = 0;
  while (length < TextCapacity - 1 && field[length] != u'\0') ++length;
  return U16View(field, length);
}

int32_t ReadCount(const IniDocument& doc, const char16_t* section) {
  int32_t count = doc.ReadInt(section, CountKey, 0);
  return std::clamp(count, int32_t{0}, MaxEntries);
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

}  // namespace

Settings ParseSettings(const IniDocument& config, int32_t screenWidth, int32_t screenHeight) {
  Settings settings = DefaultSettings(screenWidth, screenHeight);
  for (const auto& key : SettingsFields) {
    settings.*key.Field = config.ReadInt(ConfigSection, key.Key, settings.*key.Field);
  }
  char16_t text[TextCapacity];
  U16View raw;
  if (config.FindValue(ConfigSection, HotkeyKeyName, &raw)) {
    size_t length = config.ReadString(ConfigSection, HotkeyKeyName, U16View(), text, TextCapacity);
    int32_t hotkey = 0;
    settings.Hotkey = ParseHotkey(U16View(text, length), &hotkey) ? HotkeySetting(hotkey) : NoHotkeySetting;
  }
  return settings;
}

namespace {

// Empties the slots the table's old and new entries take and sets its count.
// Slots from Count on are zero already (removing entries clears theirs), and
// clearing all 512 would bring the whole table, 800 KB, into memory.
template <typename Table>
void ResetTable(Table& table, int32_t count) {
  const int32_t used = std::clamp(std::max(table.Count, count), int32_t{0}, MaxEntries);
  std::memset(table.Entries, 0, sizeof(table.Entries[0]) * static_cast<size_t>(used));
  table.Count = count;
}

}  // namespace

void ParseEntries(const IniDocument& doc, WindowTable& windows, MenuTable& menus) {
  ResetTable(windows, ReadCount(doc, WindowSection));
  for (int32_t i = 0; i < windows.Count; ++i) {
    WindowEntry& entry = windows.Entries[i];
    for (const auto& key : WindowTextFields) {
      doc.ReadString(WindowSection, NumberedKey(key.Key, i + 1).view(), U16View(), entry.*key.Field, TextCapacity);
    }
    for (const auto& key : GeometryFields) {
      entry.*key.Field = doc.ReadInt(WindowSection, NumberedKey(key.Key, i + 1).view(), 0);
    }
    for (const auto& key : FrameFields) {
      entry.*key.Field = doc.ReadInt(WindowSection, NumberedKey(key.Key, i + 1).view(), 0);
    }
    for (const auto& key : WindowOptionalTextFields) {
      doc.ReadString(WindowSection, NumberedKey(key.Key, i + 1).view(), U16View(), entry.*key.Field, TextCapacity);
    }
    for (const auto& key : OptionalGeometryFields) {
      entry.*key.Field = doc.ReadInt(WindowSection, NumberedKey(key.Key, i + 1).view(), 0);
    }
  }

  ResetTable(menus, ReadCount(doc, MenuSection));
  for (int32_t i = 0; i < menus.Count; ++i) {
    for (const auto& key : GeometryFields) {
      menus.Entries[i].*key.Field = doc.ReadInt(MenuSection, NumberedKey(key.Key, i + 1).view(), 0);
    }
    for (const auto& key : OptionalGeometryFields) {
      menus.Entries[i].*key.Field = doc.ReadInt(MenuSection, NumberedKey(key.Key, i + 1).view(), 0);
    }
  }
}

std::u16string ComposeConfigText(const Settings& settings) {
  TextBuilder out;
  out.Section(ConfigSection);
  for (const auto& key : SettingsFields) out.Int(key.Key, settings.*key.Field);
  if (settings.Hotkey != 0) out.Key(HotkeyKeyName, FormatHotkey(HotkeyInUse(settings.Hotkey)));
  return std::move(out.text());
}

std::u16string ComposeEntryText(const WindowTable& windows, const MenuTable& menus) {
  TextBuilder out;
  // A full table of long titles is about 600,000 code units; one
  // reservation avoids regrowing the text many times over.
  const int32_t windowCount = std::clamp(windows.Count, int32_t{0}, MaxEntries);
  const int32_t menuCount = std::clamp(menus.Count, int32_t{0}, MaxEntries);
  out.text().reserve(4096 + static_cast<size_t>(windowCount) * 1000 + static_cast<size_t>(menuCount) * 120);
  out.Section(WindowSection);
  out.Int(CountKey, windowCount);
  for (int32_t i = 0; i < windowCount; ++i) {
    const WindowEntry& entry = windows.Entries[i];
    for (const auto& key : WindowTextFields) {
      out.Text(NumberedKey(key.Key, i + 1).view(), FieldView(entry.*key.Field));
    }
    for (const auto& key : GeometryFields) out.Int(NumberedKey(key.Key, i + 1).view(), entry.*key.Field);
    for (const auto& key : FrameFields) out.Int(NumberedKey(key.Key, i + 1).view(), entry.*key.Field);
    for (const auto& key : WindowOptionalTextFields) {
      const U16View value = FieldView(entry.*key.Field);
      if (!value.empty()) out.Text(NumberedKey(key.Key, i + 1).view(), value);
    }
    for (const auto& key : OptionalGeometryFields) {
      if (entry.*key.Field != 0) out.Int(NumberedKey(key.Key, i + 1).view(), entry.*key.Field);
    }
  }
  out.Section(MenuSection);
  out.Int(CountKey, menuCount);
  for (int32_t i = 0; i < menuCount; ++i) {
    const MenuEntry& entry = menus.Entries[i];
    for (const auto& key : GeometryFields) out.Int(NumberedKey(key.Key, i + 1).view(), entry.*key.Field);
    for (const auto& key : OptionalGeometryFields) {
      if (entry.*key.Field != 0) out.Int(NumberedKey(key.Key, i + 1).view(), entry.*key.Field);
    }
  }
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
  if (value.size() == TextCapacity - 1) text += u'"';
  return text;
}

std::u16string StoreFileName(U16View directory, U16View name) {
  std::u16string path(directory);
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path += u'\\';
  path.append(name.data(), name.size());
  return path;
}

std::u16string ExtendedLengthPath(U16View path) {
  constexpr size_t MaxPath = 260;  // including the terminator
  const U16View prefix = u"\\\\?\\";
  if (path.size() < MaxPath || path.substr(0, prefix.size()) == prefix) return std::u16string(path);
  if (path.substr(0, 2) == u"\\\\") return std::u16string(u"\\\\?\\UNC\\") + std::u16string(path.substr(2));
  return std::u16string(prefix) + std::u16string(path);
}

}  // namespace qm
