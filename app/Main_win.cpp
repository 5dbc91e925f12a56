// Quillmere.exe entry point. Everything else lives in the shell library so
// tests can create the program's windows in their own process.
#include <windows.h>

#include "app/Startup_win.h"
#include "base/Dpi_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  qm::MakeProcessDpiAware();
  // Static, so that its tables start zeroed without touching their pages.
  static qm::EntryStore store;
  if (!qm::StartProgram(instance, store)) return 0;
  int exitCode = qm::RunMessageLoop();
  qm::EndProgram();
  return exitCode;
}
