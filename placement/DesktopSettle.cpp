#include "placement/DesktopSettle.h"

namespace qm {

namespace {

bool SameRect(const Rect32& a, const Rect32& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

bool SameLayout(const DesktopLayout& a, const DesktopLayout& b) {
  if (a.count != b.count) return false;
  for (size_t i = 0; i < a.count && i < kMaxLayoutMonitors; ++i) {
    if (!SameRect(a.monitor[i], b.monitor[i]) || !SameRect(a.work[i], b.work[i])) return false;
  }
  return true;
}

SettleStep DesktopSettle::OnTimer(const DesktopLayout& now) {
  if (!waiting_) return SettleStep::Nothing;
  if (!SameLayout(now, last_)) {
    last_ = now;
    return SettleStep::Wait;
  }
  waiting_ = false;
  return SettleStep::Apply;
}

void UserMovedWindows::Note(uintptr_t window) {
  if (window == 0 || Contains(window)) return;
  windows_[next_] = window;
  next_ = (next_ + 1) % kCapacity;
}

void UserMovedWindows::Forget(uintptr_t window) {
  for (uintptr_t& slot : windows_) {
    if (slot == window) slot = 0;
  }
}

bool UserMovedWindows::Contains(uintptr_t window) const {
  if (window == 0) return false;
  for (uintptr_t slot : windows_) {
    if (slot == window) return true;
  }
  return false;
}

}  // namespace qm
