// qm_showmain.exe: puts a running Quillmere into the state a picture needs.
//
//   qm_showmain.exe [--desktop NAME] window|menu   show the main window with that list
//   qm_showmain.exe [--desktop NAME] close         close Quillmere (it saves on the way out)
//
// --desktop looks for Quillmere on that desktop (a Wine virtual desktop
// started with "explorer /desktop=NAME"); windows on another desktop are
// invisible to FindWindow.
// It does what a user does: a left click on the tray icon shows the main
// window, then the toolbar's switch changes the list. Ends when the window is
// painted in the state asked for; exit code 1 if that does not happen.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "tools/ToolSupport.h"

namespace {

using tools::FindRunningQuillmere;
using tools::UseDesktopArgument;
using tools::kDeadlineMs;
using tools::WaitUntil;

constexpr WPARAM kSwitchList = 40000;   // the toolbar's list switch
constexpr int kWindowView = 102;

int Fail(const char* what) { return tools::Fail("qm_showmain", what); }

bool WindowListShown(HWND main) {
  return (GetWindowLongW(GetDlgItem(main, kWindowView), GWL_STYLE) & WS_VISIBLE) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int arg = 1;
  if (!UseDesktopArgument(argc, argv, arg)) return Fail("cannot use the desktop");
  const wchar_t* mode = argc > arg ? argv[arg] : L"window";
  HWND main = FindRunningQuillmere();
  if (main == nullptr) return Fail("Quillmere is not running");

  if (wcscmp(mode, L"close") == 0) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    return WaitUntil([&] { return !IsWindow(main); }) ? 0 : Fail("still running");
  }

  if (!tools::ShowMainWindow(main)) return Fail("main window not shown");
  const bool windowList = wcscmp(mode, L"menu") != 0;
  if (WindowListShown(main) != windowList) {
    PostMessageW(main, WM_COMMAND, kSwitchList, 0);
    if (!WaitUntil([&] { return WindowListShown(main) == windowList; })) return Fail("list not switched");
  }
  // Paint everything now, then make sure the program is idle again.
  RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kDeadlineMs, &result) ? 0 : Fail("no answer");
}
