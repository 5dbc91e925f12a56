// Each record of the files as one ordered table of its keys: the settings,
// a window entry, a menu entry. Parsing and composing the files, the frame
// style step of placement and the dialogs' control tables all read these
// tables, and the order of a table is the order of its keys in the file.
// A new key is one row here (see docs/architecture.md for the whole list).
#pragma once

#include <cstdint>

#include "entries/EntryTable.h"
#include "entries/HotkeyText.h"
#include "entries/Settings.h"

namespace qm {

// The frame style bits a window entry sets or clears; no other bit changes.
constexpr uint32_t kStyleBorder = 0x00800000;       // WS_BORDER
constexpr uint32_t kStyleDialogFrame = 0x00400000;  // WS_DLGFRAME (with WS_BORDER: the caption)
constexpr uint32_t kStyleThickFrame = 0x00040000;   // WS_THICKFRAME

// How a key is read and written. Keys added after the first files were
// written are optional: a missing one reads as its absent value, and one at
// that value is not written, so a file that never used them is written
// back exactly as it was.
enum class FieldKind : uint8_t {
  Number,          // "%d"; a missing key leaves the record's value (0 in an entry, the default setting)
  Flag,            // a Number that means off (0) or on; kept as read, so a hand-written 2 stays 2
  Text,            // up to 255 code units, quoted where a reader would trim it; missing: empty
  // A Number that is written only when it is not its absent value. The
  // member holds the value less the absent value (wrapping), so a zeroed
  // record reads as one whose file lacks the key.
  OptionalNumber,
  OptionalText,    // a Text that is written only when it is not empty
  Hotkey,          // a key combination as HotkeyText.h writes it, written only when not its default
};

// Row tags for what the member alone does not tell.
struct Optional {
  int32_t Absent;  // the value a missing key reads as
};
struct StyleBit {
  uint32_t Bit;  // the window style bit the field sets when non-zero
};
struct HotkeyDefault {
  int32_t Hotkey;  // the combination a missing key (and the field's 0) means
};

template <typename Record>
using TextMember = char16_t (Record::*)[kTextCapacity];

// One key of a record: exactly one of Number and Text is set.
template <typename Record>
struct FieldRow {
  const char16_t* Key;
  FieldKind Kind;
  int32_t Record::*Number = nullptr;
  TextMember<Record> Text = nullptr;
  int32_t Absent = 0;  // an optional number's absent value; a hotkey's default
  uint32_t Style = 0;

  constexpr FieldRow(const char16_t* key, int32_t Record::*number, FieldKind kind = FieldKind::Number)
      : Key(key), Kind(kind), Number(number) {}
  constexpr FieldRow(const char16_t* key, int32_t Record::*number, Optional optional)
      : Key(key), Kind(FieldKind::OptionalNumber), Number(number), Absent(optional.Absent) {}
  constexpr FieldRow(const char16_t* key, int32_t Record::*number, HotkeyDefault hotkey)
      : Key(key), Kind(FieldKind::Hotkey), Number(number), Absent(hotkey.Hotkey) {}
  constexpr FieldRow(const char16_t* key, int32_t Record::*number, StyleBit style)
      : Key(key), Kind(FieldKind::Flag), Number(number), Style(style.Bit) {}
  constexpr FieldRow(const char16_t* key, TextMember<Record> text, FieldKind kind = FieldKind::Text)
      : Key(key), Kind(kind), Text(text) {}
};

// Section "Config".
inline constexpr FieldRow<Settings> kSettingsFields[] = {
    {u"Left", &Settings::Left},
    {u"Top", &Settings::Top},
    {u"Width", &Settings::Width},
    {u"Height", &Settings::Height},
    {u"List", &Settings::List, FieldKind::Flag},
    {u"Tooltip", &Settings::Tooltip, FieldKind::Flag},
    {u"KeepIn", &Settings::KeepIn, FieldKind::Flag},
    {u"Hotkey", &Settings::Hotkey, HotkeyDefault{kDefaultHotkey}},
    {u"FollowDesktop", &Settings::FollowDesktop, Optional{1}},
    {u"RuleHotkey", &Settings::RuleHotkey, HotkeyDefault{kDefaultRuleHotkey}},
};

// Section "Window", each key with the entry's number appended ("Title1").
inline constexpr FieldRow<WindowEntry> kWindowEntryFields[] = {
    {u"Title", &WindowEntry::Title},
    {u"Class", &WindowEntry::Class},
    {u"DesablePos", &WindowEntry::DesablePos, FieldKind::Flag},
    {u"Left", &WindowEntry::Left},
    {u"Top", &WindowEntry::Top},
    {u"Pos", &WindowEntry::Pos},
    {u"DesableSize", &WindowEntry::DesableSize, FieldKind::Flag},
    {u"Width", &WindowEntry::Width},
    {u"Height", &WindowEntry::Height},
    {u"DesableStyle", &WindowEntry::DesableStyle, FieldKind::Flag},
    {u"Border", &WindowEntry::Border, StyleBit{kStyleBorder}},
    {u"DialogFrame", &WindowEntry::DialogFrame, StyleBit{kStyleDialogFrame}},
    {u"ThickFrame", &WindowEntry::ThickFrame, StyleBit{kStyleThickFrame}},
    {u"Process", &WindowEntry::Process, FieldKind::OptionalText},
    {u"Monitor", &WindowEntry::Monitor, Optional{MonitorPrimary}},
    {u"Unit", &WindowEntry::Unit, Optional{UnitPixels}},
    {u"Apply", &WindowEntry::Apply, Optional{ApplyAtFirstShow}},
    {u"Hold", &WindowEntry::Hold, Optional{kDefaultHoldSeconds}},
    {u"Match", &WindowEntry::Match, Optional{MatchContains}},
    {u"Topmost", &WindowEntry::Topmost, Optional{0}},
    {u"State", &WindowEntry::State, Optional{0}},
    {u"MonitorName", &WindowEntry::MonitorName, FieldKind::OptionalText},
    {u"MonitorPath", &WindowEntry::MonitorPath, FieldKind::OptionalText},
};

// Section "Menu", numbered the same way: the geometry of a window entry.
inline constexpr FieldRow<MenuEntry> kMenuEntryFields[] = {
    {u"DesablePos", &MenuEntry::DesablePos, FieldKind::Flag},
    {u"Left", &MenuEntry::Left},
    {u"Top", &MenuEntry::Top},
    {u"Pos", &MenuEntry::Pos},
    {u"DesableSize", &MenuEntry::DesableSize, FieldKind::Flag},
    {u"Width", &MenuEntry::Width},
    {u"Height", &MenuEntry::Height},
    {u"Monitor", &MenuEntry::Monitor, Optional{MonitorPrimary}},
    {u"Unit", &MenuEntry::Unit, Optional{UnitPixels}},
    {u"MonitorName", &MenuEntry::MonitorName, FieldKind::OptionalText},
    {u"MonitorPath", &MenuEntry::MonitorPath, FieldKind::OptionalText},
};

}  // namespace qm
