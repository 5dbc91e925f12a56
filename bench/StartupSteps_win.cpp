// qm_startsteps.exe N: Quillmere's start-up cut after its first N steps, for
// the start-up benchmark to find what each step costs. It calls the
// program's own start-up functions in the program's order and leaves the
// later ones out. Until the main window step a bare hidden window owns the
// tray icon, which every variant shows; unless the Dummy window step ran, a
// Dummy window made last marks the end of start-up as in the real program.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "app/AppState_win.h"
#include "app/MainWindow_win.h"
#include "app/MenuHotkey_win.h"
#include "app/Startup_win.h"
#include "entries/EntryStore_win.h"
#include "hook/HookContract.h"
#include "hook/Readout_win.h"
#include "res/resource.h"

namespace {

// The steps of start-up in the program's order (the tray icon, which the
// bare baseline has too, is not one of them). The menu bar, toolbar and
// views, with the common controls, come at the main window's first show.
enum Step {
  kSingleInstance = 1,  // the named mutex
  kWindowClass,         // icons and the main window's class
  kLoadFiles,           // LoadAll: settings and both tables
  kMainWindow,          // the hidden main window and its menu, not yet attached
  kDummyWindow,         // the Dummy owner window
  kReadoutWindow,       // the geometry readout with its font
  kHook,                // SetHook: the library's event and mouse hooks
  kHotkey,              // the preset menu's hotkey
};

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    Shell_NotifyIconW(NIM_DELETE, &qm::g_trayIcon);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The program's class as StartProgram registers it.
void RegisterMainWindowClass() {
  qm::g_smallIcon =
      static_cast<HICON>(LoadImageW(qm::g_instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = qm::MainWindowProc;
  wc.hInstance = qm::g_instance;
  wc.hIcon = static_cast<HICON>(
      LoadImageW(qm::g_instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  wc.hIconSm = qm::g_smallIcon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"Quillmere";
  RegisterClassExW(&wc);
}

HWND CreateBareWindow() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BareProc;
  wc.hInstance = qm::g_instance;
  wc.lpszClassName = L"QmBenchBare";
  RegisterClassExW(&wc);
  return CreateWindowExW(0, L"QmBenchBare", L"QmBenchBare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, 320, 240,
                         nullptr, nullptr, qm::g_instance, nullptr);
}

HWND CreateDummy() {
  return CreateWindowExW(0, L"STATIC", L"Dummy", 0, 0, 0, 0, 0, nullptr, nullptr, qm::g_instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  using namespace qm;
  const int steps = static_cast<int>(std::wcstol(commandLine, nullptr, 10));
  g_instance = instance;
  static EntryStore store;
  g_store = &store;
  if (steps >= kSingleInstance) g_mutex = CreateMutexW(nullptr, TRUE, L"Quillmere_Mutex");
  if (steps >= kWindowClass) RegisterMainWindowClass();
  if (steps >= kLoadFiles) store.Load();
  HWND owner = nullptr;
  if (steps >= kMainWindow) {
    const Settings& settings = store.settings;
    g_mainWindow = CreateWindowExW(0, L"Quillmere", L"Quillmere", WS_OVERLAPPEDWINDOW, settings.Left, settings.Top,
                                   settings.Width, settings.Height, nullptr, nullptr, instance, nullptr);
    owner = g_mainWindow;
  } else {
    owner = CreateBareWindow();
  }
  if (steps >= kMainWindow) {
    g_mainMenu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINMENU));
    ShowList(store.settings.List != 0 ? 1 : 0);
  }

  g_trayIcon = NOTIFYICONDATAW{};
  g_trayIcon.cbSize = sizeof(NOTIFYICONDATAW);
  g_trayIcon.hWnd = owner;
  g_trayIcon.uID = ID_TRAYICON;
  g_trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  g_trayIcon.uCallbackMessage = MSG_TRAY;
  g_trayIcon.hIcon = g_smallIcon != nullptr ? g_smallIcon : LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(g_trayIcon.szTip, L"Quillmere", ARRAYSIZE(g_trayIcon.szTip));
  g_taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
  AddTrayIcon();

  if (steps >= kDummyWindow) g_dummyWindow = CreateDummy();
  if (steps >= kReadoutWindow) CreateReadoutWindow();
  if (steps >= kHook) SetHook(g_mainWindow, g_dummyWindow, store.settings.Tooltip, store.settings.KeepIn);
  if (steps >= kHotkey) ApplyHotkeys(nullptr);
  if (steps < kDummyWindow) CreateDummy();

  const int exitCode = RunMessageLoop();
  EndProgram();
  return exitCode;
}
