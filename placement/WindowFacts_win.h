// What the placement decisions need to know about a real window, read from
// the window system. Shared by the program and the hook library, so that
// both judge a window by the same facts.
#pragma once

#include <windows.h>

#include "placement/Placement.h"

namespace qm {

// Whether a user would call the window a window (IsUserWindow of its facts).
bool IsUserTopLevel(HWND window);
// Whether DWM keeps the window cloaked; false where DWM cannot tell.
bool IsCloakedWindow(HWND window);
// Whether placement by a window rule may move and restyle the window now
// (MayPlaceReportedWindow of its facts).
bool MayPlaceReportedWindow(HWND window);
// The same for the initialise command, which looks at visible windows only
// (MayPlaceAutomatically of its facts).
bool MayPlaceAutomatically(HWND window);

// How far from the real pixels asked for the window can land
// (ScaleRoundingSlack of its DPI and its monitor's).
int32_t PlacementSlack(HWND window);

// The invisible borders of the window whose outer rectangle is outer, from
// its frame bounds as DWM reports them; zero when DWM reports none (Wine 8,
// Windows 7 without composition) or an implausible frame.
FrameMargins ReadInvisibleBorders(HWND window, const RECT& outer);

}  // namespace qm
