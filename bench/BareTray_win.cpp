// qm_baretray.exe [hooks] [NAME.dll ...]: the baseline of the start-up
// benchmark, a bare tray program: a hidden window, a tray icon and a
// message loop, nothing else. Like Quillmere it creates a hidden STATIC
// "Dummy" window last, which is what the benchmark waits for before its
// round trip through the loop. With "hooks" it also sets the hooks the
// program sets, before the Dummy window: window-event hooks for the same
// events on its own thread and a low-level mouse hook on a thread of its
// own, which is the floor a program that places windows cannot go below.
// DLLs named on the command line are loaded first, to show what loading
// each costs; other arguments are ignored.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace {

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {}

LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM message, LPARAM data) {
  return CallNextHookEx(nullptr, code, message, data);
}

// The hook thread: the mouse hook, then a loop, which the hook needs; the
// caller waits until the hook is set, as the program's library does.
DWORD WINAPI MouseThread(void* ready) {
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouseProc, GetModuleHandleW(nullptr), 0);
  SetEvent(static_cast<HANDLE>(ready));
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

void SetHooks() {
  constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
  SetWinEventHook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_SHOW, nullptr, OnWinEvent, 0, 0, kFlags);
  SetWinEventHook(EVENT_SYSTEM_MOVESIZESTART, EVENT_SYSTEM_MOVESIZEEND, nullptr, OnWinEvent, 0, 0, kFlags);
  constexpr DWORD kUncloaked = 0x8018;  // EVENT_OBJECT_UNCLOAKED, Windows 8 and later
  SetWinEventHook(kUncloaked, kUncloaked, nullptr, OnWinEvent, 0, 0, kFlags);
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, MouseThread, ready, 0, nullptr);
  SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
  WaitForSingleObject(ready, INFINITE);
  CloseHandle(ready);
  CloseHandle(thread);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  bool hooks = false;
  for (int i = 1; i < argc; ++i) {
    const size_t length = std::wcslen(argv[i]);
    if (length > 4 && lstrcmpiW(argv[i] + length - 4, L".dll") == 0) LoadLibraryW(argv[i]);
    if (lstrcmpW(argv[i], L"hooks") == 0) hooks = true;
  }
  LocalFree(argv);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BareProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"QmBenchBare";
  RegisterClassExW(&wc);
  HWND window = CreateWindowExW(0, L"QmBenchBare", L"QmBenchBare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, 320,
                                240, nullptr, nullptr, instance, nullptr);
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof(icon);
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP;
  icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(icon.szTip, L"QmBenchBare", ARRAYSIZE(icon.szTip));
  Shell_NotifyIconW(NIM_ADD, &icon);
  if (hooks) SetHooks();
  CreateWindowExW(0, L"STATIC", L"Dummy", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  Shell_NotifyIconW(NIM_DELETE, &icon);
  return 0;
}
