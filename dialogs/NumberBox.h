// The four number boxes of the entry dialogs (left, top, width, height):
// which text they may hold and how it reads back as a signed coordinate.
// Windows on a monitor left of or above the primary one have negative
// coordinates, so the boxes take an optional minus sign and read signed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/U16.h"

namespace qm {

// The value of a number box's text: leading blanks are skipped, then an
// optional '-' and the digits up to the first character that is not one
// (full-width digits and minus signs count as their ASCII forms).
// A text with no digits there (empty, "-", "abc") reads as 0, and so does a
// number outside the signed 32-bit range: a coordinate that cannot be stored
// is not replaced by some other, wrapped or clamped, coordinate.
int32_t ParseNumberBoxText(U16View text);

// The character a number box takes for a typed one: the ASCII digits and
// '-', with the full-width digits and minus signs a Japanese input method
// produces mapped onto them. 0 for every other character.
char16_t NumberBoxChar(char16_t typed);

// Whether before + inserted + after, the text the box would hold after an
// insertion, is one a number box may hold: empty, or an optional leading
// '-' followed by ASCII digits only ("-" alone is a number being typed).
bool IsNumberBoxText(U16View before, U16View inserted, U16View after);

// Pasted text made fit for a number box: blanks and line breaks around it
// dropped, each character mapped with NumberBoxChar, written into
// out[capacity] and terminated. Returns the length, or -1 when a character
// is not taken or the text does not fit.
int32_t NormalizePastedNumber(U16View pasted, char16_t* out, size_t capacity);

}  // namespace qm
