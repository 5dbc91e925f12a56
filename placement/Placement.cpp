#include "placement/Placement.h"

#include <limits>

#include "placement/ProgramName.h"

namespace qm {

namespace {

int32_t Saturate(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// Whether the terminated stored text equals text, without measuring the
// stored text first: most entries differ in their first code unit.
bool EqualsStored(const char16_t* stored, U16View text) {
  for (char16_t c : text) {
    if (*stored != c) return false;  // also stops at the stored terminator
    ++stored;
  }
  return *stored == u'\0';
}

}  // namespace

FrameMargins InvisibleBorders(const Rect32& outer, const Rect32& frame) {
  const FrameMargins none = {0, 0, 0, 0};
  if (frame.right <= frame.left || frame.bottom <= frame.top) return none;
  const int64_t sides[] = {int64_t{frame.left} - outer.left, int64_t{frame.top} - outer.top,
                           int64_t{outer.right} - frame.right, int64_t{outer.bottom} - frame.bottom};
  for (int64_t side : sides) {
    if (side < 0 || side > MaxInvisibleBorder) return none;
  }
  return {static_cast<int32_t>(sides[0]), static_cast<int32_t>(sides[1]), static_cast<int32_t>(sides[2]),
          static_cast<int32_t>(sides[3])};
}

Rect32 VisibleRect(const Rect32& outer, const FrameMargins& margins) {
  return {Saturate(int64_t{outer.left} + margins.left), Saturate(int64_t{outer.top} + margins.top),
          Saturate(int64_t{outer.right} - margins.right), Saturate(int64_t{outer.bottom} - margins.bottom)};
}

namespace {

// share / kShareWhole of length, to the nearest pixel, halves away from
// zero. A share's value comes from a 32-bit field and a length is at most
// 2^32, so the product fits 64 bits.
int64_t ShareOf(int64_t share, int64_t length) {
  const int64_t product = share * length;
  const int64_t half = kShareWhole / 2;
  return product >= 0 ? (product + half) / kShareWhole : -((-product + half) / kShareWhole);
}

// A share rule as the pixel rule of the same visible frame: the outer
// rectangle whose frame spans the rounded edges.
EntryGeometry SharesAsPixels(const EntryGeometry& entry, const Rect32& work, const FrameMargins& m) {
  const int64_t width = int64_t{work.right} - work.left;
  const int64_t height = int64_t{work.bottom} - work.top;
  const int64_t left = work.left + ShareOf(entry.Left, width);
  const int64_t right = work.left + ShareOf(int64_t{entry.Left} + entry.Width, width);
  const int64_t top = work.top + ShareOf(entry.Top, height);
  const int64_t bottom = work.top + ShareOf(int64_t{entry.Top} + entry.Height, height);
  EntryGeometry pixels = entry;
  pixels.Unit = UnitPixels;
  pixels.Left = Saturate(left - m.left);
  pixels.Top = Saturate(top - m.top);
  pixels.Width = Saturate(right - left + m.left + m.right);
  pixels.Height = Saturate(bottom - top + m.top + m.bottom);
  return pixels;
}

// The share of length that edge, counted from its start, stands at, to the
// nearest; the inverse of ShareOf.
int64_t EdgeShare(int64_t edge, int64_t length) {
  if (length <= 0) return 0;
  const int64_t product = edge * kShareWhole;
  return product >= 0 ? (product + length / 2) / length : -((-product + length / 2) / length);
}

}  // namespace

ShareRect SharesOfFrame(const Rect32& frame, const Rect32& work) {
  const int64_t width = int64_t{work.right} - work.left;
  const int64_t height = int64_t{work.bottom} - work.top;
  const int64_t left = EdgeShare(int64_t{frame.left} - work.left, width);
  const int64_t top = EdgeShare(int64_t{frame.top} - work.top, height);
  const int64_t right = EdgeShare(int64_t{frame.right} - work.left, width);
  const int64_t bottom = EdgeShare(int64_t{frame.bottom} - work.top, height);
  return {Saturate(left), Saturate(top), Saturate(right - left), Saturate(bottom - top)};
}

Placement ComputePlacement(const EntryGeometry& entry, const Rect32& windowRect, const PlacementArea& area,
                           const FrameMargins& margins) {
  if (entry.Unit == UnitShare) return ComputePlacement(SharesAsPixels(entry, area.work, margins), windowRect, area, margins);
  const Rect32& workArea = area.work;
  int64_t x = entry.Left;
  int64_t y = entry.Top;
  int64_t w = entry.Width;
  int64_t h = entry.Height;
  if (entry.Pos != PosFree) {
    if (entry.DesableSize != 0) {
      w = int64_t{windowRect.right} - windowRect.left;
      h = int64_t{windowRect.bottom} - windowRect.top;
    }
    // The visible frame is aligned; the outer rectangle sticks out past it
    // by the margins.
    const int64_t ml = margins.left, mt = margins.top, mr = margins.right, mb = margins.bottom;
    switch (entry.Pos) {
      case PosBottomLeft:
        x = workArea.left - ml;
        y = workArea.bottom - h + mb;
        break;
      case PosBottomRight:
        x = workArea.right - w + mr;
        y = workArea.bottom - h + mb;
        break;
      case PosCenter:
        // The whole screen's centre, not the work area's; C++ division
        // rounds toward zero, as the placement must. Equal margins on both
        // sides leave the outer rectangle centred too (up to that rounding).
        // On the primary monitor the screen starts at the origin, which keeps
        // the centring of a single screen exactly as it always was.
        x = area.screen.left + (int64_t{area.screen.right} - area.screen.left - (w - ml - mr)) / 2 - ml;
        y = area.screen.top + (int64_t{area.screen.bottom} - area.screen.top - (h - mt - mb)) / 2 - mt;
        break;
      case PosTopLeft:
        x = workArea.left - ml;
        y = workArea.top - mt;
        break;
      case PosTopRight:
        x = workArea.right - w + mr;
        y = workArea.top - mt;
        break;
      default:
        break;  // an unknown anchor from a hand-edited file keeps Left, Top
    }
  }
  Placement placement{PlacementAction::MoveAndResize, Saturate(x), Saturate(y), Saturate(w), Saturate(h)};
  if (entry.DesablePos != 0) {
    placement.action = PlacementAction::ResizeOnly;
  } else if (entry.DesableSize != 0) {
    placement.action = PlacementAction::MoveOnly;
  }
  return placement;
}

namespace {

bool Near(int64_t value, int64_t wanted, int64_t slack) { return value >= wanted - slack && value <= wanted + slack; }

}  // namespace

bool PlacementReached(const Placement& placement, const Rect32& window, int32_t slack) {
  bool position = Near(window.left, placement.x, slack) && Near(window.top, placement.y, slack);
  bool size = Near(int64_t{window.right} - window.left, placement.width, 2 * int64_t{slack}) &&
              Near(int64_t{window.bottom} - window.top, placement.height, 2 * int64_t{slack});
  switch (placement.action) {
    case PlacementAction::ResizeOnly:
      return size;
    case PlacementAction::MoveOnly:
      return position;
    case PlacementAction::MoveAndResize:
      return position && size;
  }
  return false;
}

Rect32 PlacedRect(const Placement& placement, const Rect32& window) {
  const int64_t width = int64_t{window.right} - window.left;
  const int64_t height = int64_t{window.bottom} - window.top;
  switch (placement.action) {
    case PlacementAction::ResizeOnly:
      return {window.left, window.top, Saturate(int64_t{window.left} + placement.width),
              Saturate(int64_t{window.top} + placement.height)};
    case PlacementAction::MoveOnly:
      return {placement.x, placement.y, Saturate(placement.x + width), Saturate(placement.y + height)};
    case PlacementAction::MoveAndResize:
      break;
  }
  return {placement.x, placement.y, Saturate(int64_t{placement.x} + placement.width),
          Saturate(int64_t{placement.y} + placement.height)};
}

bool PlaceOnceMore(WindowScale before, WindowScale after, const Placement& asked, const Rect32& now) {
  if (before.window != after.window) return true;
  // Stretched onto rounded pixels, as a window of another DPI lands.
  return before.monitor != after.monitor &&
         !PlacementReached(asked, now, ScaleRoundingSlack(after.window, after.monitor));
}

// A window whose DPI is not its monitor's lives in coordinates the system
// scales ("Mixed-Mode DPI Scaling and DPI-aware APIs", "DPI_AWARENESS"): a
// rectangle given in real pixels is scaled to the window's coordinates,
// rounded to whole pixels there, and scaled back. An edge then lands up to
// half a window pixel, in real pixels, plus the last rounding away, that is
// ceil(ratio / 2) for a ratio of larger to smaller DPI (1 at 150 % and
// 200 %, 2 at 300 %); each edge of a size may be off, so a size twice that.
int32_t ScaleRoundingSlack(uint32_t windowDpi, uint32_t monitorDpi) {
  if (windowDpi == monitorDpi || windowDpi == 0 || monitorDpi == 0) return 0;
  const uint64_t larger = windowDpi > monitorDpi ? windowDpi : monitorDpi;
  const uint64_t smaller = windowDpi > monitorDpi ? monitorDpi : windowDpi;
  return static_cast<int32_t>((larger + 2 * smaller - 1) / (2 * smaller));
}

namespace {

// A rule that names no program passes for every window; one that does, only
// for that program's windows.
bool ProgramAllows(const WindowEntry& entry, U16View program) {
  return entry.Process[0] == u'\0' || SameProgramName(U16ViewOf(entry.Process), program);
}

}  // namespace

namespace {

// Code units of the character at text[i]: 2 for a surrogate pair, else 1.
size_t CharUnits(U16View text, size_t i) {
  const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
                    text[i + 1] <= 0xDFFF;
  return pair ? 2 : 1;
}

// The end of seg (a piece of a pattern without '*') laid on text at t, or
// npos where it does not fit there.
size_t SegmentEnd(U16View text, size_t t, U16View seg) {
  for (char16_t c : seg) {
    if (t >= text.size()) return U16View::npos;
    if (c == u'?') {
      t += CharUnits(text, t);
    } else if (text[t] == c) {
      ++t;
    } else {
      return U16View::npos;
    }
  }
  return t;
}

// The end of seg's first place in text at or after from, or npos. A piece
// without '?' is an ordinary substring search.
size_t FindSegment(U16View text, size_t from, U16View seg) {
  if (seg.find(u'?') == U16View::npos) {
    const size_t at = text.find(seg, from);
    return at == U16View::npos ? at : at + seg.size();
  }
  for (size_t s = from; s <= text.size(); s += s < text.size() ? CharUnits(text, s) : 1) {
    const size_t end = SegmentEnd(text, s, seg);
    if (end != U16View::npos) return end;
  }
  return U16View::npos;
}

}  // namespace

// The pieces between the stars: the first is laid at the start, the last at
// the end, and each one between at its first place after the one before
// (taking the first place never loses a match the stars could make). So a
// pattern costs a few substring searches, about what a "contains" rule does.
bool WildcardMatches(U16View text, U16View pattern) {
  const size_t firstStar = pattern.find(u'*');
  if (firstStar == U16View::npos) return SegmentEnd(text, 0, pattern) == text.size();
  size_t t = SegmentEnd(text, 0, U16Slice(pattern, 0, firstStar));
  if (t == U16View::npos) return false;
  const size_t lastStar = pattern.rfind(u'*');
  for (size_t p = firstStar + 1; p <= lastStar;) {
    const size_t next = pattern.find(u'*', p);
    const U16View seg = U16Slice(pattern, p, next - p);
    p = next + 1;
    if (seg.empty()) continue;
    t = FindSegment(text, t, seg);
    if (t == U16View::npos) return false;
  }
  const U16View tail = U16Slice(pattern, lastStar + 1, pattern.size() - lastStar - 1);
  if (tail.find(u'?') == U16View::npos) {
    return text.size() - t >= tail.size() && U16Slice(text, text.size() - tail.size(), tail.size()) == tail;
  }
  for (size_t s = t; s <= text.size(); s += s < text.size() ? CharUnits(text, s) : 1) {
    if (SegmentEnd(text, s, tail) == text.size()) return true;
  }
  return false;
}

bool TitleMeetsName(U16View title, U16View name, int32_t match) {
  switch (match) {
    case MatchWhole:
      return title == name;
    case MatchWildcard:
      return WildcardMatches(title, name);
    default:
      return U16Contains(title, name);
  }
}

int32_t MatchWindowClass(const WindowTable& table, U16View windowClass, U16View program,
                         const NamedMonitors* monitors) {
  if (windowClass.empty()) return -1;
  for (int32_t i = 0; i < table.Count; ++i) {
    const WindowEntry& entry = table.Entries[i];
    if (EqualsStored(entry.Class, windowClass) && ProgramAllows(entry, program) &&
        NamedMonitorAllows(entry, monitors)) {
      return i;
    }
  }
  return -1;
}

int32_t MatchWindowProgram(const WindowTable& table, U16View program, const NamedMonitors* monitors) {
  if (program.empty()) return -1;
  for (int32_t i = 0; i < table.Count; ++i) {
    const WindowEntry& entry = table.Entries[i];
    if (entry.Class[0] == u'\0' && entry.Process[0] != u'\0' && SameProgramName(U16ViewOf(entry.Process), program) &&
        NamedMonitorAllows(entry, monitors)) {
      return i;
    }
  }
  return -1;
}

int32_t MatchWindowTitle(const WindowTable& table, U16View windowTitle, U16View program,
                         const NamedMonitors* monitors) {
  for (int32_t i = 0; i < table.Count; ++i) {
    const WindowEntry& entry = table.Entries[i];
    // A whole title is compared without measuring the stored name first.
    const bool meets = entry.Match == MatchWhole ? EqualsStored(entry.Title, windowTitle)
                                                 : TitleMeetsName(windowTitle, U16ViewOf(entry.Title), entry.Match);
    if (entry.Title[0] != u'\0' && meets && ProgramAllows(entry, program) && NamedMonitorAllows(entry, monitors)) {
      return i;
    }
  }
  return -1;
}

int32_t MatchWindowEntry(const WindowTable& table, U16View windowClass, U16View windowTitle, U16View program,
                         const NamedMonitors* monitors) {
  int32_t index = MatchWindowClass(table, windowClass, program, monitors);
  if (index < 0) index = MatchWindowProgram(table, program, monitors);
  return index >= 0 ? index : MatchWindowTitle(table, windowTitle, program, monitors);
}

bool TableNamesProgram(const WindowTable& table) {
  for (int32_t i = 0; i < table.Count; ++i) {
    if (table.Entries[i].Process[0] != u'\0') return true;
  }
  return false;
}

uint32_t ApplyFrameStyle(uint32_t style, const WindowEntry& entry) {
  for (const auto& row : kWindowEntryFields) {
    if (row.Style == 0) continue;
    style = entry.*row.Number != 0 ? (style | row.Style) : (style & ~row.Style);
  }
  return style;
}

void PresetItemText(const EntryGeometry& entry, const AnchorTexts& anchors, char16_t* out) {
  char16_t position[kTextCapacity];
  char16_t size[kTextCapacity];
  PositionText(entry, anchors, position);
  SizeText(entry, size);
  size_t len = 0;
  const U16View parts[] = {u"(", U16ViewOf(position), u") [", U16ViewOf(size), u"]"};
  for (U16View part : parts) {
    len += U16CopyTruncated(out + len, static_cast<size_t>(kPresetItemCapacity) - len, part);
  }
}

}  // namespace qm
