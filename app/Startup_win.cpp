#include "app/Startup_win.h"

#include <shellapi.h>

#include "app/AppState_win.h"
#include "app/MainWindow_win.h"
#include "app/MenuHotkey_win.h"
#include "base/Dpi_win.h"
#include "base/Win32Glue.h"
#include "entries/EntryStore_win.h"
#include "hook/HookContract.h"
#include "hook/Readout_win.h"
#include "res/resource.h"

namespace qm {

UINT g_taskbarCreatedMessage;

namespace {

constexpr wchar_t kMutexName[] = L"Quillmere_Mutex";

// Another copy holds the mutex. Opening finds a copy that has been running a
// while; creating reports ERROR_ALREADY_EXISTS when two copies start at the
// same moment and the other one won the race between our open and create.
// A copy running elevated (or as another user) made a mutex this one may not
// open: access denied, on opening or creating, means a copy runs as well.
bool AcquireSingleInstance() {
  HANDLE existing = OpenMutexW(SYNCHRONIZE, FALSE, kMutexName);
  if (existing != nullptr) {
    CloseHandle(existing);
    return false;
  }
  if (GetLastError() == ERROR_ACCESS_DENIED) return false;
  g_mutex = CreateMutexW(nullptr, TRUE, kMutexName);
  if (g_mutex == nullptr) return GetLastError() != ERROR_ACCESS_DENIED;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(g_mutex);
    g_mutex = nullptr;
    return false;
  }
  return true;
}

bool RegisterMainWindowClass() {
  g_smallIcon = static_cast<HICON>(LoadImageW(g_instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = g_instance;
  wc.hIcon = static_cast<HICON>(LoadImageW(g_instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0,
                                           LR_DEFAULTSIZE | LR_SHARED));
  wc.hIconSm = g_smallIcon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kProgramName;
  return RegisterClassExW(&wc) != 0;
}

// The rectangle saved at the last exit, or the default one when the saved
// one lies on no monitor: one that is gone (undocked, or a session of
// another size) or an old parking spot of a minimised window would put the
// window where nobody can see it. MonitorFromRect with
// MONITOR_DEFAULTTONULL names no monitor for a rectangle that meets none.
RECT StartRect(const Settings& settings) {
  const int64_t right = int64_t{settings.Left} + settings.Width;
  const int64_t bottom = int64_t{settings.Top} + settings.Height;
  RECT saved = {settings.Left, settings.Top, static_cast<LONG>(right), static_cast<LONG>(bottom)};
  if (right == saved.right && bottom == saved.bottom && MonitorFromRect(&saved, MONITOR_DEFAULTTONULL) != nullptr) {
    return saved;
  }
  const Settings fallback = DefaultSettings(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return RECT{fallback.Left, fallback.Top, fallback.Left + fallback.Width, fallback.Top + fallback.Height};
}

void CreateDummyWindow() {
  g_dummyWindow = CreateWindowExW(0, L"STATIC", L"Dummy", 0, 0, 0, 0, 0, nullptr, nullptr, g_instance, nullptr);
}

}  // namespace

bool StartProgram(HINSTANCE instance, EntryStore& store) {
  g_instance = instance;
  if (!AcquireSingleInstance()) return false;
  if (!RegisterMainWindowClass()) return false;

  g_store = &store;
  const bool loaded = store.Load();
  Settings& settings = store.settings;

  const RECT start = StartRect(settings);
  g_mainWindow = CreateWindowExW(0, kProgramName, kProgramName, WS_OVERLAPPEDWINDOW, start.left, start.top,
                                 start.right - start.left, start.bottom - start.top, nullptr, nullptr, g_instance,
                                 nullptr);
  if (g_mainWindow == nullptr) return false;

  // The menu is loaded now, for its check marks, and becomes the window's
  // menu bar at the first show with the toolbar and views: a menu bar is
  // measured with the menu font as soon as the window has it, work that
  // a program staying in the tray never needs.
  g_mainMenu = LoadMenuW(g_instance, MAKEINTRESOURCEW(IDR_MAINMENU));
  // The list shown follows the value read, and the value itself stays as
  // read (a hand-written 2 is written back as 2) until the user switches.
  const int32_t listAsRead = settings.List;
  ShowList(listAsRead != 0 ? 1 : 0);
  settings.List = listAsRead;

  // The record's size is that of the full current layout (956 bytes in a
  // 32-bit build, 976 in a 64-bit one, where handles are 8 bytes).
  g_trayIcon = NOTIFYICONDATAW{};
  g_trayIcon.cbSize = sizeof(NOTIFYICONDATAW);
  g_trayIcon.hWnd = g_mainWindow;
  g_trayIcon.uID = ID_TRAYICON;
  g_trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  g_trayIcon.uCallbackMessage = MSG_TRAY;
  g_trayIcon.hIcon = g_smallIcon;
  lstrcpynW(g_trayIcon.szTip, kProgramName, ARRAYSIZE(g_trayIcon.szTip));
  // Explorer broadcasts this after it restarts; the icon must then be added
  // again or the program can no longer be reached.
  g_taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
  // Run as administrator (to place administrators' windows), the program is
  // elevated and Explorer is not: User Interface Privilege Isolation drops
  // most messages a process of lower integrity sends it, registered ones and
  // the program's own WM_APP ones among them, unless the window lets them
  // through ("ChangeWindowMessageFilterEx"). Both come from Explorer: its restart
  // and the tray icon's callback. Without elevation the call changes
  // nothing.
  ChangeWindowMessageFilterEx(g_mainWindow, g_taskbarCreatedMessage, MSGFLT_ALLOW, nullptr);
  ChangeWindowMessageFilterEx(g_mainWindow, MSG_TRAY, MSGFLT_ALLOW, nullptr);
  // The command line's requests come from a copy started without elevation,
  // run from a script or a prompt; every request is checked before it acts.
  ChangeWindowMessageFilterEx(g_mainWindow, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
  AddTrayIcon();

  CreateDummyWindow();
  CreateReadoutWindow();
  SetHook(g_mainWindow, g_dummyWindow, settings.Tooltip, settings.KeepIn);
  if (!loaded) PostMessageW(g_mainWindow, MSG_STARTUP_NOTICE, 0, 0);
  // Last: a combination another program holds is reported in a message box,
  // and everything else is working by then.
  ApplyHotkeys(nullptr);
  return true;
}

int RunMessageLoop() {
  MSG msg = {};
  for (;;) {
    BOOL result = GetMessageW(&msg, nullptr, 0, 0);
    if (result == 0 || result == -1) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void EndProgram() {
  if (g_mutex != nullptr) {
    CloseHandle(g_mutex);
    g_mutex = nullptr;
  }
}

}  // namespace qm
