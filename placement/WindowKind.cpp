#include "placement/WindowKind.h"

namespace qm {

namespace {

// Classes of the system's own pop-ups and of the shell, which are never a
// program's window whatever their styles say: menus ("#32768"), their
// shadows, tooltips, the drop-down list of a combo box (a child of the
// desktop), the desktop and its wallpaper layer, and the taskbars. A title
// rule such as "Program" would otherwise catch the desktop ("Program
// Manager"), and a rule for explorer.exe the taskbar.
//
// The Windows 11 shell draws its surfaces as owner-less top-level windows
// without the tool style, which the taskbar's rule would count: the Alt+Tab
// switcher, Task View and the Snap layouts ("XamlExplorerHostIslandWindow"),
// Start, Search and the action centre ("Windows.UI.Core.CoreWindow", the
// class of UWP core windows, "CoreWindow class"), the older task switcher
// ("MultitaskingViewFrame"), the window the shell parks the foreground on
// while it switches ("ForegroundStaging") and the notification area's
// overflow ("NotifyIconOverflowWindow", "TopLevelWindowForOverflowXamlIsland").
constexpr U16View kSystemClasses[] = {
    u"#32768",
    u"SysShadow",
    u"tooltips_class32",
    u"ComboLBox",
    u"Progman",
    u"WorkerW",
    u"Shell_TrayWnd",
    u"Shell_SecondaryTrayWnd",
    u"XamlExplorerHostIslandWindow",
    u"Windows.UI.Core.CoreWindow",
    u"MultitaskingViewFrame",
    u"ForegroundStaging",
    u"NotifyIconOverflowWindow",
    u"TopLevelWindowForOverflowXamlIsland",
};

bool IsSystemClass(U16View className) {
  for (U16View system : kSystemClasses) {
    if (className == system) return true;
  }
  return false;
}

}  // namespace

// The rule follows what Windows itself shows as windows.
// - Visible and not cloaked: DWM keeps a cloaked window (a Store app's
//   frame before it is ready, a window on another virtual desktop) composed
//   but invisible to the user, although IsWindowVisible reports it visible
//   (DwmGetWindowAttribute, DWMWA_CLOAKED).
// - Top-level: a window with WS_CHILD is a part of something else, even one
//   whose parent is the desktop (a combo box's drop-down list is made that
//   way).
// - A window with a title bar is one the user can grab, move and close:
//   main windows, dialogs (owned, with a caption) and captioned palettes.
// - Otherwise the taskbar's rule decides ("Managing Taskbar Buttons"): the
//   shell gives a button to every window that is not owned, except one with
//   WS_EX_TOOLWINDOW; WS_EX_APPWINDOW forces a button; a WS_EX_NOACTIVATE
//   window has none by default. So a borderless main window or a splash
//   screen counts, while the caption-less owned or tool pop-ups that
//   programs use for menus, tooltips, drop-downs and notifications do not.
bool IsUserWindow(const TopLevelFacts& facts) {
  if ((facts.style & winstyle::Visible) == 0 || facts.cloaked) return false;
  if ((facts.style & winstyle::Child) != 0) return false;
  if (IsSystemClass(facts.className)) return false;
  if ((facts.style & winstyle::Caption) == winstyle::Caption) return true;
  if ((facts.exStyle & winstyle::ExAppWindow) != 0) return true;
  if (facts.owned) return false;
  return (facts.exStyle & (winstyle::ExToolWindow | winstyle::ExNoActivate)) == 0;
}

bool MayPlaceAutomatically(const TopLevelFacts& facts) {
  return IsUserWindow(facts) && !IsMinimizedOrMaximized(facts.style);
}

bool MayPlaceReportedWindow(const TopLevelFacts& facts) {
  TopLevelFacts shown = facts;
  shown.style |= winstyle::Visible;
  return MayPlaceAutomatically(shown);
}

bool IsMinimizedOrMaximized(uint32_t style) { return (style & (winstyle::Minimize | winstyle::Maximize)) != 0; }

}  // namespace qm
