// The fields of each record with their keys in the files, in the order the
// files hold them. The files, placement and the dialogs all read these
// tables, so adding a key to a record is one line here (and one line in the
// table of each dialog that shows it).
#pragma once

#include <cstdint>

#include "entries/EntryTable.h"
#include "entries/Settings.h"

namespace qm {

// The frame style bits a window entry sets or clears; no other bit changes.
constexpr uint32_t StyleBorder = 0x00800000;       // WS_BORDER
constexpr uint32_t StyleDialogFrame = 0x00400000;  // WS_DLGFRAME (with WS_BORDER: the caption)
constexpr uint32_t StyleThickFrame = 0x00040000;   // WS_THICKFRAME

template <typename Record>
struct IntField {
  const char16_t* Key;
  int32_t Record::*Field;
  uint32_t StyleBit;  // the window style bit the field sets when non-zero; 0: none
};

struct TextField {
  const char16_t* Key;
  char16_t (WindowEntry::*Field)[TextCapacity];
};

// Section "Config".
inline constexpr IntField<Settings> SettingsFields[] = {
    {u"Left", &Settings::Left, 0},     {u"Top", &Settings::Top, 0},         {u"Width", &Settings::Width, 0},
    {u"Height", &Settings::Height, 0}, {u"List", &Settings::List, 0},       {u"Tooltip", &Settings::Tooltip, 0},
    {u"KeepIn", &Settings::KeepIn, 0},
};

// A window entry is its texts, the geometry, then the frame fields; a menu
// entry is the geometry alone.
inline constexpr TextField WindowTextFields[] = {{u"Title", &WindowEntry::Title}, {u"Class", &WindowEntry::Class}};

inline constexpr IntField<EntryGeometry> GeometryFields[] = {
    {u"DesablePos", &EntryGeometry::DesablePos, 0},   {u"Left", &EntryGeometry::Left, 0},
    {u"Top", &EntryGeometry::Top, 0},                 {u"Pos", &EntryGeometry::Pos, 0},
    {u"DesableSize", &EntryGeometry::DesableSize, 0}, {u"Width", &EntryGeometry::Width, 0},
    {u"Height", &EntryGeometry::Height, 0},
};

inline constexpr IntField<WindowEntry> FrameFields[] = {
    {u"DesableStyle", &WindowEntry::DesableStyle, 0},
    {u"Border", &WindowEntry::Border, StyleBorder},
    {u"DialogFrame", &WindowEntry::DialogFrame, StyleDialogFrame},
    {u"ThickFrame", &WindowEntry::ThickFrame, StyleThickFrame},
};

// Keys added after the first files were written, after the ones above (a
// window entry's text first): a missing key reads as its default (empty,
// 0), and one at its default is not written, so a file that never used
// them is written back exactly as it was.
inline constexpr TextField WindowOptionalTextFields[] = {{u"Process", &WindowEntry::Process}};
inline constexpr IntField<EntryGeometry> OptionalGeometryFields[] = {{u"Monitor", &EntryGeometry::Monitor, 0}};

}  // namespace qm
