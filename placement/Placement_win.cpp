#include "placement/Placement_win.h"

#include "base/Win32Glue.h"
#include "placement/DesktopSettle.h"
#include "placement/MonitorNames_win.h"
#include "placement/Placement.h"
#include "placement/RuleFacts_win.h"
#include "placement/RuleStanding_win.h"
#include "placement/WindowFacts_win.h"

namespace qm {

namespace {

// Placing another program's window waits for that program's thread: a
// synchronous move or style change of a window whose thread hangs would
// freeze this user-interface thread for as long as the hang lasts. Every wait
// on another thread is therefore bounded by this many milliseconds; a window
// that does not answer within it is left alone. A window that answers at all
// answers in well under a millisecond.
constexpr UINT kAnswerBoundMs = 200;

bool OwnThreadWindow(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

// Whether window's thread handles a message within the bound. It is no
// barrier behind an asynchronous move: SWP_ASYNCWINDOWPOS posts the request
// to the window's thread ("SetWindowPos"), and a thread handles the messages
// sent to it before its posted ones ("GetMessage"), so on Windows the answer
// can come before the move. (Wine passes the request on as a sent message,
// which is why the answer follows the move there.)
bool AnswersInTime(HWND window) { return AnswersWithin(window, kAnswerBoundMs); }

// Windows 10 1903 and later tell a snapped window by IsWindowArranged, which
// has no import library: its documentation asks for GetProcAddress.
using IsWindowArrangedFn = BOOL(WINAPI*)(HWND);
const IsWindowArrangedFn g_isWindowArranged = reinterpret_cast<IsWindowArrangedFn>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "IsWindowArranged")));

bool IsArranged(HWND window) { return g_isWindowArranged != nullptr && g_isWindowArranged(window) != FALSE; }

// Both SetWindowPos forms leave out SWP_NOZORDER and SWP_NOACTIVATE on
// purpose: a placed window comes to the top and is activated. The move-and-
// resize form changes neither, as MoveWindow would. flags adds
// SWP_ASYNCWINDOWPOS for windows of other threads: their own thread then
// carries the move out and this one does not wait for it.
void CarryOut(HWND window, const Placement& p, UINT flags) {
  switch (p.action) {
    case PlacementAction::ResizeOnly:
      SetWindowPos(window, HWND_TOP, 0, 0, p.width, p.height, SWP_NOMOVE | flags);
      break;
    case PlacementAction::MoveOnly:
      SetWindowPos(window, HWND_TOP, p.x, p.y, 0, 0, SWP_NOSIZE | flags);
      break;
    case PlacementAction::MoveAndResize:
      SetWindowPos(window, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE | flags);
      break;
  }
}

// A snapped window is arranged (IsWindowArranged, a state beside minimised
// and maximised): moved by SetWindowPos it stays arranged, and the user's
// next drag gives it back the size it had before the snap. Its restore
// rectangle set to the placed one and shown normal (SetWindowPlacement,
// whose rectangle is in workspace coordinates of the monitor it lands on),
// it is a normal window there. WPF_ASYNCWINDOWPLACEMENT posts the request
// to the window's thread, as SWP_ASYNCWINDOWPOS does for a move.
void CarryOutAsNormal(HWND window, const Placement& p, const Rect32& from) {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(window, &placement)) return;
  Rect32 rect = PlacedRect(p, from);
  const RECT screen = {rect.left, rect.top, rect.right, rect.bottom};
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0 &&
      GetMonitorInfoW(MonitorFromRect(&screen, MONITOR_DEFAULTTONEAREST), &info)) {
    rect = ScreenToWorkspace(rect, ToRect32(info.rcMonitor), ToRect32(info.rcWork));
  }
  placement.flags = WPF_ASYNCWINDOWPLACEMENT;
  // As the SetWindowPos forms: only the move-and-resize form leaves the
  // activation alone.
  placement.showCmd = p.action == PlacementAction::MoveAndResize ? SW_SHOWNOACTIVATE : SW_SHOWNORMAL;
  placement.rcNormalPosition = RECT{rect.left, rect.top, rect.right, rect.bottom};
  SetWindowPlacement(window, &placement);
}

// Moves window; false when it belongs to a thread that did not answer
// within the bound, before or after the move. moved: the rectangle the
// window had once the move was made, read at that moment.
bool PlaceWithinBound(HWND window, const Placement& placement, RECT* moved) {
  if (OwnThreadWindow(window)) {
    CarryOut(window, placement, 0);
    GetWindowRect(window, moved);
    return true;
  }
  if (!AnswersInTime(window)) return false;
  // The round trip has let the window's thread finish what it was doing: a
  // program that maximised or minimised its window right after showing it
  // has done so by now, and keeps that state.
  RECT before;
  if (IsIconic(window) || IsZoomed(window) || !GetWindowRect(window, &before)) return false;
  if (IsArranged(window)) {
    CarryOutAsNormal(window, placement, ToRect32(before));
  } else {
    CarryOut(window, placement, SWP_ASYNCWINDOWPOS);
  }
  // Wait, within the bound and a few answers, until the window's thread has
  // made the move, so that the scale check after it reads the rectangle the
  // move gave. The hold still judges by the location events that follow.
  *moved = before;
  return WaitForPostedRequest(window, kAnswerBoundMs, [&] {
    return GetWindowRect(window, moved) &&
           (!EqualRect(moved, &before) || PlacementReached(placement, ToRect32(*moved)));
  });
}

// Returns whether a frame bit changed.
bool ApplyFrameStyles(HWND window, const WindowEntry& entry) {
  // A style of 0 is legitimate (a plain hidden overlapped window), so only
  // the error code tells a window that is gone; then nothing is written.
  SetLastError(0);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  if (style == 0 && GetLastError() != 0) return false;
  uint32_t changed = ApplyFrameStyle(static_cast<uint32_t>(style), entry);
  SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(changed));
  // The non-client area is only recomputed and redrawn on a frame change.
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
  return changed != static_cast<uint32_t>(style);
}

struct FrameStyleJob {
  HWND window;
  WindowEntry entry;
};

DWORD WINAPI FrameStyleThread(void* param) {
  auto* job = static_cast<FrameStyleJob*>(param);
  const bool changed = ApplyFrameStyles(job->window, job->entry);
  delete job;
  return changed ? 1 : 0;
}

// Setting another thread's window style sends it WM_STYLECHANGING and
// WM_STYLECHANGED and waits for the answers; there is no asynchronous form.
// A helper thread makes the change and this thread waits for it only as long
// as the bound; should the window hang meanwhile, the helper finishes on its
// own once it answers, and nothing here waits for it. Returns whether a frame
// bit changed within the bound.
bool ApplyFrameStylesBounded(HWND window, const WindowEntry& entry) {
  if (OwnThreadWindow(window)) return ApplyFrameStyles(window, entry);
  auto* job = new FrameStyleJob{window, entry};
  HANDLE thread = CreateThread(nullptr, 0, FrameStyleThread, job, 0, nullptr);
  if (thread == nullptr) {
    delete job;
    return false;
  }
  DWORD changed = 0;
  const bool done = WaitForSingleObject(thread, kAnswerBoundMs) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &changed);
  CloseHandle(thread);
  return done && changed == 1;
}

// Menus, tooltips, drop-downs and minimised or maximised windows are passed
// over, as by the hook library's reports. Their facts are read only for a
// window that has a rule: most have none.
struct ApplyRun {
  const WindowTable* rules;
  const NamedMonitors* monitors;  // read once for the run, null when no rule names one
  void (*onElevated)();
  int32_t matched;
};

// A window whose program runs elevated is reported when someone listens,
// and tried all the same: its refusal costs nothing.
void ReportElevated(HWND window, void (*onElevated)()) {
  if (onElevated != nullptr && ElevatedAboveUs(window)) onElevated();
}

// runParam is the ApplyRun.
BOOL CALLBACK ApplyToVisibleWindow(HWND window, LPARAM runParam) {
  if (IsWindowVisible(window)) {
    auto& run = *reinterpret_cast<ApplyRun*>(runParam);
    int32_t index = FindWindowEntry(*run.rules, window, run.monitors);
    // A rule that leaves its windows alone keeps them from every rule.
    if (index >= 0 && EffectiveApply(run.rules->Entries[index]) != ApplyNever && MayPlaceAutomatically(window)) {
      ++run.matched;
      ReportElevated(window, run.onElevated);
      ApplyWindowEntry(*run.rules, window, index, run.monitors);
    }
  }
  return TRUE;
}

// "Topmost" and "State", after the placement. Both are asked of another
// program's window without waiting for it. SWP_ASYNCWINDOWPOS and
// ShowWindowAsync each post the request to the window's thread ("SetWindowPos",
// "ShowWindowAsync"), behind the asynchronous placement posted before, so the
// window is maximised where it was placed: it restores to the rule's
// rectangle and maximises on the rule's monitor.
void ApplyZOrderAndState(HWND window, const WindowEntry& entry) {
  const bool own = OwnThreadWindow(window);
  if (entry.Topmost != 0) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (own ? 0 : SWP_ASYNCWINDOWPOS));
  }
  if (entry.State != 0) {
    if (own) {
      ShowWindow(window, SW_MAXIMIZE);
    } else {
      ShowWindowAsync(window, SW_MAXIMIZE);
    }
  }
}

// The windows the user moved or sized since the program last placed them,
// and those whose hold gave up on their program since; bounded alike.
UserMovedWindows g_userMoved;
UserMovedWindows g_holdGaveUp;

uintptr_t WindowKey(HWND window) { return reinterpret_cast<uintptr_t>(window); }

Placement PlacementFor(HWND window, const EntryGeometry& geometry, const NamedMonitors* monitors);

// Whether the rectangle the placement gives window lies on some monitor.
// A rule with a fixed point on a monitor that has just been unplugged would
// put the window where nobody can see it or reach it.
bool LandsOnAMonitor(HWND window, const Placement& p) {
  RECT now;
  if (!GetWindowRect(window, &now)) return false;
  RECT r = now;
  if (p.action != PlacementAction::ResizeOnly) OffsetRect(&r, p.x - now.left, p.y - now.top);
  if (p.action != PlacementAction::MoveOnly) {
    r.right = r.left + p.width;
    r.bottom = r.top + p.height;
  }
  return MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr;
}

// Applying the list again after a desktop change: as the initialise command,
// but a window the user placed himself since is his and is left alone, and
// so is one its rule would put off every monitor there is now.
BOOL CALLBACK ReapplyToVisibleWindow(HWND window, LPARAM runParam) {
  if (!IsWindowVisible(window) || g_userMoved.Contains(WindowKey(window))) return TRUE;
  const auto& run = *reinterpret_cast<const ApplyRun*>(runParam);
  const WindowTable& rules = *run.rules;
  int32_t index = FindWindowEntry(rules, window, run.monitors);
  // Only rules that place windows by themselves: not the ones that wait to
  // be asked, nor exclusions.
  if (index < 0 || !PlacesOnAppearance(rules.Entries[index]) || !MayPlaceAutomatically(window)) return TRUE;
  if (LandsOnAMonitor(window, PlacementFor(window, rules.Entries[index], run.monitors))) {
    ApplyWindowEntry(rules, window, index, run.monitors);
  }
  return TRUE;
}

BOOL CALLBACK CollectLayoutMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  auto* layout = reinterpret_cast<DesktopLayout*>(param);
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (layout->count < kMaxLayoutMonitors && GetMonitorInfoW(monitor, &info)) {
    layout->monitor[layout->count] = ToRect32(info.rcMonitor);
    layout->work[layout->count] = ToRect32(info.rcWork);
    ++layout->count;
  }
  return TRUE;
}

}  // namespace

// Reading the monitors' names costs as much as placing a window (3.6 ms
// under Wine 8), so they are read only when the rule found without them
// names a monitor: checking names only ever passes over such rules, so a
// match that names none, or no match, stands as it is.
int32_t FindWindowEntry(const WindowTable& rules, HWND window) {
  const int32_t index = FindWindowEntry(rules, window, nullptr);
  if (index < 0 || !NamesMonitor(rules.Entries[index])) return index;
  NamedMonitors monitors;
  ReadNamedMonitors(&monitors);
  return FindWindowEntry(rules, window, &monitors);
}

int32_t FindWindowEntry(const WindowTable& rules, HWND window, const NamedMonitors* monitors) {
  // A handle that names no window (destroyed meanwhile, or never one) reads
  // as an empty class and title and so matches nothing. The program is read
  // only when some rule names one: it means opening the window's process.
  char16_t program[kTextCapacity];
  const size_t programLength = TableNamesProgram(rules) ? ReadWindowProgram(window, program) : 0;
  const U16View programView(program, programLength);
  wchar_t text[kTextCapacity];
  int length = GetClassNameW(window, text, kTextCapacity);
  int32_t index =
      MatchWindowClass(rules, AsU16View(text, length > 0 ? static_cast<size_t>(length) : 0), programView, monitors);
  if (index < 0) index = MatchWindowProgram(rules, programView, monitors);
  if (index >= 0) return index;
  length = GetWindowTextW(window, text, kTextCapacity);
  return MatchWindowTitle(rules, AsU16View(text, length > 0 ? static_cast<size_t>(length) : 0), programView,
                          monitors);
}

namespace {

Placement PlacementFor(HWND window, const EntryGeometry& geometry, const NamedMonitors* monitors) {
  Rect32 windowRect{};
  PlacementArea area{};
  FrameMargins margins{};
  const bool usesMargins = PlacementUsesMargins(geometry);
  RECT r;
  if ((PlacementReadsWindowRect(geometry) || usesMargins) && GetWindowRect(window, &r)) {
    windowRect = ToRect32(r);
    if (usesMargins) margins = ReadInvisibleBorders(window, r);
  }
  if (PlacementReadsWorkArea(geometry)) {
    area = ReadEntryArea(window, geometry, monitors);
  }
  return ComputePlacement(geometry, windowRect, area, margins);
}

}  // namespace

bool PlaceWindow(HWND window, const EntryGeometry& geometry, const NamedMonitors* monitors) {
  NamedMonitors read;
  if (monitors == nullptr && NamesMonitor(geometry)) {
    ReadNamedMonitors(&read);
    monitors = &read;
  }
  // On one monitor no move carries the window onto another scale.
  const bool oneMonitor = GetSystemMetrics(SM_CMONITORS) == 1;
  WindowScale before = oneMonitor ? WindowScale{} : ReadWindowScale(window);
  for (int pass = 0;; ++pass) {
    const Placement asked = PlacementFor(window, geometry, monitors);
    // Judged by the rectangle seen when the move was made: the window's
    // program may move it itself soon after, which is its own business.
    RECT moved = {};
    if (!PlaceWithinBound(window, asked, &moved)) return false;
    if (pass > 0 || oneMonitor) return true;
    const WindowScale after = ReadWindowScale(window);
    if (!PlaceOnceMore(before, after, asked, ToRect32(moved))) return true;
    // One more answer: by then the window's thread has finished handling the
    // WM_DPICHANGED the move brought; the next pass reads margins, size and
    // area again at the window's new scale.
    if (!OwnThreadWindow(window) && !AnswersInTime(window)) return false;
    before = after;
  }
}

// ShowWindow on another thread's window waits until that thread has handled
// the change, for as long as it hangs; ShowWindowAsync posts it instead (its
// documentation names this use), and the wait for it is bounded.
bool RestoreWithinBound(HWND window) {
  if (OwnThreadWindow(window)) {
    ShowWindow(window, SW_RESTORE);
    return true;
  }
  RECT before;
  if (!AnswersInTime(window) || !GetWindowRect(window, &before)) return false;
  ShowWindowAsync(window, SW_RESTORE);
  // Restored once the state is normal and the rectangle has left the
  // maximised (or parked) one: the state may change before the rectangle,
  // and the preset reads the restored size.
  const auto restored = [&] {
    RECT now;
    return !IsIconic(window) && !IsZoomed(window) && GetWindowRect(window, &now) && !EqualRect(&now, &before);
  };
  return WaitForPostedRequest(window, kAnswerBoundMs, restored) && !IsIconic(window) && !IsZoomed(window);
}

WindowRuleFacts AskWindowRule(const WindowTable& rules, HWND window) {
  WindowRuleFacts facts{false, ApplyAtFirstShow, kDefaultHoldSeconds};
  const int32_t index = FindWindowEntry(rules, window);
  if (index < 0) return facts;
  const WindowEntry& entry = rules.Entries[index];
  facts.apply = EffectiveApply(entry);
  facts.holdSeconds = HoldSeconds(entry);
  // Minimised or maximised by its program or the user on purpose; a
  // placement would undo that. A rule that does not place by itself never
  // wants the window elsewhere now.
  RECT r;
  if (!PlacesOnAppearance(entry) || IsIconic(window) || IsZoomed(window) || !GetWindowRect(window, &r)) return facts;
  facts.off = !PlacementReached(PlacementFor(window, entry, nullptr), ToRect32(r), PlacementSlack(window));
  return facts;
}

void ApplyWindowEntry(const WindowTable& rules, HWND window, int32_t index, const NamedMonitors* monitors) {
  if (index < 0 || index >= rules.Count) return;
  // A copy: moving another program's window waits for that program, and
  // the messages this thread handles meanwhile may reach the table.
  const WindowEntry entry = rules.Entries[index];
  NamedMonitors read;
  if (monitors == nullptr && NamesMonitor(entry)) {
    ReadNamedMonitors(&read);
    monitors = &read;
  }
  if (!PlaceWindow(window, entry, monitors)) return;
  g_userMoved.Forget(WindowKey(window));
  g_holdGaveUp.Forget(WindowKey(window));
  // Another frame has other invisible borders (a sizing frame has wide
  // ones): an anchored window is aligned once more by its new frame.
  if (entry.DesableStyle == 0 && ApplyFrameStylesBounded(window, entry) && PlacementUsesMargins(entry)) {
    PlaceWindow(window, entry, monitors);
  }
  ApplyZOrderAndState(window, entry);
}

namespace {

// A run over every window reads the monitors' names once, and only when
// some rule names a monitor.
template <typename Each>
int32_t RunOverWindows(const WindowTable& rules, void (*onElevated)(), Each each) {
  NamedMonitors monitors;
  const bool named = TableNamesMonitor(rules);
  if (named) ReadNamedMonitors(&monitors);
  ApplyRun run{&rules, named ? &monitors : nullptr, onElevated, 0};
  EnumWindows(each, reinterpret_cast<LPARAM>(&run));
  return run.matched;
}

}  // namespace

int32_t ApplyToAllWindows(const WindowTable& rules, void (*onElevated)()) {
  return RunOverWindows(rules, onElevated, ApplyToVisibleWindow);
}

void ReapplyToAllWindows(const WindowTable& rules) { RunOverWindows(rules, nullptr, ReapplyToVisibleWindow); }

void NoteUserMoved(HWND window) { g_userMoved.Note(WindowKey(window)); }

bool UserMovedSincePlaced(HWND window) { return g_userMoved.Contains(WindowKey(window)); }

void NoteHoldGaveUp(HWND window) { g_holdGaveUp.Note(WindowKey(window)); }

bool HoldGaveUpSincePlaced(HWND window) { return g_holdGaveUp.Contains(WindowKey(window)); }

DesktopLayout ReadDesktopLayout() {
  DesktopLayout layout = {};
  EnumDisplayMonitors(nullptr, nullptr, CollectLayoutMonitor, reinterpret_cast<LPARAM>(&layout));
  return layout;
}

void PlaceReportedWindow(const WindowTable& rules, HWND window, void (*onElevated)()) {
  int32_t index = FindWindowEntry(rules, window);
  if (index < 0 || !PlacesOnAppearance(rules.Entries[index]) || !MayPlaceReportedWindow(window)) return;
  ReportElevated(window, onElevated);
  ApplyWindowEntry(rules, window, index);
}

bool WindowAnswers(HWND window) { return OwnThreadWindow(window) || AnswersInTime(window); }

}  // namespace qm
