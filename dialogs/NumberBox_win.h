// The four number boxes of the entry dialogs as edit controls.
#pragma once

#include <windows.h>

#include <cstdint>

namespace qm {

// Lets the four number boxes take a leading minus sign: drops ES_NUMBER and
// filters typing and pasting itself (digits, one leading '-', full-width
// forms mapped to ASCII). Call once while the dialog initialises.
void PrepareNumberBoxes(HWND dialog);
// Shows value as "%d" in number box id.
void ShowNumber(HWND dialog, int id, int32_t value);
// Reads number box id as a signed number (ParseNumberBoxText).
int32_t ReadNumber(HWND dialog, int id);

}  // namespace qm
