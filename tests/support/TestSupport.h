// What the Windows tests, the benchmarks and the tool programs share:
// whole-file reading and writing at any path length, removing a scratch
// tree, waiting on a condition with a deadline, and a tray icon that keeps
// Wine from stalling whenever a started program removes the last one.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

namespace qm::test {

// Paths beyond MAX_PATH need the "\\?\" form for the file functions.
std::wstring LongForm(const std::wstring& path);

// The bytes of a file; empty when it is missing or cannot be opened.
std::string ReadBytes(const std::wstring& path);
// Bytes the program composed, to compare with ReadBytes.
inline std::string AsString(const std::vector<char>& bytes) { return std::string(bytes.begin(), bytes.end()); }
// Creates or truncates the file and writes bytes; false on any failure.
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// Deletes a directory tree; the caller's own scratch files only.
void RemoveTree(const std::wstring& path);

// Polls condition until it holds or timeoutMs passes, dispatching this
// thread's messages meanwhile. Returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// A tray icon of this process for the object's lifetime. With no window
// manager, Wine stalls about two seconds whenever the last tray icon goes
// away, which would happen at every exit of a started Quillmere.
class TrayKeeper {
 public:
  explicit TrayKeeper(const wchar_t* tip);
  ~TrayKeeper();
  TrayKeeper(const TrayKeeper&) = delete;
  TrayKeeper& operator=(const TrayKeeper&) = delete;

 private:
  HWND window_;
  NOTIFYICONDATAW icon_;
};

}  // namespace qm::test
