// Quillmere.dll: the program's source of window events. Everything runs in
// the program's own process: the window-event hooks are out of context, so
// nothing is injected into other programs; it works alike for 32- and 64-bit
// programs and cannot crash any of them. The window events arrive on the
// thread that called SetHook, the program's user-interface thread, through
// its message loop. What to do with each event is HookCore's decision; this
// file registers the hooks, reads window facts and sends the messages.
#include "hook/library/HookLibrary_win.h"

#include "hook/HookContract.h"
#include "hook/HookCore.h"
#include "placement/WindowFacts_win.h"

namespace qm {

namespace {

// Windows raises events for the program's own windows too; they are not
// wanted. Wine ignores WINEVENT_SKIPOWNPROCESS, so the facts check the
// window's process as well.
constexpr DWORD kEventFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
// A readout update must not hang on a main window that stopped answering.
constexpr UINT kCopyDataTimeoutMs = 500;
// How long keeping a window inside waits for its thread to make the move.
constexpr UINT kKeepInsideBoundMs = 200;

struct LibraryState {
  bool installed;
  HWND main;
  HWND dummy;
  DWORD ownProcess;
  HWINEVENTHOOK showHook;      // destroy and show
  HWINEVENTHOOK moveSizeHook;  // move/size start and end
  HWINEVENTHOOK uncloakHook;   // a window uncloaked, appearing to the user
  // Location and title events are frequent (the cursor alone raises one per
  // movement); these two are set only while HookCore wants them.
  HWINEVENTHOOK locationHook;
  HWINEVENTHOOK nameHook;
  // A one-shot thread timer, armed only while a window is held; idle, the
  // library wakes for nothing.
  UINT_PTR timer;
  HookTime timerDue;
};

LibraryState g_lib;
HookCore g_core;

HWND AsWindow(HookWindow window) { return reinterpret_cast<HWND>(window); }

class WindowFacts : public HookFacts {
 public:
  bool IsForeignTopLevel(HookWindow id) override {
    HWND window = AsWindow(id);
    if (GetAncestor(window, GA_ROOT) != window) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process != 0 && process != g_lib.ownProcess;
  }

  bool IsUserWindow(HookWindow id) override { return IsUserTopLevel(AsWindow(id)); }

  bool IsCloaked(HookWindow id) override { return IsCloakedWindow(AsWindow(id)); }

  // Not GetLastInputInfo: Wine moves that time whenever a window moves or
  // is activated, which would end every hold at its first placement.
  HookTime LastInputAt() override { return LastUserInputAt(); }

  bool OffItsRule(HookWindow window) override { return RuleAnswerOff(AskProgram(window)); }

  RuleAnswer AskRule(HookWindow window) override {
    const LRESULT result = AskProgram(window);
    return {RuleAnswerOff(result), static_cast<HookApply>(RuleAnswerApply(result)),
            static_cast<HookTime>(RuleAnswerHoldSeconds(result)) * 1000};
  }

 private:
  // Only the program knows the rules. Its main window belongs to this
  // thread, so this is a direct call into its window procedure.
  static LRESULT AskProgram(HookWindow window) {
    return SendMessageW(g_lib.main, MSG_WINDOW_OFF_RULE, static_cast<WPARAM>(window), 0);
  }
};

struct MonitorList {
  Rect32 rects[kMaxMonitors];
  size_t count;
};

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM param) {
  auto* list = reinterpret_cast<MonitorList*>(param);
  if (list->count < kMaxMonitors) list->rects[list->count++] = ToRect32(*rect);
  return TRUE;
}

// again: a move onto a monitor of another DPI makes the window take the
// size WM_DPICHANGED suggests, and its invisible borders change with the
// scale, so the margins read before no longer hold. Once its thread has made
// the move, a window whose DPI changed or whose rectangle is not the one
// asked for is checked once more at its new scale. This runs inside the
// core's handling of an event: the waits handle nothing sent to this thread
// (SMTO_BLOCK), so no other event arrives in the middle of it.
void KeepWindowInside(HWND window, bool again = true) {
  // A maximised window reaches past its monitor by design; a minimised one
  // lies far outside on purpose.
  if (IsIconic(window) || IsZoomed(window)) return;
  RECT outer;
  if (!GetWindowRect(window, &outer)) return;
  // A window snapped or dragged flush against a screen edge reaches past it
  // by its invisible resize borders; its visible frame is what must stay on
  // the desktop.
  const Rect32 visible = VisibleRect(ToRect32(outer), ReadInvisibleBorders(window, outer));
  MonitorList monitors = {};
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) return;
  KeepInsideMove move = ComputeKeepInside(visible, monitors.rects, monitors.count, ToRect32(info.rcWork));
  if (!move.move) return;
  // Asynchronous: the window's own thread moves it, so a program that
  // stopped answering right after the drag cannot block this thread.
  const WindowScale before = monitors.count < 2 ? WindowScale{} : ReadWindowScale(window);
  const Placement asked = {PlacementAction::MoveOnly, outer.left + move.dx, outer.top + move.dy, 0, 0};
  SetWindowPos(window, nullptr, asked.x, asked.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
  RECT moved = outer;
  const auto madeMove = [&] { return GetWindowRect(window, &moved) && !EqualRect(&moved, &outer); };
  if (!again || monitors.count < 2 || !WaitForPostedRequest(window, kKeepInsideBoundMs, madeMove, SMTO_BLOCK) ||
      !PlaceOnceMore(before, ReadWindowScale(window), asked, ToRect32(moved))) {
    return;
  }
  if (AnswersWithin(window, kKeepInsideBoundMs, SMTO_BLOCK)) KeepWindowInside(window, false);
}

class WindowActions : public HookActions {
 public:
  void Place(HookWindow window) override {
    PostMessageW(g_lib.main, MSG_PLACE_WINDOW, static_cast<WPARAM>(window), 0);
  }

  void ShowRect(HookWindow window) override {
    RECT rect;
    if (!GetWindowRect(AsWindow(window), &rect)) return;
    TipRectPayload payload = {rect.left, rect.top, rect.right, rect.bottom};
    COPYDATASTRUCT data = {};
    data.dwData = MSG_TIP_RECT;
    data.cbData = sizeof(payload);
    data.lpData = &payload;
    // Sent, not posted: the record points into this frame. The main window
    // belongs to this thread, so this is a direct call.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(g_lib.main, WM_COPYDATA, reinterpret_cast<WPARAM>(g_lib.dummy),
                        reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kCopyDataTimeoutMs, &result);
  }

  void HideRect() override { PostMessageW(g_lib.main, MSG_TIP_HIDE, 0, 0); }

  void KeepInside(HookWindow window) override { KeepWindowInside(AsWindow(window)); }

  void GaveUp(HookWindow window) override {
    PostMessageW(g_lib.main, MSG_HOLD_GAVE_UP, static_cast<WPARAM>(window), 0);
  }
};

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD);
void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);

void Listen(HWINEVENTHOOK* hook, DWORD event, bool wanted) {
  if (wanted && *hook == nullptr) {
    *hook = SetWinEventHook(event, event, nullptr, OnWinEvent, 0, 0, kEventFlags);
  } else if (!wanted && *hook != nullptr) {
    UnhookWinEvent(*hook);
    *hook = nullptr;
  }
}

void StopTimer() {
  if (g_lib.timer == 0) return;
  KillTimer(nullptr, g_lib.timer);
  g_lib.timer = 0;
}

// Brings the dynamic hooks and the timer in line with what the core waits
// for.
void FollowCore() {
  Listen(&g_lib.locationHook, EVENT_OBJECT_LOCATIONCHANGE, g_core.WantsLocationEvents());
  Listen(&g_lib.nameHook, EVENT_OBJECT_NAMECHANGE, g_core.WantsNameEvents());
  WatchKeys(g_core.WantsKeys());
  HookTime due = 0;
  if (!g_core.NextDeadline(&due)) {
    StopTimer();
    return;
  }
  if (g_lib.timer != 0 && g_lib.timerDue == due) return;
  StopTimer();
  HookTime now = GetTickCount64();
  // Windows rounds a short delay up to its minimum; a timer that fires
  // before the deadline by the clock's coarse tick is simply armed again.
  HookTime delay = due > now ? due - now : 0;
  g_lib.timer = SetTimer(nullptr, 0, static_cast<UINT>(delay), OnTimer);
  g_lib.timerDue = due;
}

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  // An event already queued when FreeHook ran.
  if (!g_lib.installed) return;
  // The program keeps which windows the user placed himself; they stay
  // where he put them when the desktop changes.
  if (event == EVENT_SYSTEM_MOVESIZEEND && object == OBJID_WINDOW) {
    PostMessageW(g_lib.main, MSG_USER_MOVED, reinterpret_cast<WPARAM>(window), 0);
  }
  WindowFacts facts;
  WindowActions actions;
  g_core.OnWinEvent(event, reinterpret_cast<HookWindow>(window), object, child, GetTickCount64(), facts, actions);
  FollowCore();
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (id == g_lib.timer) g_lib.timer = 0;
  if (!g_lib.installed) return;
  WindowFacts facts;
  WindowActions actions;
  g_core.OnTimer(GetTickCount64(), facts, actions);
  FollowCore();
}

void Unhook(HWINEVENTHOOK* hook) {
  if (*hook != nullptr) UnhookWinEvent(*hook);
  *hook = nullptr;
}

}  // namespace

}  // namespace qm

using namespace qm;

QM_HOOK_API void __stdcall SetHook(HWND main, HWND dummy, int tooltip, int keepIn) {
  if (g_lib.installed) return;
  // With no main window every message would go astray (a post to no window
  // lands in this thread's own queue).
  if (!IsWindow(main)) return;
  g_lib = LibraryState{};
  g_lib.main = main;
  g_lib.dummy = dummy;
  g_lib.ownProcess = GetCurrentProcessId();
  g_core.Reset({tooltip != 0, keepIn != 0});
  g_lib.showHook = SetWinEventHook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_SHOW, nullptr, OnWinEvent, 0, 0, kEventFlags);
  g_lib.moveSizeHook =
      SetWinEventHook(EVENT_SYSTEM_MOVESIZESTART, EVENT_SYSTEM_MOVESIZEEND, nullptr, OnWinEvent, 0, 0, kEventFlags);
  // Raised by Windows 8 and later only; elsewhere the hook simply never fires.
  g_lib.uncloakHook =
      SetWinEventHook(winevent::Uncloaked, winevent::Uncloaked, nullptr, OnWinEvent, 0, 0, kEventFlags);
  StartMouseHook(main);
  g_lib.installed = true;
}

QM_HOOK_API void __stdcall FreeHook() {
  if (!g_lib.installed) return;
  g_lib.installed = false;
  StopMouseHook();
  Unhook(&g_lib.showHook);
  Unhook(&g_lib.moveSizeHook);
  Unhook(&g_lib.uncloakHook);
  Unhook(&g_lib.locationHook);
  Unhook(&g_lib.nameHook);
  StopTimer();
  g_core.Reset({false, false});
  g_lib = LibraryState{};
}
