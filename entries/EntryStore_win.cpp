// Placeholder until the file store lands: defaults only, nothing written.
#include "entries/EntryStore_win.h"

#include "app/AppState_win.h"

namespace qm {

void LoadAll() {
  g_settings = DefaultSettings(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

bool SaveAll(SaveReport) { return true; }

}  // namespace qm
