// Display texts of entries for the list views and the popup menu.
#pragma once

#include "entries/EntryTable.h"

namespace qm {

// PositionText and SizeText with the anchor and monitor texts of the string table,
// which an object loads when it is made: one per list rebuild or popup.
class EntryTexts {
 public:
  EntryTexts();
  EntryTexts(const EntryTexts&) = delete;
  EntryTexts& operator=(const EntryTexts&) = delete;

  const AnchorTexts& Anchors() const { return anchors_; }
  void Position(const EntryGeometry& entry, char16_t* out) const { PositionText(entry, anchors_, out); }
  void Size(const EntryGeometry& entry, char16_t* out) const { SizeText(entry, out); }

 private:
  char16_t texts_[kPosCount][kTextCapacity];
  char16_t monitors_[kMonitorChoiceCount][kTextCapacity];
  AnchorTexts anchors_;
};

}  // namespace qm
