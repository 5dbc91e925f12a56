// The entry store: the settings and both entry tables the program keeps
// from start to exit, the operations that change them, and loading and
// saving them as Config.ini and Entry.ini. The program makes one store at
// start-up and hands it to whatever reads or changes it; the store knows no
// window, so it never tells the user anything itself: its loads and saves
// say what failed and the caller shows the message.
#pragma once

#include <cstdint>
#include <string>

#include "entries/EntryTable.h"
#include "entries/Settings.h"

namespace qm {

// The two tables, named where code serves both alike.
enum class EntryList { Windows, Menus };

// Holds about 800 KB of tables. A store of static storage duration starts
// zeroed (both tables empty) without touching those pages; one made any
// other way must be zeroed first.
class EntryStore {
 public:
  // Read freely. The tables change through the operations below, which keep
  // each sorted and its slots behind the count empty; the settings are
  // plain values and are set directly.
  Settings settings;
  WindowTable windows;
  MenuTable menus;

  // Puts entry into slot index of its table, the slot after the last one
  // to add it, and sorts the table. The caller has checked the index
  // (EntryTarget, dialogs/EntryRules.h).
  void Put(int32_t index, const WindowEntry& entry);
  void Put(int32_t index, const MenuEntry& entry);

  int32_t Count(EntryList list) const { return list == EntryList::Windows ? windows.Count : menus.Count; }
  // Removes the entries at the ascending rows[0..count) of a table.
  void Delete(EntryList list, const int32_t* rows, int32_t count);

  // Builds both file names from the current directory (remembered for every
  // later save) and reads the settings and both tables. Missing files or
  // keys give the defaults. False when a file exists but could not be read
  // (locked, an I/O error, too large): it is kept and never written this run.
  bool Load();

  // Writes both files in full. Each file's text is composed in memory and
  // replaces the old file in one step, so a failed save leaves the previous
  // files intact; false then.
  bool Save();

 private:
  // Built by Load from the current directory at that moment and kept, so a
  // later change of the current directory does not move the files.
  std::u16string configFileName_;
  std::u16string entryFileName_;
  // A file that exists but could not be read at start-up (locked by another
  // program, a disk error) was loaded as defaults. Writing those defaults
  // over it would destroy the user's rules, so such a file is never
  // replaced during this run; saves report failure instead.
  bool configUnreadable_;
  bool entryUnreadable_;

  void BuildFileNames();
};

}  // namespace qm
