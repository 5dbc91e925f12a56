// qm_baretray.exe [NAME.dll ...]: the baseline of the start-up benchmark, a
// bare tray program: a hidden window, a tray icon and a message loop,
// nothing else. Like Quillmere it creates a hidden STATIC "Dummy" window
// last, which is what the benchmark waits for before its round trip through
// the loop. DLLs named on the command line are loaded first, to show what
// loading each costs; other arguments are ignored.
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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    const size_t length = std::wcslen(argv[i]);
    if (length > 4 && lstrcmpiW(argv[i] + length - 4, L".dll") == 0) LoadLibraryW(argv[i]);
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
  CreateWindowExW(0, L"STATIC", L"Dummy", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  Shell_NotifyIconW(NIM_DELETE, &icon);
  return 0;
}
