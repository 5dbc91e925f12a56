// Following the desktop: when monitors come and go, resolutions change or
// the taskbar moves, the window list is applied again once the monitors and
// their work areas have stopped changing. Pure decisions; the shell reads
// the monitors, owns the one-shot timer and places the windows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/Geometry.h"

namespace qm {

// How long the monitors must stay the same before the windows are placed
// again: docking and waking from sleep switch monitors on and off several
// times within a second or so.
constexpr uint32_t kSettleMs = 2000;

constexpr size_t kMaxLayoutMonitors = 16;

// The monitors as EnumDisplayMonitors lists them: each one's rectangle and
// work area, in the order listed. Monitors past the capacity are not kept.
struct DesktopLayout {
  Rect32 monitor[kMaxLayoutMonitors];
  Rect32 work[kMaxLayoutMonitors];
  size_t count;
};

bool SameLayout(const DesktopLayout& a, const DesktopLayout& b);

// What the shell does when the settle timer runs out.
enum class SettleStep {
  Nothing,  // no change is waiting (a stray timer)
  Wait,     // the monitors changed since the last look: arm the timer again
  Apply,    // they held still: apply the window list once
};

// One change or a burst of them ends in one application. Every change
// (WM_DISPLAYCHANGE, a work area, resume, unlock, a session connect) takes a
// look at the monitors and restarts the timer; when it runs out, the monitors
// must still be as that look saw them, else they are looked at again and the
// wait starts over. Between an application and the next change there is no
// timer at all.
class DesktopSettle {
 public:
  void OnChange(const DesktopLayout& now) {
    last_ = now;
    waiting_ = true;
  }
  SettleStep OnTimer(const DesktopLayout& now);
  bool Waiting() const { return waiting_; }

 private:
  DesktopLayout last_ = {};
  bool waiting_ = false;
};

// The windows the user moved or sized since the program last placed them:
// those are the user's, and applying the list again leaves them where they
// are. Bounded: when full, the oldest note gives way, so at worst a window
// the user moved long ago is placed again.
class UserMovedWindows {
 public:
  static constexpr size_t kCapacity = 64;
  void Note(uintptr_t window);
  void Forget(uintptr_t window);
  bool Contains(uintptr_t window) const;

 private:
  uintptr_t windows_[kCapacity] = {};
  size_t next_ = 0;
};

}  // namespace qm
