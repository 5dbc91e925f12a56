// Carrying placements out on real windows.
#pragma once

#include <windows.h>

#include <cstdint>

namespace qm {

// Index of the window entry that applies to window, or -1.
int32_t FindWindowEntry(HWND window);
// Moves/sizes window by entry index, then sets its frame style bits.
void ApplyWindowEntry(HWND window, int32_t index);
// The initialise command: every visible top-level window that has a rule.
void ApplyToAllWindows();
// MSG_PLACE_WINDOW: the rule for window, without a visibility test.
void PlaceReportedWindow(HWND window);

}  // namespace qm
