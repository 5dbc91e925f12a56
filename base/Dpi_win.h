// The DPI facts of windows and monitors, for a per-monitor DPI aware program.
// The functions that give them came with Windows 8.1 and 10; each is looked
// up at run time and, where the system lacks it, answered from the system
// DPI, which is then the DPI of every monitor. Shared by the program and its
// hook library.
#pragma once

#include <windows.h>

#include <cstdint>

namespace qm {

// Makes the process per-monitor DPI aware: version 2 where Windows has it
// (Windows 10 1703 and later: the dialog manager and the non-client area
// follow the monitor's DPI), else version 1 (Windows 8.1), else system aware
// (Vista to 8). The manifest asks for the same before any code runs; this
// covers a host that ignores it. A process whose awareness is already set
// keeps it.
void MakeProcessDpiAware();

// DPI of the system (the primary monitor at sign-in), of a window, of a
// monitor. Never 0.
uint32_t SystemDpi();
uint32_t WindowDpi(HWND window);
uint32_t MonitorDpi(HMONITOR monitor);

// GetSystemMetrics for a DPI.
int MetricForDpi(int index, uint32_t dpi);

// The font list views and other controls use by default (the icon title
// font), for a DPI. The caller deletes it.
HFONT CreateControlFontForDpi(uint32_t dpi);

// A screen point in real pixels as window sees it: a program that is not
// DPI aware works in coordinates the system scaled down for it. Unchanged
// where the system cannot say or the window sees real pixels.
POINT PhysicalToWindowPoint(HWND window, POINT point);

}  // namespace qm
