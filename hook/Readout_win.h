// The geometry readout: a small topmost window showing a rectangle's corners
// and size next to the cursor.
#pragma once

#include <windows.h>

namespace qm {

// Registers "Quillmere_Tooltip" and creates the hidden readout window.
void CreateReadoutWindow();
// WM_COPYDATA to the main window; handles MSG_TIP_RECT, ignores the rest.
void OnCopyData(const COPYDATASTRUCT* data);
// MSG_TIP_HIDE.
void HideReadout();

}  // namespace qm
