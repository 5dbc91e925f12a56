// The entry store: the settings and both entry tables the program keeps
// from start to exit, and loading and saving them as Config.ini and
// Entry.ini in the current directory.
#pragma once

#include <windows.h>

#include <cstdint>

#include "entries/EntryTable.h"
#include "entries/Settings.h"

namespace qm {

// Process-wide, created at start-up and kept until exit; everything runs on
// the one UI thread.
extern Settings g_settings;
extern WindowTable g_windowTable;
extern MenuTable g_menuTable;

// Entry being changed by an entry dialog, -1 while a dialog adds one. The
// main window sets it before it opens an entry dialog.
extern int32_t EditIndex;

// Builds both file names from the current directory (remembered for every
// later save) and reads the settings and both tables. Missing files or keys
// give the defaults.
void LoadAll();

// Whether LoadAll found a file that exists but could not be read (locked,
// an I/O error, too large). Such a file is kept and never written this run.
bool LoadFoundUnreadableFile();
// Tells the user so, in a message box owned by owner (the main window).
void ShowLoadFailure(HWND owner);

enum class SaveReport {
  ShowFailure,  // tell the user with a message box
  Silent,       // log-off and shut-down: nobody may be there to answer
};

// Writes both files in full. Each file's text is composed in memory and
// replaces the old file in one step, so a failed save leaves the previous
// files intact. Returns false then (after the message box, if asked for).
// The message box belongs to the window the user works in: owner's last
// active popup (during a dialog's OK, the dialog), so OK cannot run again
// under it. owner is the program's main window, or null.
bool SaveAll(HWND owner, SaveReport report = SaveReport::ShowFailure);

}  // namespace qm
