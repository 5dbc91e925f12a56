// The low-level hooks: the middle-click gesture and what the user does, on a
// thread of their own.
//
// A low-level hook holds up every mouse event of the desktop until it
// returns. On the user-interface thread it would wait behind whatever that
// thread does: placing a window whose program hangs blocks there, and the
// whole desktop's mouse would stall with it (and Windows quietly removes a
// hook that keeps timing out). Here the thread does nothing but these hooks
// and a hidden window, answers every event but a middle press at once, and
// only posts to the main window.
//
// The mouse hook also notes when the user last acted, which ends the hold
// on new windows (UserInput). Keys matter only while a window is held, so
// the keyboard hook is set only then: idle, nothing watches the keyboard.
//
// Windows removes a low-level hook without a word when one call takes too
// long (LowLevelHooksTimeout; "LowLevelMouseProc" remarks: since Windows 7
// the hook is removed without being called again, and nothing tells the
// program), which happens under heavy load and on resume from sleep. No call
// can tell whether the hook is still there, so the hooks are set afresh at
// the moments where one was most likely lost or is needed next: resume,
// session unlock, a console or remote connection (the desktop comes back
// from a switched-away session), a display change, and whenever a new window
// appears (the keyboard hook is set then, and the mouse hook with it). No
// polling, so an idle program still wakes for nothing. A hidden window hears
// of those moments.
//
// The hook thread has no window: a thread's first window costs it its own
// connection to the window system under Wine (most of a megabyte, and
// milliseconds of every start), and hooks need only a message loop. The
// hidden window lives on the thread that called SetHook, which has windows
// anyway, and passes what it hears to the hook thread as thread messages.
#include "hook/library/HookLibrary_win.h"

#include <wtsapi32.h>

#include <atomic>

#include "base/Dpi_win.h"
#include "hook/HookContract.h"
#include "hook/HookCore.h"

namespace qm {

namespace {

// The longest a middle press on a title band may wait for the window's own
// hit test. A window that answers at all answers in well under a
// millisecond; one that is hung is skipped at once.
constexpr DWORD kHitTestBudgetMs = 50;
// How long FreeHook waits for the thread to end.
constexpr DWORD kStopWaitMs = 2000;

constexpr wchar_t kWatchClass[] = L"Quillmere_HookWatch";
// A round trip to the hook thread takes well under a millisecond; the
// bound only guards against a thread stopped by the unforeseen.
constexpr DWORD kWatchWaitMs = 500;
// Registering for session changes fails at log-on until the terminal
// services have started ("WTSRegisterSessionNotification" remarks:
// RPC_S_INVALID_BINDING until Global\TermSrvReadyEvent is set). A one-shot
// timer tries again, at growing intervals, and is gone once it succeeds.
constexpr UINT_PTR kRegisterTimer = 1;
constexpr UINT kRegisterFirstMs = 1000;
constexpr UINT kRegisterLongestMs = 60000;

struct MouseState {
  HANDLE thread;
  DWORD threadId;
  HANDLE keysDone;   // set by the hook thread after each MSG_WATCH_KEYS
  HMODULE module;    // the library, whose reference the thread holds
  HWND main;
  DWORD ownProcess;
  HWND watch;        // the hidden window, on the user-interface thread
  bool hooked;       // the mouse hook was set
  bool keysWatched;  // as the user-interface thread last asked
  bool sessionRegistered;
  UINT registerDelayMs;
};

MouseState g_mouse;

// Touched by the hook thread only.
HMODULE t_module;
HANDLE t_keysDone;
HHOOK t_mouseHook;
HHOOK t_keyHook;
MiddleClickGesture t_gesture;
UserInput t_input;

// Written by the hook thread, read by the user-interface thread.
std::atomic<HookTime> g_lastInputAt{0};

// The window's own answer to where point lies, within what is left of the
// budget; HTNOWHERE when it does not answer in time.
LRESULT HitTest(HWND window, POINT point, DWORD startedAt) {
  DWORD spent = GetTickCount() - startedAt;
  if (spent >= kHitTestBudgetMs) return HTNOWHERE;
  DWORD_PTR code = HTNOWHERE;
  // The hook sees real pixels; a program that is not DPI aware tests the
  // point against its window in the scaled-down coordinates it lives in, and
  // a sent message's coordinates are not converted on the way.
  point = PhysicalToWindowPoint(window, point);
  LPARAM where = MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
  if (SendMessageTimeoutW(window, WM_NCHITTEST, 0, where, SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT,
                          kHitTestBudgetMs - spent, &code) == 0) {
    return HTNOWHERE;
  }
  return static_cast<LRESULT>(code);
}

// Whether a middle press at point lies on the title bar of another
// program's top-level window; that window goes to *target.
//
// Only the window knows where its title bar is: many programs draw their own
// (browsers put tabs there, and a middle click on a tab must still close
// it), so the answer comes from WM_NCHITTEST. Asking costs a round trip to
// the window's thread while the desktop's mouse waits, so only presses in
// the band at the top of a window are asked about.
bool PressOnTitleBar(POINT point, HWND* target) {
  HWND hit = WindowFromPoint(point);
  if (hit == nullptr) return false;
  HWND root = GetAncestor(hit, GA_ROOT);
  if (root == nullptr) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(root, &process);
  if (process == 0 || process == g_mouse.ownProcess) return false;
  // The point and the rectangle are both real pixels (the process is per-
  // monitor DPI aware). A caption is as tall as the DPI of its monitor makes
  // it, for a program that is not DPI aware too: the system stretches it.
  RECT rect;
  if (!GetWindowRect(root, &rect)) return false;
  const uint32_t dpi = MonitorDpi(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST));
  int32_t frame = MetricForDpi(SM_CYSIZEFRAME, dpi) + MetricForDpi(SM_CXPADDEDBORDER, dpi);
  if (!InTitleBand(point.x, point.y, ToRect32(rect), TitleBandHeight(frame, MetricForDpi(SM_CYCAPTION, dpi)))) {
    return false;
  }
  DWORD startedAt = GetTickCount();
  LRESULT code = HitTest(hit, point, startedAt);
  // A child window over the title bar that lets clicks through to its
  // parent (Windows asks the parent only for windows of one thread).
  if (code == HTTRANSPARENT && hit != root) code = HitTest(root, point, startedAt);
  if (code != HTCAPTION) return false;
  *target = root;
  return true;
}

MouseInput KindOf(WPARAM message) {
  switch (message) {
    case WM_MOUSEMOVE:
      return MouseInput::Move;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      return MouseInput::Press;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      return MouseInput::Wheel;
    default:
      return MouseInput::Release;
  }
}

// Whether Shift is down as the press arrives. The keyboard hook runs only
// while a window is held, so the state comes from the system: the key's
// physical state at this moment ("GetAsyncKeyState"), which a low-level
// hook may read, as the press itself has not been passed on yet.
bool ShiftDown() { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

void NoteInput() { g_lastInputAt.store(t_input.LastAt(), std::memory_order_relaxed); }

LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    t_input.OnMouse(KindOf(message), event->pt.x, event->pt.y, GetTickCount64());
    NoteInput();
    switch (message) {
      case WM_MBUTTONDOWN: {
        HWND target = nullptr;
        // With the main window gone nobody would show the menu: let the
        // click through.
        bool onTitleBar = IsWindow(g_mouse.main) && PressOnTitleBar(event->pt, &target);
        switch (t_gesture.Press(onTitleBar, onTitleBar && ShiftDown())) {
          case MiddlePress::Presets:
            PostMessageW(g_mouse.main, MSG_MENU_WINDOW, reinterpret_cast<WPARAM>(target), 0);
            return 1;
          case MiddlePress::Rule:
            PostMessageW(g_mouse.main, MSG_RULE_WINDOW, reinterpret_cast<WPARAM>(target), 0);
            return 1;
          case MiddlePress::PassOn:
            break;
        }
        break;
      }
      case WM_MBUTTONUP:
        if (t_gesture.Release()) return 1;
        break;
      default:
        break;
    }
  }
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK LowLevelKeyboardProc(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    t_input.OnKey(message == WM_KEYDOWN || message == WM_SYSKEYDOWN, GetTickCount64());
    NoteInput();
  }
  return CallNextHookEx(nullptr, code, message, data);
}

// A new hook first, then the old one off: the desktop is never without one.
// Both calls run on this thread, which handles no event between them, so
// no event is seen twice. The gesture and the input state belong to the
// thread, not to a hook: a middle press the old hook swallowed has its
// release swallowed by the new one.
void Renew(HHOOK* hook, int kind, HOOKPROC proc) {
  HHOOK fresh = SetWindowsHookExW(kind, proc, t_module, 0);
  if (fresh == nullptr) return;
  if (*hook != nullptr) UnhookWindowsHookEx(*hook);
  *hook = fresh;
}

void RenewHooks() {
  Renew(&t_mouseHook, WH_MOUSE_LL, LowLevelMouseProc);
  if (t_keyHook != nullptr) Renew(&t_keyHook, WH_KEYBOARD_LL, LowLevelKeyboardProc);
}

void WatchKeysHere(bool on) {
  if (on && t_keyHook == nullptr) {
    t_keyHook = SetWindowsHookExW(WH_KEYBOARD_LL, LowLevelKeyboardProc, t_module, 0);
    // A new window is held: its hold ends on the user's input, which the
    // mouse hook must see, however long ago it was set.
    Renew(&t_mouseHook, WH_MOUSE_LL, LowLevelMouseProc);
  } else if (!on && t_keyHook != nullptr) {
    UnhookWindowsHookEx(t_keyHook);
    t_keyHook = nullptr;
  }
}

void OnThreadMessage(const MSG& msg) {
  switch (msg.message) {
    case MSG_WATCH_KEYS:
      WatchKeysHere(msg.wParam != 0);
      SetEvent(t_keysDone);
      break;
    case MSG_RENEW_HOOKS:
      RenewHooks();
      break;
    default:
      break;
  }
}

void RenewHooksOnTheirThread() { PostThreadMessageW(g_mouse.threadId, MSG_RENEW_HOOKS, 0, 0); }

// First from the loop, where SetHook's request waits: a session notice is a
// message to this window, which nothing handles before the loop runs
// anyway, and start-up does not wait for the session library (a delayed
// import).
void RegisterForSessionChanges(HWND window) {
  if (WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION)) {
    g_mouse.sessionRegistered = true;
    return;
  }
  g_mouse.registerDelayMs = g_mouse.registerDelayMs == 0 ? kRegisterFirstMs : g_mouse.registerDelayMs * 2;
  if (g_mouse.registerDelayMs > kRegisterLongestMs) g_mouse.registerDelayMs = kRegisterLongestMs;
  SetTimer(window, kRegisterTimer, g_mouse.registerDelayMs, nullptr);
}

void OnSessionChange(WPARAM change) {
  switch (change) {
    case WTS_SESSION_UNLOCK:
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT:
      RenewHooksOnTheirThread();
      // The desktop may have other monitors now; the program settles on them.
      PostMessageW(g_mouse.main, MSG_DESKTOP_CHANGED, 0, 0);
      return;
    default:
      return;
  }
}

LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case MSG_REGISTER_SESSION:
      RegisterForSessionChanges(window);
      return 0;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) RenewHooksOnTheirThread();
      return TRUE;
    case WM_WTSSESSION_CHANGE:
      OnSessionChange(wParam);
      return 0;
    case WM_TIMER:
      if (wParam != kRegisterTimer) return 0;
      KillTimer(window, kRegisterTimer);
      RegisterForSessionChanges(window);
      return 0;
    case WM_DISPLAYCHANGE:
      RenewHooksOnTheirThread();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// A hidden top-level window: WM_POWERBROADCAST and WM_DISPLAYCHANGE are
// broadcast to top-level windows only, never to message-only ones. It is
// never shown, so it has no place on the screen or the taskbar.
HWND CreateWatchWindow(HMODULE module) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WatchProc;
  wc.hInstance = module;
  wc.lpszClassName = kWatchClass;
  RegisterClassExW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kWatchClass, nullptr, WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, module, nullptr);
  g_mouse.sessionRegistered = false;
  g_mouse.registerDelayMs = 0;
  if (window != nullptr) PostMessageW(window, MSG_REGISTER_SESSION, 0, 0);
  return window;
}

void DestroyWatchWindow() {
  if (g_mouse.watch == nullptr) return;
  KillTimer(g_mouse.watch, kRegisterTimer);
  // Each registration that succeeded is undone once, and only those.
  if (g_mouse.sessionRegistered) WTSUnRegisterSessionNotification(g_mouse.watch);
  g_mouse.sessionRegistered = false;
  DestroyWindow(g_mouse.watch);
  g_mouse.watch = nullptr;
  UnregisterClassW(kWatchClass, g_mouse.module);
}

struct ThreadStart {
  HMODULE module;
  HANDLE ready;
  HANDLE keysDone;
  POINT cursor;
};

DWORD WINAPI MouseThread(void* param) {
  const ThreadStart start = *static_cast<ThreadStart*>(param);
  t_module = start.module;
  t_keysDone = start.keysDone;
  MSG msg;
  // The queue must exist before StopMouseHook can post WM_QUIT to it.
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  t_input.Start(start.cursor.x, start.cursor.y);
  g_lastInputAt.store(0, std::memory_order_relaxed);
  t_mouseHook = SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouseProc, t_module, 0);
  g_mouse.hooked = t_mouseHook != nullptr;
  const bool hooked = g_mouse.hooked;
  SetEvent(start.ready);
  if (hooked) {
    // The hooks are called from inside GetMessage; the only messages are
    // the few thread messages above.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) OnThreadMessage(msg);
    WatchKeysHere(false);
    UnhookWindowsHookEx(t_mouseHook);
    t_mouseHook = nullptr;
  }
  // The thread holds its own reference to the library, so code it runs is
  // never unloaded under it even if a host frees the library too early.
  FreeLibraryAndExitThread(start.module, 0);
}

}  // namespace

bool StartMouseHook(HWND main) {
  if (g_mouse.thread != nullptr) return true;
  ThreadStart start = {};
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCWSTR>(&LowLevelMouseProc), &start.module)) {
    return false;
  }
  start.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  start.keysDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  // Read here, not on the hook thread: under Wine a thread's first call
  // that asks the window system (this one, or a first window) opens a
  // connection of its own to it, which the hook thread otherwise never needs.
  GetCursorPos(&start.cursor);
  // Filled before the thread starts: its hook reads them at once.
  g_mouse = MouseState{};
  g_mouse.keysDone = start.keysDone;
  g_mouse.module = start.module;
  g_mouse.main = main;
  g_mouse.ownProcess = GetCurrentProcessId();
  if (start.ready != nullptr && start.keysDone != nullptr) {
    g_mouse.thread = CreateThread(nullptr, 0, MouseThread, &start, 0, &g_mouse.threadId);
  }
  if (g_mouse.thread == nullptr) {
    FreeLibrary(start.module);
    if (start.ready != nullptr) CloseHandle(start.ready);
    if (start.keysDone != nullptr) CloseHandle(start.keysDone);
    g_mouse = MouseState{};
    return false;
  }
  // Mouse events wait for this thread: it must not queue behind busy
  // threads of ordinary priority.
  SetThreadPriority(g_mouse.thread, THREAD_PRIORITY_HIGHEST);
  WaitForSingleObject(start.ready, INFINITE);
  CloseHandle(start.ready);
  if (g_mouse.hooked) g_mouse.watch = CreateWatchWindow(g_mouse.module);
  return g_mouse.hooked;
}

void StopMouseHook() {
  if (g_mouse.thread == nullptr) return;
  DestroyWatchWindow();
  PostThreadMessageW(g_mouse.threadId, WM_QUIT, 0, 0);
  // The thread never sends to this one, so waiting cannot deadlock; the
  // bound only guards against the unforeseen.
  // Should the thread still run after the bound, its state stays as it is:
  // the thread keeps reading it, and a later start must not race with it.
  if (WaitForSingleObject(g_mouse.thread, kStopWaitMs) != WAIT_OBJECT_0) return;
  CloseHandle(g_mouse.thread);
  CloseHandle(g_mouse.keysDone);
  g_mouse = MouseState{};
}

void WatchKeys(bool on) {
  if (!g_mouse.hooked || g_mouse.keysWatched == on) return;
  g_mouse.keysWatched = on;
  // Waited for: the hook is in place before the window that asked for it is
  // placed, so a key pressed from then on is seen. The hook thread never
  // waits for this one, so the wait cannot deadlock.
  if (PostThreadMessageW(g_mouse.threadId, MSG_WATCH_KEYS, on ? 1 : 0, 0)) {
    WaitForSingleObject(g_mouse.keysDone, kWatchWaitMs);
  }
}

HookTime LastUserInputAt() { return g_lastInputAt.load(std::memory_order_relaxed); }

}  // namespace qm
