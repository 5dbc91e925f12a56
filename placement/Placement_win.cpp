#include "placement/Placement_win.h"

#include "base/Win32Glue.h"
#include "entries/EntryStore_win.h"
#include "placement/Placement.h"
#include "placement/RuleFacts_win.h"
#include "placement/WindowFacts_win.h"

namespace qm {

namespace {

// Both SetWindowPos forms leave out SWP_NOZORDER and SWP_NOACTIVATE on
// purpose: a placed window comes to the top and is activated. MoveWindow
// changes neither.
void CarryOut(HWND window, const Placement& p) {
  switch (p.action) {
    case PlacementAction::ResizeOnly:
      SetWindowPos(window, HWND_TOP, 0, 0, p.width, p.height, SWP_NOMOVE);
      break;
    case PlacementAction::MoveOnly:
      SetWindowPos(window, HWND_TOP, p.x, p.y, 0, 0, SWP_NOSIZE);
      break;
    case PlacementAction::MoveAndResize:
      MoveWindow(window, p.x, p.y, p.width, p.height, TRUE);
      break;
  }
}

// Returns whether a frame bit changed.
bool ApplyFrameStyles(HWND window, const WindowEntry& entry) {
  // A style of 0 is legitimate (a plain hidden overlapped window), so only
  // the error code tells a window that is gone; then nothing is written.
  SetLastError(0);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  if (style == 0 && GetLastError() != 0) return false;
  uint32_t changed = ApplyFrameStyle(static_cast<uint32_t>(style), entry);
  SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(changed));
  // The non-client area is only recomputed and redrawn on a frame change.
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
  return changed != static_cast<uint32_t>(style);
}

// Menus, tooltips, drop-downs and minimised or maximised windows are passed
// over, as by the hook library's reports. Their facts are read only for a
// window that has a rule: most have none.
BOOL CALLBACK ApplyToVisibleWindow(HWND window, LPARAM) {
  if (IsWindowVisible(window)) {
    int32_t index = FindWindowEntry(window);
    if (index >= 0 && MayPlaceAutomatically(window)) ApplyWindowEntry(window, index);
  }
  return TRUE;
}

}  // namespace

int32_t FindWindowEntry(HWND window) {
  // A handle that names no window (destroyed meanwhile, or never one) reads
  // as an empty class and title and so matches nothing. The program is read
  // only when some rule names one: it means opening the window's process.
  char16_t program[TextCapacity];
  const size_t programLength = TableNamesProgram(g_windowTable) ? ReadWindowProgram(window, program) : 0;
  const U16View programView(program, programLength);
  wchar_t text[TextCapacity];
  int length = GetClassNameW(window, text, TextCapacity);
  int32_t index =
      MatchWindowClass(g_windowTable, AsU16View(text, length > 0 ? static_cast<size_t>(length) : 0), programView);
  if (index < 0) index = MatchWindowProgram(g_windowTable, programView);
  if (index >= 0) return index;
  length = GetWindowTextW(window, text, TextCapacity);
  return MatchWindowTitle(g_windowTable, AsU16View(text, length > 0 ? static_cast<size_t>(length) : 0), programView);
}

namespace {

Placement PlacementFor(HWND window, const EntryGeometry& geometry) {
  Rect32 windowRect{};
  PlacementArea area{};
  FrameMargins margins{};
  const bool usesMargins = PlacementUsesMargins(geometry);
  RECT r;
  if ((PlacementReadsWindowRect(geometry) || usesMargins) && GetWindowRect(window, &r)) {
    windowRect = ToRect32(r);
    if (usesMargins) margins = ReadInvisibleBorders(window, r);
  }
  if (PlacementReadsWorkArea(geometry)) {
    area = ReadPlacementArea(window, EffectiveMonitor(geometry), g_screenWidth, g_screenHeight);
  }
  return ComputePlacement(geometry, windowRect, area, margins);
}

}  // namespace

void PlaceWindow(HWND window, const EntryGeometry& geometry) { CarryOut(window, PlacementFor(window, geometry)); }

bool WindowOffItsRule(HWND window) {
  // Minimised or maximised by its program or the user on purpose; a
  // placement would undo that.
  if (IsIconic(window) || IsZoomed(window)) return false;
  int32_t index = FindWindowEntry(window);
  RECT r;
  if (index < 0 || !GetWindowRect(window, &r)) return false;
  return !PlacementReached(PlacementFor(window, g_windowTable.Entries[index]), ToRect32(r));
}

void ApplyWindowEntry(HWND window, int32_t index) {
  if (index < 0 || index >= g_windowTable.Count) return;
  // A copy: moving another program's window waits for that program, and
  // the messages this thread handles meanwhile may reach the table.
  const WindowEntry entry = g_windowTable.Entries[index];
  PlaceWindow(window, entry);
  if (entry.DesableStyle != 0) return;
  // Another frame has other invisible borders (a sizing frame has wide
  // ones): an anchored window is aligned once more by its new frame.
  if (ApplyFrameStyles(window, entry) && PlacementUsesMargins(entry)) PlaceWindow(window, entry);
}

void ApplyToAllWindows() { EnumWindows(ApplyToVisibleWindow, 0); }

void PlaceReportedWindow(HWND window) {
  int32_t index = FindWindowEntry(window);
  if (index >= 0 && MayPlaceReportedWindow(window)) ApplyWindowEntry(window, index);
}

}  // namespace qm
