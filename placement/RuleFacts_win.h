// Facts about another program's window that rules by program and by monitor
// read when a rule is applied: the window's program and the monitor whose
// area its anchors use. Nothing here waits on the other program.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "placement/Placement.h"

namespace qm {

// The executable file name of the process that owns window ("notepad.exe")
// into out[kTextCapacity], cut to 255 code units; returns its length. A
// window of the Store apps' frame process reports the app inside it. 0 (an
// empty name) when the window is gone or its process may not be opened, as
// for a program running with higher rights: such windows match no rule by
// program.
size_t ReadWindowProgram(HWND window, char16_t* out);

// The work area and screen rectangle the anchors use on the monitor the
// choice names (MonitorPrimary and unknown values: the primary monitor's
// work area and screen size), read now rather than remembered, so docking,
// undocking, resolution and scale changes and remote sessions of another
// size are followed. A monitor that cannot be read gives the primary's
// area.
PlacementArea ReadPlacementArea(HWND window, int32_t monitorChoice);

}  // namespace qm
