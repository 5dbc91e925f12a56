// Display texts of entries for the list views and the popup menu.
#pragma once

#include "entries/EntryTable.h"

namespace qm {

// The six anchor texts from the string table, loaded on first use.
const AnchorTexts& LoadedAnchorTexts();

// PositionText and SizeText with the anchor texts of the resources.
void EntryPositionText(const EntryGeometry& entry, char16_t* out);
void EntrySizeText(const EntryGeometry& entry, char16_t* out);

}  // namespace qm
