// The two lists the user keeps: window rules and position/size presets, held
// as fixed-capacity ordered tables. Row i of a list view, entry i of a table
// and (for presets) popup command i + 1 all name the same entry.
#pragma once

#include <cstdint>

#include "base/U16.h"

namespace qm {

constexpr int32_t kMaxEntries = 512;

// Anchors of a placement; the values are stored in Entry.ini and double as
// the item index of the position combo box.
enum : int32_t {
  PosFree = 0,
  PosBottomLeft = 1,
  PosBottomRight = 2,
  PosCenter = 3,
  PosTopLeft = 4,
  PosTopRight = 5,
};
constexpr int32_t kPosCount = 6;

// Whose work area and centre the anchors use. The monitors are read each
// time a rule is applied, so docking and resolution changes are followed.
// A value outside these (only a hand-edited file holds one) acts as
// MonitorPrimary and is kept as it is.
enum : int32_t {
  MonitorPrimary = 0,    // the primary monitor; the default
  MonitorOfWindow = 1,   // the monitor that holds most of the window
  MonitorOfPointer = 2,  // the monitor under the mouse pointer
};
constexpr int32_t kMonitorChoiceCount = 3;

// What Left, Top, Width and Height count in. A value outside these (only a
// hand-edited file holds one) counts pixels.
enum : int32_t {
  UnitPixels = 0,  // screen pixels; the default
  UnitShare = 1,   // hundredths of a percent of the monitor's work area (5000: half)
};
constexpr int32_t kUnitCount = 2;
constexpr int32_t kShareWhole = 10000;
// When a window rule places the windows it matches (key "Apply"). A value
// outside these (only a hand-edited file holds one) acts as ApplyAtFirstShow.
enum : int32_t {
  ApplyAtFirstShow = 0,  // when the window first appears; the default
  ApplyEveryShow = 1,    // every time it is shown, also after it was hidden
  ApplyOnDemand = 2,     // only by the initialise command, never by itself
  ApplyNever = 3,        // leave it alone: no later rule places it either
};
constexpr int32_t kApplyChoiceCount = 4;

// How a rule's registered name meets a window's title (key "Match"); a
// value outside these acts as MatchContains.
enum : int32_t {
  MatchContains = 0,  // the name occurs in the title; the default
  MatchWhole = 1,     // the title is the name
  MatchWildcard = 2,  // the name is a pattern: '*' any run, '?' one character
};
constexpr int32_t kMatchChoiceCount = 3;

// How long a newly placed window is held against its own program's moves
// (key "Hold", in seconds); a value outside the range is brought into it.
constexpr int32_t kDefaultHoldSeconds = 2;
constexpr int32_t kMaxHoldSeconds = 30;

// The position-and-size fields that window rules and presets share. The
// "Desable" spelling is the key name users' files already carry.
struct EntryGeometry {
  int32_t DesablePos;   // non-zero: only resize
  int32_t Left;
  int32_t Top;
  int32_t Pos;          // anchor, PosFree .. PosTopRight
  int32_t DesableSize;  // non-zero: only move
  int32_t Width;
  int32_t Height;
  int32_t Monitor;      // MonitorPrimary .. MonitorOfPointer
  int32_t Unit;         // UnitPixels or UnitShare
  // The monitor the entry wants by the name Windows shows in Display
  // settings, empty for none (then Monitor chooses), and the device path
  // that tells two monitors of one name apart, empty when not known. A
  // window rule whose monitor is not connected does not apply; see
  // placement/MonitorNames.h.
  char16_t MonitorName[kTextCapacity];
  char16_t MonitorPath[kTextCapacity];
};

struct MenuEntry : EntryGeometry {};

struct WindowEntry : EntryGeometry {
  char16_t Title[kTextCapacity];  // registered name, also looked for in titles
  char16_t Class[kTextCapacity];  // may be empty
  // Executable file name ("notepad.exe"), compared case-insensitively; may
  // be empty. A rule that names one only ever matches that program's
  // windows; with no class it matches every window of the program.
  char16_t Process[kTextCapacity];
  int32_t DesableStyle;          // non-zero: leave the frame styles alone
  int32_t Border;
  int32_t DialogFrame;
  int32_t ThickFrame;
  int32_t Apply;    // ApplyAtFirstShow .. ApplyNever
  // Seconds beyond kDefaultHoldSeconds (the file's "Hold" less the default),
  // so that a zeroed entry holds as rules always did; see HoldSeconds.
  int32_t Hold;
  int32_t Match;    // MatchContains .. MatchWildcard
  int32_t Topmost;  // non-zero: the placed window goes on top of the others
  int32_t State;    // non-zero: placed, then maximised on that monitor
};

// The hold in seconds, 0 .. kMaxHoldSeconds, of a WindowEntry::Hold field,
// and the field of a number of seconds (brought into that range).
inline int32_t HoldSecondsOfField(int32_t field) {
  const int64_t seconds = int64_t{field} + kDefaultHoldSeconds;
  return seconds < 0 ? 0 : seconds > kMaxHoldSeconds ? kMaxHoldSeconds : static_cast<int32_t>(seconds);
}
inline int32_t HoldFieldOfSeconds(int32_t seconds) {
  return (seconds < 0 ? 0 : seconds > kMaxHoldSeconds ? kMaxHoldSeconds : seconds) - kDefaultHoldSeconds;
}
inline int32_t HoldSeconds(const WindowEntry& entry) { return HoldSecondsOfField(entry.Hold); }
inline int32_t EffectiveApply(const WindowEntry& entry) {
  return entry.Apply >= ApplyAtFirstShow && entry.Apply < kApplyChoiceCount ? entry.Apply : ApplyAtFirstShow;
}

struct WindowTable {
  int32_t Count;
  WindowEntry Entries[kMaxEntries];
};

struct MenuTable {
  int32_t Count;
  MenuEntry Entries[kMaxEntries];
};

// By Title, ordinal and case-sensitive.
void SortWindowTable(WindowTable& table);
// By Pos, Left, Top, Width, Height, each as a signed integer.
void SortMenuTable(MenuTable& table);

// Removes the entries at the ascending indices selected[0..count) keeping
// the order of the rest; slots behind the new count are zeroed. Indices that
// are out of range or not ascending are ignored rather than trusted.
void DeleteWindowEntries(WindowTable& table, const int32_t* selected, int32_t count);
void DeleteMenuEntries(MenuTable& table, const int32_t* selected, int32_t count);

// False for an empty class; otherwise whether some entry has exactly it.
bool IsClassRegistered(const WindowTable& table, U16View windowClass);

// The six anchor texts (" Free " ... " Top right ") and the three monitor
// choices ("Primary monitor" ...) as loaded from the string table; the core does
// not own resources, so the caller lends them. A null monitor text is
// shown as nothing.
struct AnchorTexts {
  const char16_t* Text[kPosCount];
  const char16_t* Monitor[kMonitorChoiceCount];
};

// List-view and popup texts of an entry, written into out[kTextCapacity].
// A Pos outside 0..5 is placed at Left, Top, so it is shown as a free point.
// An anchor on another monitor than the primary names that monitor after
// the anchor (" Top right / Monitor of the mouse pointer "); the default shows as before.
void PositionText(const EntryGeometry& entry, const AnchorTexts& anchors, char16_t* out);
void SizeText(const EntryGeometry& entry, char16_t* out);

}  // namespace qm
