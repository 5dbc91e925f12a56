#include "entries/EntryText_win.h"

#include "base/Win32Glue.h"
#include "res/resource.h"

namespace qm {

EntryTexts::EntryTexts() {
  for (int i = 0; i < kPosCount; ++i) {
    LoadText(static_cast<UINT>(IDS_POS_FREE + i), texts_[i]);
    anchors_.Text[i] = texts_[i];
  }
  for (int i = 0; i < kMonitorChoiceCount; ++i) {
    LoadText(static_cast<UINT>(IDS_MONITOR_PRIMARY + i), monitors_[i]);
    anchors_.Monitor[i] = monitors_[i];
  }
}

}  // namespace qm
