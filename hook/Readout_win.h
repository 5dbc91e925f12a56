// The geometry readout: a small topmost window showing a rectangle's corners
// and size next to the cursor.
#pragma once

#include <windows.h>

namespace qm {

// The readout window, made by CreateReadoutWindow and kept until exit.
extern HWND g_readoutWindow;

// Registers "Quillmere_Tooltip" and creates the hidden readout window.
void CreateReadoutWindow();
// WM_COPYDATA to the main window (mainWindow); handles MSG_TIP_RECT,
// ignores the rest. The readout shows without activating any window.
void OnCopyData(HWND mainWindow, const COPYDATASTRUCT* data);
// MSG_TIP_HIDE.
void HideReadout();

}  // namespace qm
