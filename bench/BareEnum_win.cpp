// qm_bareenum.exe: the baseline of the command benchmark. A windows-subsystem
// program, started as Quillmere.exe is, that only enumerates the top-level
// windows and prints each one's handle, class and title to standard output.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK PrintWindow(HWND window, LPARAM textParam) {
  auto& text = *reinterpret_cast<std::wstring*>(textParam);
  wchar_t cls[256] = {};
  wchar_t title[256] = {};
  GetClassNameW(window, cls, 256);
  GetWindowTextW(window, title, 256);
  wchar_t handle[32];
  swprintf(handle, 32, L"%08llX\t", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  text += handle;
  text += cls;
  text += L"\t";
  text += title;
  text += L"\r\n";
  return TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring text;
  EnumWindows(PrintWindow, reinterpret_cast<LPARAM>(&text));
  const int units = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), units, utf8.data(), bytes, nullptr, nullptr);
  DWORD done = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &done, nullptr);
  return 0;
}
