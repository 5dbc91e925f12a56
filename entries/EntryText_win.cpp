#include "entries/EntryText_win.h"

#include "app/AppState_win.h"
#include "base/Win32Glue.h"
#include "res/resource.h"

namespace qm {

const AnchorTexts& LoadedAnchorTexts() {
  static char16_t texts[PosCount][TextCapacity];
  static AnchorTexts anchors;
  static bool loaded = false;
  if (!loaded) {
    for (int i = 0; i < PosCount; ++i) {
      LoadStringW(g_instance, static_cast<UINT>(IDS_POS_FREE + i), AsWide(texts[i]), TextCapacity);
      anchors.Text[i] = texts[i];
    }
    loaded = true;
  }
  return anchors;
}

void EntryPositionText(const EntryGeometry& entry, char16_t* out) {
  PositionText(entry, LoadedAnchorTexts(), out);
}

void EntrySizeText(const EntryGeometry& entry, char16_t* out) {
  SizeText(entry, out);
}

}  // namespace qm
