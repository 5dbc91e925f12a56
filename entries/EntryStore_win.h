// Loading and saving Config.ini and Entry.ini in the current directory.
#pragma once

namespace qm {

// Builds both file names from the current directory (remembered for every
// later save) and reads the settings and both tables. Missing files or keys
// give the defaults.
void LoadAll();

enum class SaveReport {
  ShowFailure,  // tell the user with a message box
  Silent,       // log-off and shut-down: nobody may be there to answer
};

// Writes both files in full. Each file's text is composed in memory and
// replaces the old file in one step, so a failed save leaves the previous
// files intact. Returns false then (after the message box, if asked for).
bool SaveAll(SaveReport report = SaveReport::ShowFailure);

}  // namespace qm
