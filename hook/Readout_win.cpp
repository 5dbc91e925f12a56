// Placeholder until the readout window lands.
#include "hook/Readout_win.h"

namespace qm {

void CreateReadoutWindow() {}
void OnCopyData(const COPYDATASTRUCT*) {}
void HideReadout() {}

}  // namespace qm
