// Placeholder until the preset popup lands.
#include "placement/PresetPopup_win.h"

namespace qm {

void ShowMenuEntryPopup(HWND) {}

}  // namespace qm
