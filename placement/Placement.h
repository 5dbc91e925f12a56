// Matching a window to its rule and computing where it goes: pure
// arithmetic on the entry's fields and the window's facts.
#pragma once

#include <cstdint>

#include "base/Geometry.h"
#include "base/U16.h"
#include "entries/EntryFields.h"
#include "entries/EntryTable.h"

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

// Where the entry puts a window whose outer rectangle is windowRect, given
// the primary work area and the screen size captured at start-up. Sums that
// a hand-edited entry could push past the int32 range are done in 64 bits and
// saturated to it (a window cannot be placed further out than that anyway).
//
// Width and Height are the outer size, the numbers "取得" reads, and a free
// position is the outer corner, so a rule taken from a window reproduces it
// exactly. The anchors (corners and centre) align the visible frame instead:
// with margins, the outer rectangle reaches past the work area's edge by the
// invisible border, so that the frame the user sees is flush with it. No
// margins (unknown frame bounds, or none) is the plain outer arithmetic.
Placement ComputePlacement(const EntryGeometry& entry, const Rect32& windowRect, const Rect32& workArea,
                           int32_t screenWidth, int32_t screenHeight, const FrameMargins& margins = {});
// Whether the placement depends on the margins: an anchored position that
// is carried out.
inline bool PlacementUsesMargins(const EntryGeometry& entry) {
  return entry.Pos != PosFree && entry.DesablePos == 0;
}

// Whether a window whose outer rectangle is window already stands where
// placement puts it: what the placement sets (its position, its size or
// both) is what the window has. Carrying it out again would move nothing.
bool PlacementReached(const Placement& placement, const Rect32& window);

// What ComputePlacement reads beyond the entry: the work area for every
// anchored entry, the window's rectangle only when the size is kept as well.
inline bool PlacementReadsWorkArea(const EntryGeometry& entry) { return entry.Pos != PosFree; }
inline bool PlacementReadsWindowRect(const EntryGeometry& entry) {
  return entry.Pos != PosFree && entry.DesableSize != 0;
}

// The rule for a window of this class and title: first an exact class match
// over the whole table, then the first entry whose Title occurs in the
// window's title. -1 when none applies. Both comparisons are ordinal and
// case-sensitive. An entry with an empty Title never matches by title: an
// empty pattern occurs in every title, and a rule with no name would catch
// every window that no class rule took.
int32_t MatchWindowEntry(const WindowTable& table, U16View windowClass, U16View windowTitle);
// The two passes on their own, so a caller can read the title only when the
// class pass found nothing.
int32_t MatchWindowClass(const WindowTable& table, U16View windowClass);
int32_t MatchWindowTitle(const WindowTable& table, U16View windowTitle);

// Sets or clears the style bit of every frame field of the entry (see
// FrameFields); no other bit changes.
uint32_t ApplyFrameStyle(uint32_t style, const WindowEntry& entry);

// A preset's popup item, "(%s) [%s]" of its position and size texts, into
// out[PresetItemCapacity].
constexpr int PresetItemCapacity = 2 * TextCapacity + 8;
void PresetItemText(const EntryGeometry& entry, const AnchorTexts& anchors, char16_t* out);

}  // namespace qm
