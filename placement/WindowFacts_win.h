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

// The DPI window works at and that of the monitor it is on.
WindowScale ReadWindowScale(HWND window);

// Whether window's thread handles a message within timeoutMs. flags adds
// to SMTO_ABORTIFHUNG (SMTO_BLOCK: handle nothing sent to this thread while
// waiting).
bool AnswersWithin(HWND window, UINT timeoutMs, UINT flags = 0);

// An asynchronous move or show is posted to the window's thread, and that
// thread handles messages sent to it before what was posted, so one answer
// does not mean the request was carried out. Each answer is a pass of that
// thread through its queue: after a few, a request posted before them has
// been handled. Waits until done() holds, for at most that many answers and
// boundMs in all; false only when the thread stopped answering.
template <typename Done>
bool WaitForPostedRequest(HWND window, UINT boundMs, Done done, UINT flags = 0) {
  constexpr int kPasses = 3;
  const ULONGLONG deadline = GetTickCount64() + boundMs;
  for (int pass = 0; pass < kPasses && !done(); ++pass) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) break;
    if (!AnswersWithin(window, static_cast<UINT>(deadline - now), flags)) return false;
  }
  return true;
}

}  // namespace qm
