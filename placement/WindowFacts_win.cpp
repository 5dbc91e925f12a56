#include "placement/WindowFacts_win.h"

#include <dwmapi.h>

#include "base/Dpi_win.h"
#include "base/Win32Glue.h"
#include "placement/WindowKind.h"

namespace qm {

namespace {

// The facts of window, its class name kept in className. A handle that
// names no window reads as a style of 0: not visible. No call sends the
// window a message, and they are few: under Wine each asks the server.
TopLevelFacts ReadFacts(HWND window, wchar_t (&className)[kTextCapacity]) {
  const int length = GetClassNameW(window, className, kTextCapacity);
  TopLevelFacts facts = {};
  facts.cloaked = IsCloakedWindow(window);
  facts.owned = GetWindow(window, GW_OWNER) != nullptr;
  facts.style = static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE));
  facts.exStyle = static_cast<uint32_t>(GetWindowLongW(window, GWL_EXSTYLE));
  facts.className = AsU16View(className, length > 0 ? static_cast<size_t>(length) : 0);
  return facts;
}

}  // namespace

bool IsCloakedWindow(HWND window) {
  // DWM is asked, not the window. Where DWM cannot tell (Wine 8, no
  // composition), nothing is cloaked.
  DWORD cloaked = 0;
  if (FAILED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof(cloaked)))) cloaked = 0;
  return cloaked != 0;
}

bool IsUserTopLevel(HWND window) {
  wchar_t className[kTextCapacity];
  return IsUserWindow(ReadFacts(window, className));
}

bool MayPlaceReportedWindow(HWND window) {
  wchar_t className[kTextCapacity];
  return MayPlaceReportedWindow(ReadFacts(window, className));
}

bool MayPlaceAutomatically(HWND window) {
  wchar_t className[kTextCapacity];
  return MayPlaceAutomatically(ReadFacts(window, className));
}

int32_t PlacementSlack(HWND window) {
  return ScaleRoundingSlack(WindowDpi(window), MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)));
}

FrameMargins ReadInvisibleBorders(HWND window, const RECT& outer) {
  RECT frame;
  if (FAILED(DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof(frame)))) {
    return FrameMargins{0, 0, 0, 0};
  }
  return InvisibleBorders(ToRect32(outer), ToRect32(frame));
}

WindowScale ReadWindowScale(HWND window) {
  return {WindowDpi(window), MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST))};
}

bool AnswersWithin(HWND window, UINT timeoutMs, UINT flags) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | flags, timeoutMs, &result) != 0;
}

}  // namespace qm
