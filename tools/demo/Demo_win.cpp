// qm_demo.exe: shows a newcomer what Quillmere does. It opens Wine's
// Notepad where Notepad opens itself, asks the running Quillmere to apply
// its rules (as a right click on the tray icon does), and waits until
// Notepad has moved to where the example rule puts it. Prints both
// rectangles. qm_demo.exe --close closes Notepad and then Quillmere, which
// saves its files on the way out.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "tools/ToolSupport.h"

namespace {

using tools::WaitUntil;

constexpr UINT kTrayCallback = 0x8004;

void PrintRect(const char* label, HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  std::printf("%s: (%ld, %ld) %ld x %ld\n", label, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bool close = argc > 1 && wcscmp(argv[1], L"--close") == 0;
  HWND quillmere = nullptr;
  if (!WaitUntil([&] { return (quillmere = FindWindowW(L"Quillmere", L"Quillmere")) != nullptr; })) {
    std::printf("Quillmere is not running\n");
    return 1;
  }

  if (close) {
    if (HWND notepad = FindWindowW(L"Notepad", nullptr)) PostMessageW(notepad, WM_CLOSE, 0, 0);
    PostMessageW(quillmere, WM_CLOSE, 0, 0);
    return 0;
  }

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  wchar_t commandLine[] = L"notepad.exe";
  if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    std::printf("could not start notepad\n");
    return 1;
  }
  HWND notepad = nullptr;
  WaitUntil([&] { return (notepad = FindWindowW(L"Notepad", nullptr)) != nullptr && IsWindowVisible(notepad); });
  if (notepad == nullptr) return 1;
  // Notepad reopens where it was last closed, which after an earlier demo
  // is where the rule puts it; start it off in a corner so the move shows.
  SetWindowPos(notepad, nullptr, 40, 40, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT before;
  WaitUntil([&] {
    GetWindowRect(notepad, &before);
    return before.left == 40 && before.top == 40;
  });
  PrintRect("Notepad starts at", notepad);

  PostMessageW(quillmere, kTrayCallback, 0, WM_RBUTTONUP);
  bool moved = WaitUntil([&] {
    RECT now;
    GetWindowRect(notepad, &now);
    return !EqualRect(&now, &before);
  });
  PrintRect(moved ? "Quillmere placed it at" : "Notepad did not move; it is at", notepad);

  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return moved ? 0 : 1;
}
