// Helpers for the tests of the settings and entry files: a scratch
// directory that is the current directory while a test runs, and whole-file
// reading and writing.
#pragma once

#include <windows.h>

#include <string>

namespace qm::test {

// Paths beyond MAX_PATH need the "\\?\" form for the file functions.
inline std::wstring LongForm(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0) return path;
  return L"\\\\?\\" + path;
}

inline std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read != 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

inline bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

inline bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(LongForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Deletes a directory tree; the test's own files only.
inline void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(LongForm(path + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = path + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesW(LongForm(child).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(LongForm(child).c_str());
      }
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(LongForm(path).c_str());
}

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

}  // namespace qm::test
