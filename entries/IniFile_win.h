// Whole-file reading and replacing for the two profile files.
#pragma once

#include <string>

#include "base/U16.h"
#include "entries/IniText.h"

namespace qm {

// A file's bytes decoded into UTF-16 as the profile functions decode them
// (see DetectIniEncoding): UTF-16 of either byte order as is, UTF-8 after
// its byte-order mark, anything else through the ANSI code page.
std::u16string DecodeIniBytes(const IniBytes& bytes);

enum class IniFileState {
  Read,        // the whole file was read
  Missing,     // no such file (or folder): every default applies
  Unreadable,  // it exists but could not be read whole (locked, I/O error,
               // absurdly large); its keys are unknown, not absent
};

// Reads and decodes a whole file into text (empty unless Read).
IniFileState ReadIniFile(U16View fileName, std::u16string& text);

// The decoded text of a file; empty when it is missing or unreadable.
std::u16string ReadIniFileText(U16View fileName);

// Creates or truncates the file, writes every byte and flushes it to the
// disk. On failure the file is removed again.
bool WriteWholeFile(U16View fileName, const IniBytes& bytes);

// Puts source in target's place in one step, whether or not target exists.
bool ReplaceFileWith(U16View source, U16View target);

// Removes a file, quietly; for the leftovers of a failed save.
void RemoveFile(U16View fileName);

}  // namespace qm
