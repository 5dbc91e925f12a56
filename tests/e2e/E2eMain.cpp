// Entry of the end-to-end suite. Keeps a tray icon of its own for the whole
// run: with no window manager, Wine stalls about two seconds whenever the
// last tray icon goes away, which would happen at every Quillmere exit.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);

  HWND keeper = CreateWindowExW(0, L"STATIC", L"qm-e2e-tray", 0, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof(icon);
  icon.hWnd = keeper;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP;
  icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(icon.szTip, L"qm-e2e", ARRAYSIZE(icon.szTip));
  Shell_NotifyIconW(NIM_ADD, &icon);

  int result = RUN_ALL_TESTS();

  Shell_NotifyIconW(NIM_DELETE, &icon);
  DestroyWindow(keeper);
  return result;
}
