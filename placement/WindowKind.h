// Which top-level windows a user would call windows, and which of those
// automatic placement may touch: decisions over plain facts that the Win32
// layer reads from a window, so that the rules can be tested anywhere.
#pragma once

#include <cstdint>

#include "base/U16.h"

namespace qm {

// The style bits the decisions read, with their platform values.
namespace winstyle {
constexpr uint32_t Child = 0x40000000;     // WS_CHILD
constexpr uint32_t Visible = 0x10000000;   // WS_VISIBLE
constexpr uint32_t Minimize = 0x20000000;  // WS_MINIMIZE
constexpr uint32_t Maximize = 0x01000000;  // WS_MAXIMIZE
constexpr uint32_t Caption = 0x00C00000;   // WS_CAPTION = WS_BORDER | WS_DLGFRAME
constexpr uint32_t ExToolWindow = 0x00000080;  // WS_EX_TOOLWINDOW
constexpr uint32_t ExAppWindow = 0x00040000;   // WS_EX_APPWINDOW
constexpr uint32_t ExNoActivate = 0x08000000;  // WS_EX_NOACTIVATE
}  // namespace winstyle

// What the decisions need to know about a window. A window without WS_CHILD
// is top-level, and for a top-level window IsWindowVisible is its
// WS_VISIBLE bit, so the style tells both.
struct TopLevelFacts {
  bool cloaked;   // DWMWA_CLOAKED reads non-zero
  bool owned;     // it has an owner window (GW_OWNER)
  uint32_t style;    // GWL_STYLE
  uint32_t exStyle;  // GWL_EXSTYLE
  U16View className;
};

// Whether a user would call this window a window: one the taskbar would give
// a button of its own, or one with a title bar (a dialog, a palette). Menus,
// tooltips, drop-down lists and other caption-less pop-ups are parts of a
// window, not windows; the reasons are written at the definition.
bool IsUserWindow(const TopLevelFacts& facts);

// Whether automatic placement (a window appearing, the initialise command)
// may move and restyle the window: a user window that is neither minimised
// nor maximised. Moving a minimised window moves its icon's place, and a
// maximised window would stay "maximised" with another rectangle.
bool MayPlaceAutomatically(const TopLevelFacts& facts);

// The same for a window the hook library reported when it appeared, visible
// then: it is placed even if its program has hidden it for a moment since
// (some hide and show their window again while they start), so that it
// stands where its rule says when it comes back.
bool MayPlaceReportedWindow(const TopLevelFacts& facts);

// Whether a window with this style is minimised or maximised. A preset
// chosen for such a window restores it first: it takes the preset's
// rectangle only as a normal window.
bool IsMinimizedOrMaximized(uint32_t style);

}  // namespace qm
