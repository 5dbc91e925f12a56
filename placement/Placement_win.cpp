// Placeholder until the placement engine lands.
#include "placement/Placement_win.h"

namespace qm {

int32_t FindWindowEntry(HWND) { return -1; }
void ApplyWindowEntry(HWND, int32_t) {}
void ApplyToAllWindows() {}
void PlaceReportedWindow(HWND) {}

}  // namespace qm
