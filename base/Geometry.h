// Rectangles in screen pixels as the portable core sees them: signed 32-bit
// coordinates, origin at the primary screen's top-left corner, right and
// bottom exclusive.
#pragma once

#include <cstdint>

namespace qm {

struct Rect32 {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// GetWindowPlacement and SetWindowPlacement give a top-level window's
// restore rectangle in workspace coordinates unless it has the tool-window
// style (the WINDOWPLACEMENT documentation, Remarks): the origin is the
// top-left corner of the work area, so a taskbar at the left or top of the
// window's monitor shifts them against screen coordinates by the work
// area's offset inside that monitor (its monitor rectangle and work area,
// as GetMonitorInfo gives them).
inline Rect32 WorkspaceToScreen(const Rect32& r, const Rect32& monitor, const Rect32& work) {
  const int32_t dx = work.left - monitor.left;
  const int32_t dy = work.top - monitor.top;
  return Rect32{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}
inline Rect32 ScreenToWorkspace(const Rect32& r, const Rect32& monitor, const Rect32& work) {
  const int32_t dx = work.left - monitor.left;
  const int32_t dy = work.top - monitor.top;
  return Rect32{r.left - dx, r.top - dy, r.right - dx, r.bottom - dy};
}

}  // namespace qm
