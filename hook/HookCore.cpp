#include "hook/HookCore.h"

#include <cstdint>
#include <cstring>

namespace qm {

void HookCore::Reset(HookOptions options) {
  options_ = options;
  knownCount_ = 0;
  heldCount_ = 0;
  cloakedCount_ = 0;
  moving_ = 0;
}

void HookCore::OnWinEvent(uint32_t event, HookWindow window, int32_t object, int32_t child, HookTime now,
                          HookFacts& facts, HookActions& actions) {
  // Events about parts of a window (its client area, caret, scroll bars) and
  // the cursor's own location events carry other object ids or no window.
  if (window == 0 || object != winevent::ObjectWindow || child != winevent::ChildSelf) return;
  switch (event) {
    case winevent::Show:
      // Only windows a user would call windows appear. A window shown while
      // cloaked (a Store app's frame before it is ready, a window opened on
      // another virtual desktop) is not one yet: it appears when it is
      // uncloaked.
      if (!facts.IsForeignTopLevel(window)) return;
      if (facts.IsUserWindow(window)) {
        OnShow(window, now, facts, actions);
      } else if (facts.IsCloaked(window)) {
        AddCloakedShow(window);
      }
      return;
    case winevent::Uncloaked:
      // Switching virtual desktops uncloaks every window on the desktop
      // switched to ("DWMWINDOWATTRIBUTE", DWMWA_CLOAKED: the shell cloaks
      // the windows of the other desktops): for a window that was there all
      // along that is no appearance. Only one whose show was seen while it
      // was cloaked appears now.
      if (!TakeCloakedShow(window)) return;
      if (facts.IsForeignTopLevel(window) && facts.IsUserWindow(window)) OnShow(window, now, facts, actions);
      return;
    case winevent::Destroy:
      // The window is gone and its facts with it; forgetting is always safe.
      TakeCloakedShow(window);
      OnDestroy(window, actions);
      return;
    case winevent::LocationChange:
      OnLocationChange(window, now, facts, actions);
      return;
    case winevent::NameChange:
      OnNameChange(window, now, facts, actions);
      return;
    case winevent::MoveSizeStart:
      if (facts.IsForeignTopLevel(window)) OnMoveSizeStart(window);
      return;
    case winevent::MoveSizeEnd:
      if (facts.IsForeignTopLevel(window)) OnMoveSizeEnd(window, actions);
      return;
    default:
      return;
  }
}

void HookCore::OnShow(HookWindow window, HookTime now, HookFacts& facts, HookActions& actions) {
  const bool known = IsKnown(window);
  // Asked before the placement: afterwards a window placed by its rule and
  // one that no rule applies to look alike.
  const RuleAnswer rule = facts.AskRule(window);
  if (known && rule.apply != HookApply::EveryShow) return;
  if (!known) AddKnown(window);
  if (rule.apply == HookApply::OnDemand || rule.apply == HookApply::Never) return;
  // A window shown again within its hold starts a new one.
  const size_t index = FindHeld(window);
  if (index < heldCount_) RemoveHeld(index);
  if (rule.holdMs == 0) {
    actions.Place(window);
    return;
  }
  Held& held = AddHeld(window, now, rule.holdMs);
  held.ruled = rule.off;
  // Placed even when no rule moves it: the program hears of every new window.
  PlaceHeld(held, actions);
}

void HookCore::OnDestroy(HookWindow window, HookActions& actions) {
  ForgetKnown(window);
  size_t index = FindHeld(window);
  if (index < heldCount_) RemoveHeld(index);
  if (moving_ == window) {
    moving_ = 0;
    if (options_.tooltip) actions.HideRect();
  }
}

void HookCore::OnLocationChange(HookWindow window, HookTime now, HookFacts& facts, HookActions& actions) {
  if (options_.tooltip && moving_ == window) actions.ShowRect(window);
  size_t index = FindHeld(window);
  if (index >= heldCount_) return;
  Held& held = held_[index];
  if (held.placing) {
    // Seen in place: the placement has landed, and the next move away is
    // its program's. Still away: the placement may yet land; the timer
    // looks again kPlacingMs after the last such event.
    if (!facts.OffItsRule(window)) {
      held.placing = false;
    } else {
      held.awaySeen = true;
      held.awayAt = now;
    }
    return;
  }
  LookAgain(index, now, facts, actions);
}

void HookCore::OnNameChange(HookWindow window, HookTime now, HookFacts& facts, HookActions& actions) {
  size_t index = FindHeld(window);
  if (index >= heldCount_) return;
  Held& held = held_[index];
  if (held.titleSeen) return;
  held.titleSeen = true;
  if (HoldOver(held, now, facts)) {
    RemoveHeld(index);
    return;
  }
  if (!facts.OffItsRule(window)) return;
  held.ruled = true;
  PlaceHeld(held, actions);
}

void HookCore::OnMoveSizeStart(HookWindow window) {
  // The user holds the window now: nothing places it later.
  size_t index = FindHeld(window);
  if (index < heldCount_) RemoveHeld(index);
  moving_ = window;
}

void HookCore::OnMoveSizeEnd(HookWindow window, HookActions& actions) {
  if (moving_ == window) moving_ = 0;
  if (options_.tooltip) actions.HideRect();
  if (options_.keepIn) actions.KeepInside(window);
}

bool HookCore::LookAgain(size_t index, HookTime now, HookFacts& facts, HookActions& actions) {
  Held& held = held_[index];
  if (HoldOver(held, now, facts)) {
    RemoveHeld(index);
    return false;
  }
  // Held for its title chance only: whatever rule its title meets now is
  // not one it was placed by.
  if (!held.ruled) return true;
  if (!facts.OffItsRule(held.window)) return true;
  if (held.replacements >= kHoldReplacements) {
    // Its program wants it elsewhere and insists: leave it there, and say
    // so, since the rule no longer stands for where the window is.
    const HookWindow window = held.window;
    RemoveHeld(index);
    actions.GaveUp(window);
    return false;
  }
  ++held.replacements;
  PlaceHeld(held, actions);
  return true;
}

void HookCore::PlaceHeld(Held& held, HookActions& actions) {
  held.placing = true;
  held.awaySeen = false;
  actions.Place(held.window);
}

bool HookCore::HoldOver(const Held& held, HookTime now, HookFacts& facts) {
  if (now >= held.shownAt + held.holdMs) return true;
  // Input after the show: the user could have moved, sized or maximised the
  // window by now, and a placement would undo it.
  return facts.LastInputAt() > held.shownAt;
}

void HookCore::OnTimer(HookTime now, HookFacts& facts, HookActions& actions) {
  size_t i = 0;
  while (i < heldCount_) {
    Held& held = held_[i];
    if (held.shownAt + held.holdMs <= now) {
      RemoveHeld(i);
      continue;
    }
    if (held.placing && held.awaySeen && held.awayAt + kPlacingMs <= now) {
      held.placing = false;
      if (!LookAgain(i, now, facts, actions)) continue;
    }
    ++i;
  }
}

bool HookCore::NextDeadline(HookTime* when) const {
  if (heldCount_ == 0) return false;
  HookTime earliest = UINT64_MAX;
  for (size_t i = 0; i < heldCount_; ++i) {
    const Held& held = held_[i];
    HookTime due = held.shownAt + held.holdMs;
    if (held.placing && held.awaySeen && held.awayAt + kPlacingMs < due) due = held.awayAt + kPlacingMs;
    if (due < earliest) earliest = due;
  }
  *when = earliest;
  return true;
}

bool HookCore::WantsLocationEvents() const { return heldCount_ > 0 || (options_.tooltip && moving_ != 0); }

bool HookCore::WantsNameEvents() const {
  for (size_t i = 0; i < heldCount_; ++i) {
    if (!held_[i].titleSeen) return true;
  }
  return false;
}

namespace {

// A set of windows kept oldest first; when full, the oldest makes room.
void AddToSet(HookWindow* set, size_t& count, size_t capacity, HookWindow window) {
  if (count == capacity) {
    std::memmove(&set[0], &set[1], (capacity - 1) * sizeof(set[0]));
    --count;
  }
  set[count++] = window;
}

bool RemoveFromSet(HookWindow* set, size_t& count, HookWindow window) {
  for (size_t i = 0; i < count; ++i) {
    if (set[i] != window) continue;
    std::memmove(&set[i], &set[i + 1], (count - i - 1) * sizeof(set[0]));
    --count;
    return true;
  }
  return false;
}

}  // namespace

void HookCore::AddCloakedShow(HookWindow window) {
  RemoveFromSet(cloaked_, cloakedCount_, window);
  AddToSet(cloaked_, cloakedCount_, kCloakedCapacity, window);
}

bool HookCore::TakeCloakedShow(HookWindow window) { return RemoveFromSet(cloaked_, cloakedCount_, window); }

bool HookCore::IsKnown(HookWindow window) const {
  for (size_t i = 0; i < knownCount_; ++i) {
    if (known_[i] == window) return true;
  }
  return false;
}

void HookCore::AddKnown(HookWindow window) { AddToSet(known_, knownCount_, kKnownCapacity, window); }

void HookCore::ForgetKnown(HookWindow window) { RemoveFromSet(known_, knownCount_, window); }

size_t HookCore::FindHeld(HookWindow window) const {
  for (size_t i = 0; i < heldCount_; ++i) {
    if (held_[i].window == window) return i;
  }
  return kHeldCapacity;
}

void HookCore::RemoveHeld(size_t index) {
  std::memmove(&held_[index], &held_[index + 1], (heldCount_ - index - 1) * sizeof(held_[0]));
  --heldCount_;
}

HookCore::Held& HookCore::AddHeld(HookWindow window, HookTime now, HookTime holdMs) {
  // Kept oldest first: when full, the window shown longest ago loses the
  // rest of its hold.
  if (heldCount_ == kHeldCapacity) RemoveHeld(0);
  Held& held = held_[heldCount_++];
  held = Held{window, now, holdMs, 0, 0, false, false, false, false};
  return held;
}

void UserInput::Start(int32_t x, int32_t y) {
  x_ = x;
  y_ = y;
  lastAt_ = 0;
}

void UserInput::OnMouse(MouseInput kind, int32_t x, int32_t y, HookTime now) {
  const bool moved = x != x_ || y != y_;
  x_ = x;
  y_ = y;
  switch (kind) {
    case MouseInput::Move:
      if (moved) Acted(now);
      return;
    case MouseInput::Press:
    case MouseInput::Wheel:
      Acted(now);
      return;
    case MouseInput::Release:
      return;
  }
}

void UserInput::OnKey(bool down, HookTime now) {
  if (down) Acted(now);
}

void UserInput::Acted(HookTime now) {
  // The clock never runs back; a late event must not hide a later one.
  if (now > lastAt_) lastAt_ = now;
}

namespace {

// Sorts values[0..count) ascending and drops duplicates; returns the new count.
size_t SortUnique(int32_t* values, size_t count) {
  for (size_t i = 1; i < count; ++i) {
    int32_t v = values[i];
    size_t j = i;
    while (j > 0 && values[j - 1] > v) {
      values[j] = values[j - 1];
      --j;
    }
    values[j] = v;
  }
  size_t unique = 0;
  for (size_t i = 0; i < count; ++i) {
    if (unique == 0 || values[unique - 1] != values[i]) values[unique++] = values[i];
  }
  return unique;
}

bool Contains(const Rect32& outer, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return outer.left <= left && right <= outer.right && outer.top <= top && bottom <= outer.bottom;
}

// The position along one axis that brings [start, start + size) inside
// [low, high), or low when it does not fit.
int64_t ClampInto(int64_t start, int64_t size, int64_t low, int64_t high) {
  if (size >= high - low) return low;
  if (start < low) return low;
  if (start + size > high) return high - size;
  return start;
}

}  // namespace

bool CoveredByMonitors(const Rect32& rect, const Rect32* monitors, size_t monitorCount) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return true;
  if (monitorCount > kMaxMonitors) monitorCount = kMaxMonitors;
  // Cut the rectangle along every monitor edge that crosses it; each cell
  // then lies wholly inside or wholly outside every monitor, so the
  // rectangle is covered exactly when every cell is inside some monitor.
  int32_t xs[2 * kMaxMonitors + 2];
  int32_t ys[2 * kMaxMonitors + 2];
  size_t nx = 0, ny = 0;
  xs[nx++] = rect.left;
  xs[nx++] = rect.right;
  ys[ny++] = rect.top;
  ys[ny++] = rect.bottom;
  for (size_t m = 0; m < monitorCount; ++m) {
    const Rect32& mon = monitors[m];
    if (mon.left > rect.left && mon.left < rect.right) xs[nx++] = mon.left;
    if (mon.right > rect.left && mon.right < rect.right) xs[nx++] = mon.right;
    if (mon.top > rect.top && mon.top < rect.bottom) ys[ny++] = mon.top;
    if (mon.bottom > rect.top && mon.bottom < rect.bottom) ys[ny++] = mon.bottom;
  }
  nx = SortUnique(xs, nx);
  ny = SortUnique(ys, ny);
  for (size_t i = 0; i + 1 < nx; ++i) {
    for (size_t j = 0; j + 1 < ny; ++j) {
      bool covered = false;
      for (size_t m = 0; m < monitorCount && !covered; ++m) {
        covered = Contains(monitors[m], xs[i], ys[j], xs[i + 1], ys[j + 1]);
      }
      if (!covered) return false;
    }
  }
  return true;
}

KeepInsideMove ComputeKeepInside(const Rect32& window, const Rect32* monitors, size_t monitorCount,
                                 const Rect32& workArea) {
  KeepInsideMove none = {false, 0, 0};
  if (CoveredByMonitors(window, monitors, monitorCount)) return none;
  if (workArea.right <= workArea.left || workArea.bottom <= workArea.top) return none;
  int64_t width = int64_t{window.right} - window.left;
  int64_t height = int64_t{window.bottom} - window.top;
  int64_t x = ClampInto(window.left, width, workArea.left, workArea.right);
  int64_t y = ClampInto(window.top, height, workArea.top, workArea.bottom);
  // Both positions lie inside the work area and so inside the int32 range;
  // the distance from a far-out window may not.
  int64_t dx = x - window.left;
  int64_t dy = y - window.top;
  if (dx == 0 && dy == 0) return none;
  if (dx < INT32_MIN || dx > INT32_MAX || dy < INT32_MIN || dy > INT32_MAX) return none;
  return {true, static_cast<int32_t>(dx), static_cast<int32_t>(dy)};
}

MiddlePress MiddleClickGesture::Press(bool onTitleBar, bool shift) {
  // Decided afresh on every press, so a release whose press went through is
  // never swallowed, even if an earlier release went missing.
  swallowRelease_ = onTitleBar;
  if (!onTitleBar) return MiddlePress::PassOn;
  return shift ? MiddlePress::Rule : MiddlePress::Presets;
}

bool MiddleClickGesture::Release() {
  bool swallow = swallowRelease_;
  swallowRelease_ = false;
  return swallow;
}

int32_t TitleBandHeight(int32_t frameHeight, int32_t captionHeight) {
  return 2 * (frameHeight + captionHeight);
}

bool InTitleBand(int32_t x, int32_t y, const Rect32& window, int32_t bandHeight) {
  if (x < window.left || x >= window.right) return false;
  if (y < window.top || y >= window.bottom) return false;
  return int64_t{y} - window.top < bandHeight;
}

}  // namespace qm
