#include "hook/HookCore.h"

#include <cstdint>
#include <cstring>

namespace qm {

void HookCore::Reset(HookOptions options) {
  options_ = options;
  knownCount_ = 0;
  heldCount_ = 0;
  moving_ = 0;
}

void HookCore::OnWinEvent(uint32_t event, HookWindow window, int32_t object, int32_t child, HookTime now,
                          HookFacts& facts, HookActions& actions) {
  // Events about parts of a window (its client area, caret, scroll bars) and
  // the cursor's own location events carry other object ids or no window.
  if (window == 0 || object != winevent::ObjectWindow || child != winevent::ChildSelf) return;
  switch (event) {
    case winevent::Show:
    case winevent::Uncloaked:
      // Only windows a user would call windows appear. A window shown while
      // cloaked (a Store app's frame before it is ready) is not one yet and
      // is not remembered, so it appears when it is uncloaked; a known
      // window uncloaked again (back from another virtual desktop) does not.
      if (facts.IsForeignTopLevel(window) && facts.IsUserWindow(window)) OnShow(window, now, facts, actions);
      return;
    case winevent::Destroy:
      // The window is gone and its facts with it; forgetting is always safe.
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
  if (IsKnown(window)) return;
  AddKnown(window);
  // Asked before the placement: afterwards a window placed by its rule and
  // one that no rule applies to look alike.
  const bool ruled = facts.OffItsRule(window);
  Held& held = AddHeld(window, now);
  held.ruled = ruled;
  // Placed even when no rule moves it: the program hears of every new window.
  PlaceHeld(held, now, actions);
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
  if (held.placing && now < held.placedAt + kPlacingMs) {
    // Seen in place: the placement has landed, and the next move away is
    // its program's. Still away: the placement may not have landed yet; the
    // timer looks again when it should have.
    if (!facts.OffItsRule(window)) held.placing = false;
    return;
  }
  held.placing = false;
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
  PlaceHeld(held, now, actions);
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
    // Its program wants it elsewhere and insists: leave it there.
    RemoveHeld(index);
    return false;
  }
  ++held.replacements;
  PlaceHeld(held, now, actions);
  return true;
}

void HookCore::PlaceHeld(Held& held, HookTime now, HookActions& actions) {
  held.placing = true;
  held.placedAt = now;
  actions.Place(held.window);
}

bool HookCore::HoldOver(const Held& held, HookTime now, HookFacts& facts) {
  if (now >= held.shownAt + kHoldMs) return true;
  // Input after the show: the user could have moved, sized or maximised the
  // window by now, and a placement would undo it.
  return facts.LastInputAt() > held.shownAt;
}

void HookCore::OnTimer(HookTime now, HookFacts& facts, HookActions& actions) {
  size_t i = 0;
  while (i < heldCount_) {
    Held& held = held_[i];
    if (held.shownAt + kHoldMs <= now) {
      RemoveHeld(i);
      continue;
    }
    if (held.placing && held.placedAt + kPlacingMs <= now) {
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
    HookTime due = held.shownAt + kHoldMs;
    if (held.placing && held.placedAt + kPlacingMs < due) due = held.placedAt + kPlacingMs;
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

bool HookCore::IsKnown(HookWindow window) const {
  for (size_t i = 0; i < knownCount_; ++i) {
    if (known_[i] == window) return true;
  }
  return false;
}

void HookCore::AddKnown(HookWindow window) {
  if (knownCount_ == kKnownCapacity) {
    std::memmove(&known_[0], &known_[1], (kKnownCapacity - 1) * sizeof(known_[0]));
    --knownCount_;
  }
  known_[knownCount_++] = window;
}

void HookCore::ForgetKnown(HookWindow window) {
  for (size_t i = 0; i < knownCount_; ++i) {
    if (known_[i] != window) continue;
    std::memmove(&known_[i], &known_[i + 1], (knownCount_ - i - 1) * sizeof(known_[0]));
    --knownCount_;
    return;
  }
}

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

HookCore::Held& HookCore::AddHeld(HookWindow window, HookTime now) {
  // Kept oldest first: when full, the window shown longest ago loses the
  // rest of its hold.
  if (heldCount_ == kHeldCapacity) RemoveHeld(0);
  Held& held = held_[heldCount_++];
  held = Held{window, now, now, 0, false, false, false};
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

bool MiddleClickGesture::Press(bool onTitleBar) {
  // Decided afresh on every press, so a release whose press went through is
  // never swallowed, even if an earlier release went missing.
  swallowRelease_ = onTitleBar;
  return onTitleBar;
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
