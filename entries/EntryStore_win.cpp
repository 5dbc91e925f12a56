#include "entries/EntryStore_win.h"

#include <string>

#include "app/AppState_win.h"
#include "base/Win32Glue.h"
#include "entries/EntryFiles.h"
#include "entries/IniFile_win.h"
#include "res/resource.h"

namespace qm {

namespace {

// Built by LoadAll from the current directory at that moment and kept, so
// a later change of the current directory does not move the files.
std::u16string g_configFileName;
std::u16string g_entryFileName;

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

void BuildFileNames() {
  const std::u16string directory = CurrentDirectory();
  g_configFileName = StoreFileName(directory, u"Config.ini");
  g_entryFileName = StoreFileName(directory, u"Entry.ini");
}

std::u16string TempName(const std::u16string& target) { return target + u".tmp"; }

void ShowSaveFailure() {
  char16_t text[TextCapacity] = {};
  LoadStringW(g_instance, IDS_SAVE_FAILED, AsWide(text), TextCapacity);
  MessageBoxW(g_mainWindow, AsWide(text), L"Quillmere", MB_OK | MB_ICONWARNING);
}

}  // namespace

void LoadAll() {
  BuildFileNames();
  {
    IniDocument config(ReadIniFileText(g_configFileName));
    g_settings = ParseSettings(config, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  }
  IniDocument entries(ReadIniFileText(g_entryFileName));
  ParseEntries(entries, g_windowTable, g_menuTable);
}

bool SaveAll(SaveReport report) {
  if (g_configFileName.empty()) BuildFileNames();
  const std::u16string configTemp = TempName(g_configFileName);
  const std::u16string entryTemp = TempName(g_entryFileName);

  // Both new files are complete on disk before either old one is touched;
  // each rename then swaps a whole file, so every failure leaves each file
  // either as it was or entirely new.
  bool saved = WriteWholeFile(configTemp, EncodeUtf16LeWithBom(ComposeConfigText(g_settings))) &&
               WriteWholeFile(entryTemp, EncodeUtf16LeWithBom(ComposeEntryText(g_windowTable, g_menuTable))) &&
               ReplaceFileWith(configTemp, g_configFileName) && ReplaceFileWith(entryTemp, g_entryFileName);
  if (saved) return true;

  RemoveFile(configTemp);
  RemoveFile(entryTemp);
  if (report == SaveReport::ShowFailure) ShowSaveFailure();
  return false;
}

}  // namespace qm
