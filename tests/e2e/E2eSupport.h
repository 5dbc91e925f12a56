// Support for the end-to-end tests: start the real Quillmere.exe in a working
// directory of its own, find its windows, drive it from outside as a user or
// the hook library would, and read what it wrote. Every wait is on a
// condition with a deadline; nothing sleeps blindly.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tests/support/UiTexts.h"

namespace e2e {

// The program's texts in this run's user interface language.
inline const qm::test::UiTexts& Texts() { return qm::test::ExpectedTexts(); }
// The six position combo items, in Pos order.
inline std::vector<std::wstring> AnchorTexts() {
  return std::vector<std::wstring>(Texts().anchors.begin(), Texts().anchors.end());
}

// Default deadline of a wait. Generous: a first Wine start is slow.
constexpr DWORD kWaitMs = 15000;

// Polls condition until it holds or timeoutMs passes; pumps this thread's
// messages meanwhile. Returns whether it held.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitMs) {
  return qm::test::WaitUntil(condition, timeoutMs);
}

// Folder of the running test executable (Quillmere.exe and qm_target.exe
// are built beside it).
std::wstring ExeDir();

// A fresh empty folder under %TEMP%, removed with its contents at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// The driver is per-monitor DPI aware, as the program is (made so once at
// start): every coordinate it reads or gives is then a real pixel.
void MakeDriverDpiAware();
// A window's DPI (another process's too); 96 where the system cannot say.
int WindowDpi(HWND window);

// Files. Text is written as UTF-16LE with a byte-order mark unless bytes are
// given as they are.
using qm::test::FileExists;
using qm::test::ReadBytes;   // empty if missing
using qm::test::WriteBytes;
void WriteUtf16File(const std::wstring& path, const std::wstring& text);
// Opens path without sharing, as another program holding the file would:
// every write, delete and replace of it fails until the handle is closed.
HANDLE HoldFileOpen(const std::wstring& path);
std::wstring ReadUtf16File(const std::wstring& path);      // BOM dropped
// The platform's own profile reading, for checking what the program wrote.
std::wstring IniString(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                       const wchar_t* fallback = L"<missing>");
int IniInt(const std::wstring& path, const wchar_t* section, const wchar_t* key, int fallback = -999999);

// Windows of a process, by class (and title when given).
std::vector<HWND> FindProcessWindows(DWORD processId, const wchar_t* className, const wchar_t* title = nullptr);
// A top-level window of class "#32770" (dialog or message box) owned by owner.
HWND FindOwnedDialog(HWND owner);
HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs = kWaitMs);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
RECT WindowRect(HWND window);
// Text of a dialog's child control by id.
std::wstring DlgItemText(HWND dialog, int id);

// A running process started by the tests; ended (terminated if it has to
// be) when the object goes.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool Start(const std::wstring& exe, const std::wstring& args, const std::wstring& workDir);
  bool Running() const;
  // Waits for the process to end; returns its exit code, or -1 on timeout.
  int WaitExit(DWORD timeoutMs = kWaitMs);
  void Terminate();
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }

 private:
  PROCESS_INFORMATION info_ = {};
};

// Quillmere.exe running in its own working directory.
class App {
 public:
  // dir: the working directory; Config.ini/Entry.ini there are what it loads.
  // exe: the program to start; empty for the one built beside the tests.
  explicit App(const std::wstring& dir, const std::wstring& exe = L"") : dir_(dir), exe_(exe) {}
  // Starts it and waits until its hidden main window, Dummy window and
  // readout window exist and its message loop answers. False on timeout.
  bool Start();
  // Posts WM_CLOSE (the close box) and waits for the process to end.
  int Close();
  // Posts a WM_COMMAND with this id to the main window.
  void PostCommand(int id);
  // Sends a message to the main window and waits for the answer.
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  HWND main() const { return main_; }
  HWND dummy() const { return dummy_; }
  HWND readout() const { return readout_; }
  // A child of the main window. The program makes its toolbar and views at
  // the window's first show; asked for one before that, this shows and
  // hides the window as two clicks on the tray icon do.
  HWND Child(int id);
  Process& process() { return process_; }
  std::wstring ConfigPath() const { return dir_ + L"\\Config.ini"; }
  std::wstring EntryPath() const { return dir_ + L"\\Entry.ini"; }

 private:
  std::wstring dir_;
  std::wstring exe_;
  Process process_;
  HWND main_ = nullptr;
  HWND dummy_ = nullptr;
  HWND readout_ = nullptr;
};

// A qm_target.exe process with its windows (see target/Target_win.cpp for
// the arguments).
class Target {
 public:
  Target() = default;
  // exe: another copy of qm_target.exe to run instead (a program of another
  // name); empty for qm_target.exe itself.
  bool Start(const std::wstring& args, int windows = 1, const std::wstring& exe = L"");
  HWND window(size_t i = 0) const { return windows_.at(i); }
  const std::vector<HWND>& windows() const { return windows_; }
  // Raises a window event from the target process, as Windows would.
  void Notify(DWORD event, size_t i = 0);
  void SetTitle(const std::wstring& title, size_t i = 0);
  // A window started with --hidden appears: its program shows it and,
  // moveAfterMs later (never for kNever), moves it to (x, y) itself.
  static constexpr DWORD kNever = 0xFFFFFFFF;
  void Appear(size_t i = 0, DWORD moveAfterMs = kNever, int x = 0, int y = 0);
  // From now on the window's program puts it back each time another
  // process moves it.
  void Insist(size_t i = 0);
  // Since it appeared: the times another process moved or sized the window,
  // the times it moved itself, the milliseconds passed.
  LRESULT MovedByOthers(size_t i = 0);
  LRESULT MovedItself(size_t i = 0);
  LRESULT MsSinceShown(size_t i = 0);
  Process& process() { return process_; }

 private:
  LRESULT Ask(UINT message, size_t i, WPARAM wParam, LPARAM lParam = 0);
  Process process_;
  std::vector<HWND> windows_;
};

// Reading another process's report list view, row by row, column by column.
int ListViewRowCount(HWND view);
std::wstring ListViewText(HWND view, int row, int column);
std::vector<std::vector<std::wstring>> ListViewRows(HWND view, int columns);
int ListViewColumnCount(HWND view);
// Rows with LVIS_SELECTED, ascending.
std::vector<int> ListViewSelectedRows(HWND view);
// Selects exactly the given rows (LVM_SETITEMSTATE through the target's memory).
void ListViewSelectRows(HWND view, const std::vector<int>& rows);

// Input: keys and mouse through SendInput (seen by low-level hooks and by
// the foreground window).
void SendKey(WORD virtualKey);
// A combination: every key pressed in order, then released in reverse.
void SendKeys(std::initializer_list<WORD> virtualKeys);
void ClickAt(int x, int y, bool right = false);
void MiddleClickAt(int x, int y);

// The item data (lParam) of a row of another process's list view.
LPARAM ListViewItemData(HWND view, int row);
// A user's click on the header of a list-view column: button down and up
// posted to the header control at the middle of the item (a point near a
// divider would be taken for a resize). The sort it causes happens later;
// wait for its effect.
void ClickListViewHeader(HWND view, int column);
// Every visible "#32770" window owned by owner: a dialog and a message box
// opened over it are both owned by the main window.
std::vector<HWND> FindOwnedDialogs(HWND owner);

}  // namespace e2e
