#include "entries/EntryText_win.h"

#include "base/Win32Glue.h"
#include "res/resource.h"

namespace qm {

EntryTexts::EntryTexts() {
  for (int i = 0; i < PosCount; ++i) {
    LoadText(static_cast<UINT>(IDS_POS_FREE + i), texts_[i]);
    anchors_.Text[i] = texts_[i];
  }
}

}  // namespace qm
