#include "placement/WindowKind.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

constexpr uint32_t kOverlapped = 0x00CF0000;  // WS_OVERLAPPEDWINDOW
constexpr uint32_t kPopup = 0x80000000;       // WS_POPUP
constexpr uint32_t kBorder = 0x00800000;      // WS_BORDER
constexpr uint32_t kThickFrame = 0x00040000;  // WS_THICKFRAME
constexpr uint32_t kTopmost = 0x00000008;     // WS_EX_TOPMOST

// A visible window's facts.
TopLevelFacts Facts(uint32_t style, uint32_t exStyle = 0, bool owned = false, U16View className = u"AppClass") {
  return TopLevelFacts{false, owned, style | winstyle::Visible, exStyle, className};
}

TEST(IsUserWindow, WhatTheTaskbarAndTitleBarsShow) {
  struct Case {
    const char* name;
    TopLevelFacts facts;
    bool expected;
  } cases[] = {
      {"main window", Facts(kOverlapped), true},
      {"dialog: owned, with a caption", Facts(kPopup | 0x00C80000, 0, true, u"#32770"), true},
      {"captioned palette, owned tool window", Facts(kPopup | 0x00C00000, winstyle::ExToolWindow, true), true},
      {"borderless main window, not owned", Facts(kPopup | kThickFrame), true},
      {"splash screen, not owned", Facts(kPopup), true},
      {"owned pop-up forced onto the taskbar", Facts(kPopup, winstyle::ExAppWindow, true), true},
      {"owned caption-less pop-up (a program's drop-down)", Facts(kPopup | kBorder, 0, true), false},
      {"unowned caption-less tool window", Facts(kPopup, winstyle::ExToolWindow | kTopmost), false},
      {"caption-less no-activate pop-up (a notification)", Facts(kPopup, winstyle::ExNoActivate), false},
      {"menu, by its class", Facts(kPopup | kBorder, 0, false, u"#32768"), false},
      {"tooltip", Facts(kPopup, 0, false, u"tooltips_class32"), false},
      {"combo box drop-down: a child of the desktop", Facts(winstyle::Child | kBorder, 0, false, u"ComboLBox"), false},
      {"the desktop, whatever its title", Facts(kPopup, 0, false, u"Progman"), false},
      {"class names compare whole", Facts(kPopup, 0, false, u"Progman2"), true},
      {"Alt+Tab, Task View, Snap layouts", Facts(kPopup, 0, false, u"XamlExplorerHostIslandWindow"), false},
      {"Start, Search, action centre", Facts(kPopup, 0, false, u"Windows.UI.Core.CoreWindow"), false},
      {"tray overflow island", Facts(kPopup, 0, false, u"TopLevelWindowForOverflowXamlIsland"), false},
      {"not visible", TopLevelFacts{false, false, kOverlapped, 0, u"AppClass"}, false},
      {"cloaked", TopLevelFacts{true, false, kOverlapped | winstyle::Visible, 0, u"ApplicationFrameWindow"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsUserWindow(c.facts), c.expected);
  }
}

TEST(MayPlaceAutomatically, NeverAMinimisedOrMaximisedWindow) {
  struct Case {
    const char* name;
    TopLevelFacts facts;
    bool expected;
  } cases[] = {
      {"normal main window", Facts(kOverlapped), true},
      {"maximised", Facts(kOverlapped | winstyle::Maximize), false},
      {"minimised", Facts(kOverlapped | winstyle::Minimize), false},
      {"normal, but a tooltip", Facts(kPopup, 0, false, u"tooltips_class32"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MayPlaceAutomatically(c.facts), c.expected);
    EXPECT_EQ(MayPlaceReportedWindow(c.facts), c.expected);
  }
  // A reported window hidden again since it appeared is still placed; the
  // initialise command passes over it.
  TopLevelFacts hidden = Facts(kOverlapped);
  hidden.style &= ~winstyle::Visible;
  EXPECT_TRUE(MayPlaceReportedWindow(hidden));
  EXPECT_FALSE(MayPlaceAutomatically(hidden));
  hidden.cloaked = true;
  EXPECT_FALSE(MayPlaceReportedWindow(hidden));
}

}  // namespace
}  // namespace qm
