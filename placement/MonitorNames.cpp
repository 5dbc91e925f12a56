#include "placement/MonitorNames.h"

namespace qm {

bool TableNamesMonitor(const WindowTable& table) {
  for (int32_t i = 0; i < table.Count; ++i) {
    if (NamesMonitor(table.Entries[i])) return true;
  }
  return false;
}

int32_t PickNamedMonitor(const NamedMonitors& monitors, U16View name, U16View path) {
  if (!path.empty()) {
    for (int32_t i = 0; i < monitors.Count; ++i) {
      if (U16ViewOf(monitors.Monitor[i].Path) == path) return i;
    }
  }
  if (name.empty()) return -1;
  int32_t found = -1;
  for (int32_t i = 0; i < monitors.Count; ++i) {
    if (U16ViewOf(monitors.Monitor[i].Name) != name) continue;
    if (found >= 0) return -1;
    found = i;
  }
  return found;
}

void NamedMonitorLabel(const NamedMonitors& monitors, int32_t index, char16_t* out) {
  out[0] = u'\0';
  if (index < 0 || index >= monitors.Count) return;
  const NamedMonitor& monitor = monitors.Monitor[index];
  const U16View name = U16ViewOf(monitor.Name[0] != u'\0' ? monitor.Name : monitor.Device);
  int32_t before = 0;
  int32_t alike = 0;
  for (int32_t i = 0; i < monitors.Count; ++i) {
    if (U16ViewOf(monitors.Monitor[i].Name) != U16ViewOf(monitor.Name)) continue;
    ++alike;
    if (i < index) ++before;
  }
  size_t length = U16CopyTruncated(out, kTextCapacity, name);
  if (alike < 2 || monitor.Name[0] == u'\0') return;
  length += U16CopyTruncated(out + length, kTextCapacity - length, u" #");
  char16_t number[16];
  const size_t digits = U16FormatInt(before + 1, number);
  U16CopyTruncated(out + length, kTextCapacity - length, U16View(number, digits));
}

}  // namespace qm
