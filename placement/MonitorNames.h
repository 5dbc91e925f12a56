// Monitors by the names Windows shows for them in Display settings: which
// connected monitor an entry's stored name and device path pick, and how
// the dialogs tell two monitors of one name apart. Monitor numbers change
// when a laptop is docked again ("monitor 2" becomes "monitor 3"); a
// monitor's name and, for two of the same model, its device path do not.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/U16.h"
#include "entries/EntryTable.h"

namespace qm {

// The sizes of the texts DISPLAYCONFIG_TARGET_DEVICE_NAME and
// DISPLAYCONFIG_SOURCE_DEVICE_NAME hold, terminator included.
constexpr size_t kMonitorNameCapacity = 64;
constexpr size_t kMonitorPathCapacity = 128;
constexpr size_t kMonitorDeviceCapacity = 32;
constexpr int32_t kMaxNamedMonitors = 16;

// One active display path: the monitor's friendly name (from its EDID on
// Windows; empty for a monitor that reports none), its device path and the
// GDI device name of its source ("\\.\DISPLAY1"), which is what
// GetMonitorInfoW names an HMONITOR by.
struct NamedMonitor {
  char16_t Name[kMonitorNameCapacity];
  char16_t Path[kMonitorPathCapacity];
  char16_t Device[kMonitorDeviceCapacity];
};

// The monitors connected now, in the order Windows lists their paths.
struct NamedMonitors {
  int32_t Count;
  NamedMonitor Monitor[kMaxNamedMonitors];
};

inline bool NamesMonitor(const EntryGeometry& entry) {
  return entry.MonitorName[0] != u'\0' || entry.MonitorPath[0] != u'\0';
}
bool TableNamesMonitor(const WindowTable& table);

// The connected monitor a stored name and path pick, -1 for none: the one
// with exactly that device path; else, with a name, the one monitor of that
// name (two of that name and no path among them pick neither: guessing
// would put windows on the wrong one of a pair). Names compare exactly, as
// Windows reports them.
int32_t PickNamedMonitor(const NamedMonitors& monitors, U16View name, U16View path);
inline int32_t PickNamedMonitor(const NamedMonitors& monitors, const EntryGeometry& entry) {
  return PickNamedMonitor(monitors, U16ViewOf(entry.MonitorName), U16ViewOf(entry.MonitorPath));
}

// Whether an entry may apply with the monitors connected now: one that
// names no monitor always may; one that does, only while it is connected.
// monitors null checks no names, as if every monitor were connected: what
// the rule column matches with to find a rule that waits for its monitor.
inline bool NamedMonitorAllows(const EntryGeometry& entry, const NamedMonitors* monitors) {
  return monitors == nullptr || !NamesMonitor(entry) || PickNamedMonitor(*monitors, entry) >= 0;
}

// How a list shows connected monitor index, into out[kTextCapacity]: its
// name, followed by " #2" and so on when another connected monitor has the
// same name (counted in list order, from 1), so a pair of one model can be
// told apart; a monitor without a name shows its device name.
void NamedMonitorLabel(const NamedMonitors& monitors, int32_t index, char16_t* out);

}  // namespace qm
