// The layouts of Config.ini and Entry.ini: which sections and keys hold
// what, their order, formats and defaults. The Win32 layer only moves the
// bytes; everything a file means is decided here.
#pragma once

#include <cstdint>
#include <string>

#include "base/U16.h"
#include "entries/EntryTable.h"
#include "entries/IniText.h"
#include "entries/Settings.h"

namespace qm {

// Section "Config"; a missing key keeps its DefaultSettings value for a
// screen of the given size. "Hotkey" that cannot be read is no hotkey.
Settings ParseSettings(const IniDocument& config, int32_t screenWidth, int32_t screenHeight);

// Sections "Window" and "Menu". A count ("Item") below 1 gives an empty
// table, one above kMaxEntries reads the first kMaxEntries entries. Texts are
// cut to 255 code units, missing integers read 0. Both tables are cleared
// first, slots behind the count included.
void ParseEntries(const IniDocument& entries, WindowTable& windows, MenuTable& menus);

// The complete text of each file: every key, defaults included, in the
// fixed order, integers as "%d", lines ended by CR LF. The one exception is
// "Hotkey", written only when it is not the default, so that the file of a
// user who never chose one stays as it was.
std::u16string ComposeConfigText(const Settings& settings);
std::u16string ComposeEntryText(const WindowTable& windows, const MenuTable& menus);

// How a text field is written so that the profile reader gives back the
// same code units: wrapped in double quotes when it begins or ends with a
// blank, or is itself wrapped in matching quotes the reader would remove.
// CR and LF, which an INI line cannot hold, are written as blanks.
std::u16string IniValueText(U16View value);

// "<directory>\<name>", with a single backslash even when the directory is
// a drive root such as "C:\"; just the name (relative to the current
// directory) when the directory is unknown.
std::u16string StoreFileName(U16View directory, U16View name);

// The form of an absolute path that file functions accept beyond MAX_PATH
// (260) characters: "\\?\C:\..." or "\\?\UNC\server\share\...". Shorter
// paths and paths already in that form come back unchanged.
std::u16string ExtendedLengthPath(U16View path);

}  // namespace qm
