#include "placement/RuleFacts_win.h"

#include "base/Win32Glue.h"
#include "placement/ProgramName.h"

namespace qm {

namespace {

// File name of a process's executable into out[kTextCapacity]. Opening with
// the limited query right is what a normal process may still do to most
// others; where even that is refused the call fails at once.
size_t ProcessProgram(DWORD processId, char16_t* out) {
  out[0] = u'\0';
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return 0;
  // Long enough for any path the loader accepts; a longer one fails and
  // reads as unknown.
  wchar_t path[4096];
  DWORD length = ARRAYSIZE(path);
  const BOOL read = QueryFullProcessImageNameW(process, 0, path, &length);
  CloseHandle(process);
  if (!read) return 0;
  return U16CopyTruncated(out, kTextCapacity, ProgramFileName(AsU16View(path, length)));
}

// The Store apps' frame window holds a child window (of class
// "Windows.UI.Core.CoreWindow") that belongs to the app's own process: the
// first child of another process names the app. Enumerating children
// sends the frame no message.
struct AppSearch {
  DWORD frameProcess;
  DWORD appProcess;
};

BOOL CALLBACK FindAppChild(HWND child, LPARAM context) {
  auto* search = reinterpret_cast<AppSearch*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(child, &process);
  if (process == 0 || process == search->frameProcess) return TRUE;
  search->appProcess = process;
  return FALSE;
}

bool ReadMonitorArea(HMONITOR monitor, PlacementArea* area) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return false;
  area->work = ToRect32(info.rcWork);
  area->screen = ToRect32(info.rcMonitor);
  return true;
}

}  // namespace

size_t ReadWindowProgram(HWND window, char16_t* out) {
  out[0] = u'\0';
  DWORD process = 0;
  if (GetWindowThreadProcessId(window, &process) == 0) return 0;
  const size_t length = ProcessProgram(process, out);
  if (length == 0 || !IsStoreAppHost(U16View(out, length))) return length;
  AppSearch search{process, 0};
  EnumChildWindows(window, FindAppChild, reinterpret_cast<LPARAM>(&search));
  char16_t app[kTextCapacity];
  const size_t appLength = search.appProcess != 0 ? ProcessProgram(search.appProcess, app) : 0;
  // An app whose process cannot be read leaves the frame's own name.
  return appLength != 0 ? U16CopyTruncated(out, kTextCapacity, U16View(app, appLength)) : length;
}

PlacementArea ReadPlacementArea(HWND window, int32_t monitorChoice) {
  PlacementArea area{};
  switch (monitorChoice) {
    case MonitorOfWindow:
      if (ReadMonitorArea(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &area)) return area;
      break;
    case MonitorOfPointer: {
      POINT pointer = {};
      if (GetCursorPos(&pointer) && ReadMonitorArea(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &area)) {
        return area;
      }
      break;
    }
    default:
      break;
  }
  RECT work;
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) area.work = ToRect32(work);
  // SM_CXSCREEN and SM_CYSCREEN are the primary monitor's size as it is at
  // the call (GetSystemMetrics); the primary monitor starts at the origin.
  area.screen = Rect32{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return area;
}

}  // namespace qm
