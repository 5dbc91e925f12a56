// Helpers the main window's own source files share: the toolbar's tooltip
// answer and the selection of a list view. Nothing outside app/ uses them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

namespace qm {

// TTN_GETDISPINFOW from the toolbar's tooltip control.
void SupplyToolbarTip(NMTTDISPINFOW* info);

// Lowest selected row of view, or -1.
int32_t FirstSelectedRow(HWND view);
// The selected rows of view in ascending order, at most capacity of them;
// returns how many were written.
int32_t SelectedRows(HWND view, int32_t* rows, int32_t capacity);

}  // namespace qm
