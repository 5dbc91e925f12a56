// What the small driver programs in tools/ share beyond the test support:
// its waiting with the tools' deadline, and finding the running Quillmere (optionally on a Wine
// virtual desktop, whose windows FindWindow cannot see from outside).
#pragma once

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "tests/support/TestSupport.h"

namespace tools {

constexpr DWORD kDeadlineMs = 20000;

inline bool WaitUntil(const std::function<bool()>& condition) { return qm::test::WaitUntil(condition, kDeadlineMs); }

inline int Fail(const char* tool, const char* what) {
  std::fprintf(stderr, "%s: %s\n", tool, what);
  return 1;
}

// Takes "--desktop NAME" from the front of the arguments (advancing arg)
// and switches this thread to that desktop, which may still be starting.
inline bool UseDesktopArgument(int argc, wchar_t** argv, int& arg) {
  if (argc <= arg + 1 || wcscmp(argv[arg], L"--desktop") != 0) return true;
  HDESK desktop = nullptr;
  if (!WaitUntil([&] { return (desktop = OpenDesktopW(argv[arg + 1], 0, FALSE, GENERIC_ALL)) != nullptr; })) {
    return false;
  }
  arg += 2;
  return SetThreadDesktop(desktop) != FALSE;
}

// Quillmere's main window once its message loop answers, or null.
inline HWND FindRunningQuillmere() {
  HWND main = nullptr;
  if (!WaitUntil([&] { return (main = FindWindowW(L"Quillmere", L"Quillmere")) != nullptr; })) return nullptr;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kDeadlineMs, &result) ? main : nullptr;
}

// Shows Quillmere's main window as a left click on its tray icon does, and
// waits until its lists exist: the program makes the toolbar and both lists
// at the window's first show, so before it there is no list to switch.
inline bool ShowMainWindow(HWND main) {
  constexpr UINT kTrayCallback = 0x8004;  // MSG_TRAY
  constexpr int kWindowView = 102;
  if (!IsWindowVisible(main)) PostMessageW(main, kTrayCallback, 0, WM_LBUTTONUP);
  return WaitUntil([&] { return IsWindowVisible(main) != FALSE && GetDlgItem(main, kWindowView) != nullptr; });
}

}  // namespace tools
