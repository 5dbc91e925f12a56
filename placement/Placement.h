// Matching a window to its rule and computing where it goes: pure
// arithmetic on the entry's fields and the window's facts.
#pragma once

#include <cstdint>

#include "base/Geometry.h"
#include "base/U16.h"
#include "entries/EntryFields.h"
#include "entries/EntryTable.h"
#include "placement/MonitorNames.h"

namespace qm {

enum class PlacementAction { ResizeOnly, MoveOnly, MoveAndResize };

struct Placement {
  PlacementAction action;
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
};

// The invisible part of a window's rectangle on each side. Since Windows 10
// a window's rectangle includes resize borders that are not drawn (about 7
// pixels left, right and below, none above); its visible frame is what DWM
// reports as DWMWA_EXTENDED_FRAME_BOUNDS.
struct FrameMargins {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// A wider difference between frame and rectangle than this means the two
// are not in the same coordinates (the frame bounds are in physical pixels,
// the rectangle of a DPI-unaware caller is scaled), not a border.
constexpr int32_t MaxInvisibleBorder = 64;

// The margins between a window's outer rectangle and its visible frame; all
// zero, as if the whole rectangle were visible, when the frame does not lie
// inside the rectangle with every margin at most MaxInvisibleBorder.
FrameMargins InvisibleBorders(const Rect32& outer, const Rect32& frame);
// The visible frame: outer less the margins.
Rect32 VisibleRect(const Rect32& outer, const FrameMargins& margins);

// What an entry's anchors measure against: the work area of a monitor for
// the corners, and the rectangle whose centre PosCenter uses. For the
// primary monitor that is the screen size at the origin, read when the
// window is placed; for another monitor, the monitor's own rectangle.
struct PlacementArea {
  Rect32 work;
  Rect32 screen;
};

// Where the entry puts a window whose outer rectangle is windowRect, given
// the area of the monitor its anchors use. Sums that
// a hand-edited entry could push past the int32 range are done in 64 bits and
// saturated to it (a window cannot be placed further out than that anyway).
//
// Width and Height are the outer size, the numbers "Get" reads, and a free
// position is the outer corner, so a rule taken from a window reproduces it
// exactly. The anchors (corners and centre) align the visible frame instead:
// with margins, the outer rectangle reaches past the work area's edge by the
// invisible border, so that the frame the user sees is flush with it. No
// margins (unknown frame bounds, or none) is the plain outer arithmetic.
Placement ComputePlacement(const EntryGeometry& entry, const Rect32& windowRect, const PlacementArea& area,
                           const FrameMargins& margins = {});
// With Unit = UnitShare, Left, Top, Width and Height are hundredths of a
// percent of the work area, and what they give is the visible frame: its
// edges are the work area's left plus the rounded share of Left and of
// Left + Width (and so for the top), so two rules that share an edge meet on
// the same pixel whatever the width; the sizes follow from the edges. The
// outer rectangle reaches past the frame by the margins. With an anchor, the
// frame of that size is aligned as a pixel rule's is.
//
// The same on the primary monitor: its work area and the screen size.
inline Placement ComputePlacement(const EntryGeometry& entry, const Rect32& windowRect, const Rect32& workArea,
                                  int32_t screenWidth, int32_t screenHeight, const FrameMargins& margins = {}) {
  return ComputePlacement(entry, windowRect, PlacementArea{workArea, Rect32{0, 0, screenWidth, screenHeight}}, margins);
}

// A visible frame as the shares of work (hundredths of a percent) that a
// share rule turns back into that frame: each edge the share nearest to it,
// which the rule's rounding gives back exactly on a work area narrower than
// kShareWhole pixels. What "Get" stores for a rule in shares. An empty work
// area gives zeros.
struct ShareRect {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};
ShareRect SharesOfFrame(const Rect32& frame, const Rect32& work);

// The monitor whose area the entry's anchors use; a value that names no
// choice (a hand-edited file) means the primary monitor.
inline int32_t EffectiveMonitor(const EntryGeometry& entry) {
  return entry.Monitor == MonitorOfWindow || entry.Monitor == MonitorOfPointer ? entry.Monitor : MonitorPrimary;
}
// Whether the placement depends on the margins: an anchored position that
// is carried out.
// A share of the work area is the visible frame's, so it reads them as
// well, even for a size alone.
inline bool PlacementUsesMargins(const EntryGeometry& entry) {
  return entry.Unit == UnitShare || (entry.Pos != PosFree && entry.DesablePos == 0);
}

// Whether a window whose outer rectangle is window already stands where
// placement puts it: what the placement sets (its position, its size or
// both) is what the window has, each edge within slack pixels (a size
// within twice that). Carrying it out again would move nothing.
bool PlacementReached(const Placement& placement, const Rect32& window, int32_t slack = 0);

// How far from the real pixels asked for a window can land when its DPI
// (windowDpi: 96 for a program that is not DPI aware, the system's for a
// system-aware one) is not that of its monitor (monitorDpi). 0 when they
// agree.
int32_t ScaleRoundingSlack(uint32_t windowDpi, uint32_t monitorDpi);

// The rectangle a window whose outer rectangle is window has once placement
// is carried out: what it does not set stays as it was.
Rect32 PlacedRect(const Placement& placement, const Rect32& window);

// The DPI a window works at (GetDpiForWindow) and that of its monitor.
struct WindowScale {
  uint32_t window;
  uint32_t monitor;
};

// Whether a window just placed must be placed once more. A per-monitor
// aware window that the move carried onto a monitor of another DPI gets
// WM_DPICHANGED and, as that message's documentation asks, takes the
// suggested rectangle, undoing the size asked for; its invisible borders
// were read at the old scale too. A window that is not per-monitor aware
// keeps its own DPI but is stretched by the system to the new monitor's, so
// it lands with another size. So when the window's DPI changed, or it
// crossed onto a monitor of another DPI and its rectangle is not the one
// asked for, the placement is computed afresh and carried out again, once.
// On one scale a rectangle other than the one asked for is the program's
// own doing (a minimum size, a move of its own right after), which a second
// request would only fight.
bool PlaceOnceMore(WindowScale before, WindowScale after, const Placement& asked, const Rect32& now);

// What ComputePlacement reads beyond the entry: the work area for every
// anchored entry, the window's rectangle only when the size is kept as well.
inline bool PlacementReadsWorkArea(const EntryGeometry& entry) {
  return entry.Pos != PosFree || entry.Unit == UnitShare;
}
inline bool PlacementReadsWindowRect(const EntryGeometry& entry) {
  return entry.Pos != PosFree && entry.DesableSize != 0;
}

// Whether title meets a rule's registered name the way match says
// (MatchContains, MatchWhole, MatchWildcard; another value: contains).
// Ordinal and case-sensitive. In a pattern '*' stands for any run of
// characters, also none, and '?' for exactly one character, a surrogate
// pair counting as one; no character escapes them.
bool TitleMeetsName(U16View title, U16View name, int32_t match);
bool WildcardMatches(U16View text, U16View pattern);

// Whether a matched rule places its window when it appears, or when it is
// shown again after it was hidden: neither for a rule only applied on
// demand or one that leaves its windows alone.
inline bool PlacesOnAppearance(const WindowEntry& entry) {
  const int32_t apply = EffectiveApply(entry);
  return apply == ApplyAtFirstShow || apply == ApplyEveryShow;
}

// The rule for a window, in three passes over the table, each in table
// order: an exact class match; then a rule that names the window's program
// and no class; then the first rule whose Title occurs in the window's
// title (as its Match says). A rule that names a program never matches another program's
// window in any pass. program is the window's executable file name, empty
// when it was not read or could not be (then no rule with a program
// matches). -1 when none applies. Class and title comparisons are ordinal
// and case-sensitive, program names are not. An entry with an empty Title
// never matches by title: an empty pattern occurs in every title, and a rule
// with no name would catch every window that no other rule took. A rule
// with Apply ApplyNever is matched like any other: it is found first and so
// keeps every later rule from the window; the callers then place nothing.
// A rule that names a monitor not among monitors is passed over in every
// pass, so the next rule that matches applies (NamedMonitorAllows).
int32_t MatchWindowEntry(const WindowTable& table, U16View windowClass, U16View windowTitle, U16View program = {},
                         const NamedMonitors* monitors = nullptr);
// The passes on their own, so a caller can read the title only when the
// first two found nothing.
int32_t MatchWindowClass(const WindowTable& table, U16View windowClass, U16View program = {},
                         const NamedMonitors* monitors = nullptr);
int32_t MatchWindowProgram(const WindowTable& table, U16View program, const NamedMonitors* monitors = nullptr);
int32_t MatchWindowTitle(const WindowTable& table, U16View windowTitle, U16View program = {},
                         const NamedMonitors* monitors = nullptr);
// Whether some rule names a program, that is whether matching needs the
// window's program at all: reading it opens the window's process.
bool TableNamesProgram(const WindowTable& table);

// Sets or clears the style bit of every field of the entry that has one (the
// StyleBit rows of kWindowEntryFields); no other bit changes.
uint32_t ApplyFrameStyle(uint32_t style, const WindowEntry& entry);

// A preset's popup item, "(%s) [%s]" of its position and size texts, into
// out[kPresetItemCapacity].
constexpr int kPresetItemCapacity = 2 * kTextCapacity + 8;
void PresetItemText(const EntryGeometry& entry, const AnchorTexts& anchors, char16_t* out);

}  // namespace qm
