// Reading the monitors' names as Windows shows them in Display settings,
// and finding the monitor an entry names. Read at need, never kept: after a
// desktop change the next reading sees the monitors as they are then.
#pragma once

#include <windows.h>

#include <cstddef>

#include "placement/MonitorNames.h"
#include "placement/Placement.h"

namespace qm {

// The monitors connected now, from the active display paths; none when
// Windows cannot say.
void ReadNamedMonitors(NamedMonitors* out);

// The monitor of a display path, by its GDI device name; null when no
// monitor has that name now.
HMONITOR MonitorOfNamed(const NamedMonitor& monitor);

// The display path of the monitor that holds most of window; false when
// none is found (then *out is empty). For a new entry's monitor name.
bool NamedMonitorOfWindow(HWND window, NamedMonitor* out);
// The same among monitors read beforehand: reading them costs about as much
// as placing a window, so a pass over many windows reads them once.
bool NamedMonitorOfWindow(HWND window, const NamedMonitors& monitors, NamedMonitor* out);

// The name of the monitor that holds most of window into out[kTextCapacity]
// (its device name, "\\.\DISPLAY1", where the monitor reports none), among
// monitors read beforehand; returns its length.
size_t MonitorNameOfWindow(HWND window, const NamedMonitors& monitors, char16_t* out);

// The area an entry's anchors and shares use: the named monitor's while it
// is connected, else that of the entry's Monitor choice (a preset picked
// from the menu still places the window when its monitor is away).
// monitors: the names read beforehand, null to read them now.
PlacementArea ReadEntryArea(HWND window, const EntryGeometry& entry, const NamedMonitors* monitors = nullptr);

}  // namespace qm
