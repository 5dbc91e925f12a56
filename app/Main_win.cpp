// Quillmere.exe entry point. Everything else lives in the shell library so
// tests can create the program's windows in their own process.
#include <windows.h>

#include "app/Commands_win.h"
#include "app/Startup_win.h"
#include "base/Dpi_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  qm::MakeProcessDpiAware();
  // Static, so that its tables start zeroed without touching their pages.
  static qm::EntryStore store;
  // Given a command, this copy only passes it on (or does it alone) and
  // ends; the running copy stays the only one.
  const qm::Command command = qm::CommandOfProcess();
  if (command.kind != qm::CommandKind::None) return qm::RunCommandLine(command, store);
  if (!qm::StartProgram(instance, store)) return 0;
  int exitCode = qm::RunMessageLoop();
  qm::EndProgram();
  return exitCode;
}
