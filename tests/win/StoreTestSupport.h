// Helpers for the tests of the settings and entry files: a scratch
// directory that is the current directory while a test runs, and the files
// read and written key by key (file reading and writing come from the
// shared test support).
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "entries/EntryTable.h"
#include "entries/Settings.h"
#include "tests/support/TestSupport.h"

namespace qm::test {

// Names of the files directly in a directory, sorted by the file system.
inline std::wstring ListFiles(const std::wstring& path) {
  std::wstring names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(LongForm(path + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!names.empty()) names += L"|";
    names += found.cFileName;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return names;
}

// A fresh directory under the temporary folder, made the current directory
// for the object's lifetime and removed with its contents afterwards.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    wchar_t previous[32768];
    DWORD length = GetCurrentDirectoryW(32768, previous);
    previous_.assign(previous, length);
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    static unsigned counter = 0;
    for (;;) {
      path_ = std::wstring(temp) + L"qm-store-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
      if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
    SetCurrentDirectoryW(path_.c_str());
  }
  ~ScratchDirectory() {
    SetCurrentDirectoryW(previous_.c_str());
    RemoveTree(path_);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring previous_;
  std::wstring path_;
};

// The files read and written key by key through the profile functions,
// the way the program used to do it: the reference for what the store must
// read, and the baseline its speed is measured against.
inline std::wstring NumberedKey(const wchar_t* name, int number) {
  wchar_t key[64];
  swprintf(key, 64, L"%ls%d", name, number);
  return key;
}

// The numeric keys in the order the files hold them: the settings, the
// placement keys of both sections, then the frame keys of window entries.
template <class T>
struct IntKey {
  const wchar_t* name;
  int32_t T::*field;
};
inline constexpr IntKey<Settings> kConfigKeys[] = {
    {L"Left", &Settings::Left}, {L"Top", &Settings::Top},         {L"Width", &Settings::Width},
    {L"Height", &Settings::Height}, {L"List", &Settings::List}, {L"Tooltip", &Settings::Tooltip},
    {L"KeepIn", &Settings::KeepIn}, {L"FollowDesktop", &Settings::FollowDesktop},
};
inline constexpr IntKey<EntryGeometry> kGeometryKeys[] = {
    {L"DesablePos", &EntryGeometry::DesablePos}, {L"Left", &EntryGeometry::Left},
    {L"Top", &EntryGeometry::Top},               {L"Pos", &EntryGeometry::Pos},
    {L"DesableSize", &EntryGeometry::DesableSize}, {L"Width", &EntryGeometry::Width},
    {L"Height", &EntryGeometry::Height},
};
inline constexpr IntKey<WindowEntry> kFrameKeys[] = {
    {L"DesableStyle", &WindowEntry::DesableStyle},
    {L"Border", &WindowEntry::Border},
    {L"DialogFrame", &WindowEntry::DialogFrame},
    {L"ThickFrame", &WindowEntry::ThickFrame},
};

inline void LoadKeyByKey(const std::wstring& configFile, const std::wstring& entryFile, int screenWidth,
                         int screenHeight, Settings& settings, WindowTable& windows, MenuTable& menus) {
  const Settings defaults = DefaultSettings(screenWidth, screenHeight);
  const wchar_t* config = configFile.c_str();
  const wchar_t* entry = entryFile.c_str();
  for (const auto& k : kConfigKeys) {
    settings.*k.field = static_cast<int32_t>(GetPrivateProfileIntW(L"Config", k.name, defaults.*k.field, config));
  }

  std::memset(&windows, 0, sizeof windows);
  std::memset(&menus, 0, sizeof menus);
  auto count = [&](const wchar_t* section) {
    int32_t n = static_cast<int32_t>(GetPrivateProfileIntW(section, L"Item", 0, entry));
    return n < 0 ? 0 : (n > kMaxEntries ? kMaxEntries : n);
  };
  auto readInt = [&](const wchar_t* section, const wchar_t* name, int i) {
    return static_cast<int32_t>(GetPrivateProfileIntW(section, NumberedKey(name, i).c_str(), 0, entry));
  };
  windows.Count = count(L"Window");
  for (int i = 1; i <= windows.Count; ++i) {
    WindowEntry& e = windows.Entries[i - 1];
    GetPrivateProfileStringW(L"Window", NumberedKey(L"Title", i).c_str(), L"", reinterpret_cast<wchar_t*>(e.Title),
                             kTextCapacity, entry);
    GetPrivateProfileStringW(L"Window", NumberedKey(L"Class", i).c_str(), L"", reinterpret_cast<wchar_t*>(e.Class),
                             kTextCapacity, entry);
    for (const auto& k : kGeometryKeys) e.*k.field = readInt(L"Window", k.name, i);
    for (const auto& k : kFrameKeys) e.*k.field = readInt(L"Window", k.name, i);
  }
  menus.Count = count(L"Menu");
  for (int i = 1; i <= menus.Count; ++i) {
    MenuEntry& e = menus.Entries[i - 1];
    for (const auto& k : kGeometryKeys) e.*k.field = readInt(L"Menu", k.name, i);
  }
}

// Writes both files key by key with WritePrivateProfileStringW into fresh
// files that start with a UTF-16LE byte-order mark (without it the
// function would write a new file in the ANSI code page).
inline void SaveKeyByKey(const std::wstring& configFile, const std::wstring& entryFile, const Settings& settings,
                         const WindowTable& windows, const MenuTable& menus) {
  WriteBytes(configFile, std::string("\xFF\xFE", 2));
  WriteBytes(entryFile, std::string("\xFF\xFE", 2));
  const wchar_t* config = configFile.c_str();
  const wchar_t* entry = entryFile.c_str();
  auto writeInt = [](const wchar_t* section, const std::wstring& key, int32_t value, const wchar_t* file) {
    wchar_t text[16];
    swprintf(text, 16, L"%d", value);
    WritePrivateProfileStringW(section, key.c_str(), text, file);
  };
  for (const auto& k : kConfigKeys) writeInt(L"Config", k.name, settings.*k.field, config);

  writeInt(L"Window", L"Item", windows.Count, entry);
  for (int i = 1; i <= windows.Count; ++i) {
    const WindowEntry& e = windows.Entries[i - 1];
    WritePrivateProfileStringW(L"Window", NumberedKey(L"Title", i).c_str(), reinterpret_cast<const wchar_t*>(e.Title),
                               entry);
    WritePrivateProfileStringW(L"Window", NumberedKey(L"Class", i).c_str(), reinterpret_cast<const wchar_t*>(e.Class),
                               entry);
    for (const auto& k : kGeometryKeys) writeInt(L"Window", NumberedKey(k.name, i), e.*k.field, entry);
    for (const auto& k : kFrameKeys) writeInt(L"Window", NumberedKey(k.name, i), e.*k.field, entry);
  }
  writeInt(L"Menu", L"Item", menus.Count, entry);
  for (int i = 1; i <= menus.Count; ++i) {
    for (const auto& k : kGeometryKeys) writeInt(L"Menu", NumberedKey(k.name, i), menus.Entries[i - 1].*k.field, entry);
  }
  // Flush the profile cache so the files are complete on disk.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, entry);
}

}  // namespace qm::test
