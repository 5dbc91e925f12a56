#include "entries/EntryStore_win.h"

#include <string>

#include "base/Win32Glue.h"
#include "entries/EntryFiles.h"
#include "entries/IniFile_win.h"
#include "entries/StoreFolder.h"
#include "res/resource.h"

namespace qm {

Settings g_settings;
WindowTable g_windowTable;
MenuTable g_menuTable;
int32_t EditIndex = -1;

namespace {

// Built by LoadAll from the current directory at that moment and kept, so
// a later change of the current directory does not move the files.
std::u16string g_configFileName;
std::u16string g_entryFileName;

// A file that exists but could not be read at start-up (locked by another
// program, a disk error) was loaded as defaults. Writing those defaults over
// it would destroy the user's rules, so such a file is never replaced
// during this run; saves report failure instead.
bool g_configUnreadable;
bool g_entryUnreadable;

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

void BuildFileNames() {
  const std::u16string directory = StoreDirectory();
  g_configFileName = StoreFileName(directory, u"Config.ini");
  g_entryFileName = StoreFileName(directory, u"Entry.ini");
}

std::u16string TempName(const std::u16string& target) { return target + u".tmp"; }

void ShowSaveFailure(HWND mainWindow) {
  // Owned by the window the user is working in: during a dialog's OK that is
  // the dialog, which the box must disable so OK cannot run again under it.
  HWND owner = mainWindow != nullptr ? GetLastActivePopup(mainWindow) : nullptr;
  ShowStringMessage(owner, IDS_SAVE_FAILED, 0, MB_OK | MB_ICONWARNING);
}

IniDocument LoadFile(const std::u16string& fileName, bool& unreadable) {
  std::u16string text;
  unreadable = ReadIniFile(fileName, text) == IniFileState::Unreadable;
  return IniDocument(text);
}

}  // namespace

bool LoadFoundUnreadableFile() { return g_configUnreadable || g_entryUnreadable; }

void ShowLoadFailure(HWND owner) { ShowStringMessage(owner, IDS_LOAD_FAILED, 0, MB_OK | MB_ICONWARNING); }

void LoadAll() {
  BuildFileNames();
  {
    IniDocument config = LoadFile(g_configFileName, g_configUnreadable);
    g_settings = ParseSettings(config, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  }
  IniDocument entries = LoadFile(g_entryFileName, g_entryUnreadable);
  ParseEntries(entries, g_windowTable, g_menuTable);
}

bool SaveAll(HWND owner, SaveReport report) {
  if (g_configFileName.empty()) BuildFileNames();
  const std::u16string configTemp = TempName(g_configFileName);
  const std::u16string entryTemp = TempName(g_entryFileName);

  // Both new files are complete on disk before either old one is touched;
  // each rename then swaps a whole file, so every failure leaves each file
  // either as it was or entirely new.
  const bool writeConfig = !g_configUnreadable;
  const bool writeEntry = !g_entryUnreadable;
  bool saved = (!writeConfig || WriteWholeFile(configTemp, EncodeUtf16LeWithBom(ComposeConfigText(g_settings)))) &&
               (!writeEntry ||
                WriteWholeFile(entryTemp, EncodeUtf16LeWithBom(ComposeEntryText(g_windowTable, g_menuTable)))) &&
               (!writeConfig || ReplaceFileWith(configTemp, g_configFileName)) &&
               (!writeEntry || ReplaceFileWith(entryTemp, g_entryFileName));
  saved = saved && writeConfig && writeEntry;
  if (saved) return true;

  RemoveFile(configTemp);
  RemoveFile(entryTemp);
  if (report == SaveReport::ShowFailure) ShowSaveFailure(owner);
  return false;
}

}  // namespace qm
