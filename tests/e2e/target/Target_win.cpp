// qm_target.exe: opens top-level windows for the end-to-end tests.
//
//   qm_target.exe [--class NAME] [--title TEXT] [--style HEX] [--exstyle HEX]
//                 [--rect X,Y,W,H] [--count N] [--hidden] [--owned] [--unaware]
//
// With --count N it opens N windows titled "TEXT 1" ... "TEXT N". --owned
// gives every window after the first the first one as owner. The process
// ends when its first window is closed or on WM_CLOSE to any window.
// Windows shown at start-up are shown before the test can do anything: under
// a window system that raises events itself, Quillmere sees them appear
// then. A test that wants to choose the moment starts them --hidden and has
// the target show them (TargetProtocol.h).
//
// The target is per-monitor DPI aware, as the driver is, so that every
// coordinate the two exchange is a real pixel. --unaware leaves it as an old
// program that knows nothing of DPI: on a scaled display the system then
// stretches its windows, and --rect and TARGET_MOVE_WINDOW are in the
// scaled-down coordinates it lives in.
#include <windows.h>
#include <windowsx.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <string>

#include "tests/e2e/target/TargetProtocol.h"

namespace {

// Middle-button messages received, by every window of the process.
LRESULT g_middleClicks = 0;

// Raises a window event as the program would cause it: a show or a hide
// first really shows or hides the window. Where the window system raises
// these events itself (Windows, Wine 10) the hook then sees a show or hide
// twice, once from each; where it does not (Wine 8) it still sees it once.
void Raise(HWND window, DWORD event) {
  if (event == EVENT_OBJECT_SHOW) ShowWindow(window, SW_SHOWNOACTIVATE);
  if (event == EVENT_OBJECT_HIDE) ShowWindow(window, SW_HIDE);
  NotifyWinEvent(event, window, OBJID_WINDOW, CHILDID_SELF);
}

// What TARGET_SHOW_THEN_MOVE and TARGET_FIGHT keep about a window.
struct OwnMoves {
  POINT own = {};        // where the window last put itself
  RECT last = {};        // its rectangle after the last change
  LRESULT foreign = 0;   // moves and sizes by other processes
  LRESULT self = 0;      // moves it made itself
  DWORD shownAt = 0;
  bool fighting = false;
  bool moving = false;   // inside its own SetWindowPos
};
std::map<HWND, OwnMoves> g_moves;
constexpr UINT kMoveBack = WM_APP + 0x180;
constexpr UINT_PTR kOwnMoveTimer = 1;

void MoveItself(HWND window, OwnMoves& moves) {
  moves.moving = true;
  SetWindowPos(window, nullptr, moves.own.x, moves.own.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  moves.moving = false;
  ++moves.self;
  NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, window, OBJID_WINDOW, CHILDID_SELF);
}

void OnPositionChanged(HWND window) {
  auto found = g_moves.find(window);
  if (found == g_moves.end()) return;
  OwnMoves& moves = found->second;
  RECT rect;
  GetWindowRect(window, &rect);
  bool changed = !EqualRect(&rect, &moves.last);
  moves.last = rect;
  if (!changed || moves.moving) return;
  ++moves.foreign;
  if (moves.fighting) PostMessageW(window, kMoveBack, 0, 0);
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
      ++g_middleClicks;
      return DefWindowProcW(window, message, wParam, lParam);
    case TARGET_MIDDLE_CLICKS:
      return g_middleClicks;
    case WM_WINDOWPOSCHANGING:
      if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & (SWP_NOMOVE | SWP_NOSIZE)) == 0) {
        SetWindowLongPtrW(window, GWLP_USERDATA, GetWindowLongPtrW(window, GWLP_USERDATA) + 1);
      }
      return DefWindowProcW(window, message, wParam, lParam);
    case TARGET_PLACEMENTS:
      return GetWindowLongPtrW(window, GWLP_USERDATA);
    case TARGET_MOVE_WINDOW:
      for (WPARAM events = wParam; (events & 0xFFFF) != 0; events >>= 16) {
        Raise(window, static_cast<DWORD>(events & 0xFFFF));
      }
      SetWindowPos(window, nullptr, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, window, OBJID_WINDOW, CHILDID_SELF);
      return 1;
    case TARGET_OWN_WIDTH: {
      RECT rect = {};
      GetWindowRect(window, &rect);
      return rect.right - rect.left;
    }
    case TARGET_SHOW_THEN_MOVE: {
      OwnMoves& moves = g_moves[window];
      bool fighting = moves.fighting;
      moves = OwnMoves{};
      moves.fighting = fighting;
      moves.own = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      GetWindowRect(window, &moves.last);
      moves.shownAt = GetTickCount();
      ShowWindow(window, SW_SHOWNOACTIVATE);
      NotifyWinEvent(EVENT_OBJECT_SHOW, window, OBJID_WINDOW, CHILDID_SELF);
      if (wParam == 0) {
        MoveItself(window, moves);
      } else if (wParam != 0xFFFFFFFF) {
        SetTimer(window, kOwnMoveTimer, static_cast<UINT>(wParam), nullptr);
      }
      return 1;
    }
    case WM_TIMER:
      if (wParam != kOwnMoveTimer) return DefWindowProcW(window, message, wParam, lParam);
      KillTimer(window, kOwnMoveTimer);
      MoveItself(window, g_moves[window]);
      return 0;
    case TARGET_FIGHT:
      g_moves[window].fighting = wParam != 0;
      return 1;
    case kMoveBack:
      MoveItself(window, g_moves[window]);
      return 0;
    case TARGET_MOVES: {
      const OwnMoves& moves = g_moves[window];
      if (wParam == 0) return moves.foreign;
      if (wParam == 1) return moves.self;
      return static_cast<LRESULT>(GetTickCount() - moves.shownAt);
    }
    case WM_WINDOWPOSCHANGED:
      OnPositionChanged(window);
      return DefWindowProcW(window, message, wParam, lParam);
    case TARGET_HANG: {
      HANDLE release = CreateEventW(nullptr, TRUE, FALSE, TARGET_RELEASE_EVENT);
      WaitForSingleObject(release, 60000);
      CloseHandle(release);
      return 0;
    }
    case TARGET_NOTIFY_EVENT:
      Raise(window, static_cast<DWORD>(wParam));
      return 1;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (data->dwData != TARGET_SET_TITLE) return 0;
      std::wstring title(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
      SetWindowTextW(window, title.c_str());
      return 1;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

// Per-monitor aware, v2 where the system has it.
void BecomeDpiAware() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  auto setContext = reinterpret_cast<SetContextFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  if (setContext != nullptr && (setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))) ||
                                setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3))))) {
    return;
  }
  SetProcessDPIAware();
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  std::wstring className = L"QmTarget";
  std::wstring title = L"Target";
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  int x = 100, y = 100, w = 400, h = 300, count = 1;
  bool hidden = false, owned = false, unaware = false;

  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    const wchar_t* value = i + 1 < argc ? argv[i + 1] : L"";
    if (arg == L"--class") { className = value; ++i; }
    else if (arg == L"--title") { title = value; ++i; }
    else if (arg == L"--style") { style = wcstoul(value, nullptr, 16); ++i; }
    else if (arg == L"--exstyle") { exStyle = wcstoul(value, nullptr, 16); ++i; }
    else if (arg == L"--rect") { swscanf(value, L"%d,%d,%d,%d", &x, &y, &w, &h); ++i; }
    else if (arg == L"--count") { count = _wtoi(value); ++i; }
    else if (arg == L"--hidden") hidden = true;
    else if (arg == L"--owned") owned = true;
    else if (arg == L"--unaware") unaware = true;
  }
  if (!unaware) BecomeDpiAware();

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className.c_str();
  RegisterClassExW(&wc);

  HWND first = nullptr;
  for (int i = 1; i <= count; ++i) {
    std::wstring text = count > 1 ? title + L" " + std::to_wstring(i) : title;
    HWND owner = owned ? first : nullptr;
    HWND window = CreateWindowExW(exStyle, className.c_str(), text.c_str(), style, x, y, w, h, owner,
                                  nullptr, instance, nullptr);
    if (first == nullptr) first = window;
    // Exactly the style asked for: CreateWindowEx adds WS_CLIPSIBLINGS and,
    // for overlapped windows, a caption; tests compare style bits.
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style & ~WS_VISIBLE));
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    if (!hidden) ShowWindow(window, SW_SHOWNOACTIVATE);
  }

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
