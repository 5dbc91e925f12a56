#include "placement/MonitorNames_win.h"

#include "base/Win32Glue.h"
#include "placement/RuleFacts_win.h"

namespace qm {

namespace {

// Far more than the outputs of any machine: a monitor is one active path,
// and each path has a source and a target mode (and a desktop image mode on
// Windows 10).
constexpr UINT32 kMaxPaths = 32;
constexpr UINT32 kMaxModes = 3 * kMaxPaths;

// "QueryDisplayConfig": the configuration may change between asking for
// the sizes and reading it, which the read answers with
// ERROR_INSUFFICIENT_BUFFER; a few tries see it settle.
bool QueryActivePaths(DISPLAYCONFIG_PATH_INFO* paths, UINT32* pathCount, DISPLAYCONFIG_MODE_INFO* modes) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    UINT32 modeCount = 0;
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, pathCount, &modeCount) != ERROR_SUCCESS) return false;
    if (*pathCount > kMaxPaths || modeCount > kMaxModes) return false;
    const LONG result = QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, pathCount, paths, &modeCount, modes, nullptr);
    if (result == ERROR_SUCCESS) return true;
    if (result != ERROR_INSUFFICIENT_BUFFER) return false;
  }
  return false;
}

// "DisplayConfigGetDeviceInfo" with DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME
// (the monitor's friendly name and device path) and ..._GET_SOURCE_NAME (the
// GDI device name of the source it shows). Both fields stay empty where a
// question is refused.
void NamePath(const DISPLAYCONFIG_PATH_INFO& path, NamedMonitor* out) {
  DISPLAYCONFIG_TARGET_DEVICE_NAME target = {};
  target.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
  target.header.size = sizeof(target);
  target.header.adapterId = path.targetInfo.adapterId;
  target.header.id = path.targetInfo.id;
  if (DisplayConfigGetDeviceInfo(&target.header) == ERROR_SUCCESS) {
    U16CopyTruncated(out->Name, kMonitorNameCapacity, U16ViewOf(AsU16(target.monitorFriendlyDeviceName)));
    U16CopyTruncated(out->Path, kMonitorPathCapacity, U16ViewOf(AsU16(target.monitorDevicePath)));
  }
  DISPLAYCONFIG_SOURCE_DEVICE_NAME source = {};
  source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
  source.header.size = sizeof(source);
  source.header.adapterId = path.sourceInfo.adapterId;
  source.header.id = path.sourceInfo.id;
  if (DisplayConfigGetDeviceInfo(&source.header) == ERROR_SUCCESS) {
    U16CopyTruncated(out->Device, kMonitorDeviceCapacity, U16ViewOf(AsU16(source.viewGdiDeviceName)));
  }
}

struct DeviceSearch {
  const char16_t* device;
  HMONITOR found;
};

BOOL CALLBACK FindDeviceMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  auto* search = reinterpret_cast<DeviceSearch*>(param);
  MONITORINFOEXW info = {};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info) || U16ViewOf(AsU16(info.szDevice)) != U16ViewOf(search->device)) return TRUE;
  search->found = monitor;
  return FALSE;
}

// The device name GetMonitorInfoW gives monitor into out[kMonitorDeviceCapacity].
bool DeviceOfMonitor(HMONITOR monitor, char16_t* out) {
  MONITORINFOEXW info = {};
  info.cbSize = sizeof(info);
  out[0] = u'\0';
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return false;
  U16CopyTruncated(out, kMonitorDeviceCapacity, U16ViewOf(AsU16(info.szDevice)));
  return true;
}

}  // namespace

void ReadNamedMonitors(NamedMonitors* out) {
  out->Count = 0;
  DISPLAYCONFIG_PATH_INFO paths[kMaxPaths];
  DISPLAYCONFIG_MODE_INFO modes[kMaxModes];
  UINT32 pathCount = 0;
  if (!QueryActivePaths(paths, &pathCount, modes)) return;
  for (UINT32 i = 0; i < pathCount && out->Count < kMaxNamedMonitors; ++i) {
    NamedMonitor& monitor = out->Monitor[out->Count++];
    monitor = NamedMonitor{};
    NamePath(paths[i], &monitor);
  }
}

HMONITOR MonitorOfNamed(const NamedMonitor& monitor) {
  if (monitor.Device[0] == u'\0') return nullptr;
  DeviceSearch search{monitor.Device, nullptr};
  EnumDisplayMonitors(nullptr, nullptr, FindDeviceMonitor, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool NamedMonitorOfWindow(HWND window, NamedMonitor* out) {
  NamedMonitors monitors;
  ReadNamedMonitors(&monitors);
  return NamedMonitorOfWindow(window, monitors, out);
}

bool NamedMonitorOfWindow(HWND window, const NamedMonitors& monitors, NamedMonitor* out) {
  *out = NamedMonitor{};
  char16_t device[kMonitorDeviceCapacity];
  if (!DeviceOfMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), device)) return false;
  for (int32_t i = 0; i < monitors.Count; ++i) {
    if (U16ViewOf(monitors.Monitor[i].Device) != U16ViewOf(device)) continue;
    *out = monitors.Monitor[i];
    return true;
  }
  // A monitor the display paths do not list is still named by its device.
  U16CopyTruncated(out->Device, kMonitorDeviceCapacity, U16ViewOf(device));
  return true;
}

size_t MonitorNameOfWindow(HWND window, const NamedMonitors& monitors, char16_t* out) {
  NamedMonitor monitor;
  out[0] = u'\0';
  if (!NamedMonitorOfWindow(window, monitors, &monitor)) return 0;
  return U16CopyTruncated(out, kTextCapacity, U16ViewOf(monitor.Name[0] != u'\0' ? monitor.Name : monitor.Device));
}

PlacementArea ReadEntryArea(HWND window, const EntryGeometry& entry, const NamedMonitors* monitors) {
  if (NamesMonitor(entry)) {
    NamedMonitors read;
    if (monitors == nullptr) {
      ReadNamedMonitors(&read);
      monitors = &read;
    }
    const int32_t picked = PickNamedMonitor(*monitors, entry);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (picked >= 0 && GetMonitorInfoW(MonitorOfNamed(monitors->Monitor[picked]), &info)) {
      return PlacementArea{ToRect32(info.rcWork), ToRect32(info.rcMonitor)};
    }
  }
  return ReadPlacementArea(window, EffectiveMonitor(entry));
}

}  // namespace qm
