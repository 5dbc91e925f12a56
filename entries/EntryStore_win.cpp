#include "entries/EntryStore_win.h"

#include <windows.h>

#include <string>

#include "base/Win32Glue.h"
#include "entries/EntryFiles.h"
#include "entries/IniFile_win.h"
#include "entries/StoreFolder.h"

namespace qm {

namespace {

// The current directory at whatever length it has: the needed size is
// asked first, and asked again should the directory change in between.
std::u16string CurrentDirectory() {
  std::u16string directory;
  DWORD needed = GetCurrentDirectoryW(0, nullptr);
  while (needed != 0) {
    directory.assign(needed, u'\0');
    DWORD length = GetCurrentDirectoryW(needed, AsWide(&directory[0]));
    if (length < needed) {
      directory.resize(length);
      return directory;
    }
    needed = length;
  }
  return std::u16string();
}

// A system-folder name from one of the GetSystem*DirectoryW functions, which
// share their calling form; empty when there is none.
std::u16string SystemFolder(UINT (WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH + 1] = {};
  const UINT length = get(buffer, MAX_PATH + 1);
  return length > 0 && length <= MAX_PATH ? std::u16string(AsU16(buffer), length) : std::u16string();
}

// The full path of Quillmere.exe at whatever length it has.
std::u16string ProgramPath() {
  std::u16string path(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, AsWide(&path[0]), static_cast<DWORD>(path.size()));
    if (length == 0) return std::u16string();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// The current directory, unless it is the Windows system folder: started
// from the Run key or the Startup folder without a working folder, the
// program gets that one, where it would load no rules and fail every save.
// Its own folder holds its files then.
std::u16string StoreDirectory() {
  const std::u16string directory = CurrentDirectory();
  if (!IsSystemFolder(directory, SystemFolder(GetSystemDirectoryW), SystemFolder(GetSystemWow64DirectoryW))) {
    return directory;
  }
  const std::u16string program = ProgramPath();
  const U16View folder = FolderOfPath(program);
  return folder.empty() ? directory : std::u16string(folder);
}

std::u16string TempName(const std::u16string& target) { return target + u".tmp"; }

IniDocument LoadFile(const std::u16string& fileName, bool& unreadable) {
  std::u16string text;
  unreadable = ReadIniFile(fileName, text) == IniFileState::Unreadable;
  return IniDocument(text);
}

}  // namespace

void EntryStore::BuildFileNames() {
  const std::u16string directory = StoreDirectory();
  configFileName_ = StoreFileName(directory, u"Config.ini");
  entryFileName_ = StoreFileName(directory, u"Entry.ini");
}

void EntryStore::Put(int32_t index, const WindowEntry& entry) {
  if (index == windows.Count) ++windows.Count;
  windows.Entries[index] = entry;
  SortWindowTable(windows);
}

void EntryStore::Put(int32_t index, const MenuEntry& entry) {
  if (index == menus.Count) ++menus.Count;
  menus.Entries[index] = entry;
  SortMenuTable(menus);
}

void EntryStore::Delete(EntryList list, const int32_t* rows, int32_t count) {
  if (list == EntryList::Windows) {
    DeleteWindowEntries(windows, rows, count);
  } else {
    DeleteMenuEntries(menus, rows, count);
  }
}

bool EntryStore::Load() {
  BuildFileNames();
  {
    IniDocument config = LoadFile(configFileName_, configUnreadable_);
    settings = ParseSettings(config, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  }
  IniDocument entries = LoadFile(entryFileName_, entryUnreadable_);
  ParseEntries(entries, windows, menus);
  return !configUnreadable_ && !entryUnreadable_;
}

bool EntryStore::Save() {
  if (configFileName_.empty()) BuildFileNames();
  const std::u16string configTemp = TempName(configFileName_);
  const std::u16string entryTemp = TempName(entryFileName_);

  // Both new files are complete on disk before either old one is touched;
  // each rename then swaps a whole file, so every failure leaves each file
  // either as it was or entirely new.
  const bool writeConfig = !configUnreadable_;
  const bool writeEntry = !entryUnreadable_;
  bool saved = (!writeConfig || WriteWholeFile(configTemp, EncodeUtf16LeWithBom(ComposeConfigText(settings)))) &&
               (!writeEntry || WriteWholeFile(entryTemp, EncodeUtf16LeWithBom(ComposeEntryText(windows, menus)))) &&
               (!writeConfig || ReplaceFileWith(configTemp, configFileName_)) &&
               (!writeEntry || ReplaceFileWith(entryTemp, entryFileName_));
  saved = saved && writeConfig && writeEntry;
  if (saved) return true;

  RemoveFile(configTemp);
  RemoveFile(entryTemp);
  return false;
}

}  // namespace qm
