// qm_showdialog.exe: opens one of a running Quillmere's dialogs in the state
// a picture needs and prints its rectangle ("x y width height") for cropping.
//
//   qm_showdialog.exe [--desktop NAME] window    the window entry dialog, adding: the
//                                                Notepad row (or the first) taken with "取得"
//   qm_showdialog.exe [--desktop NAME] menu      the menu entry dialog, changing the first preset
//   qm_showdialog.exe [--desktop NAME] settings  the settings dialog
//   qm_showdialog.exe [--desktop NAME] close     cancels the open dialog (nothing is stored)
//
// --desktop looks for Quillmere on that desktop (a Wine virtual desktop
// started with "explorer /desktop=NAME"). It does what a user does: the
// toolbar's switch, a row selected, the menu command, a button pressed.
// Ends when the dialog is painted; exit code 1 if that does not happen.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>

#include "tools/ToolSupport.h"

namespace {

using tools::FindRunningQuillmere;
using tools::UseDesktopArgument;
using tools::kDeadlineMs;
using tools::WaitUntil;

constexpr WPARAM kSwitchList = 40000;  // the toolbar's list switch
constexpr WPARAM kAdd = 10024;
constexpr WPARAM kChange = 10025;
constexpr WPARAM kSettings = 10026;
constexpr int kMenuView = 101;
constexpr int kWindowView = 102;
constexpr int kGet = 10001;            // "取得"
constexpr int kRunningWindows = 10018;

int Fail(const char* what) { return tools::Fail("qm_showdialog", what); }

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kDeadlineMs, &result);
  return static_cast<LRESULT>(result);
}

bool ListShown(HWND main, int view) {
  return (GetWindowLongW(GetDlgItem(main, view), GWL_STYLE) & WS_VISIBLE) != 0;
}

// A dialog of Quillmere's: a visible "#32770" window owned by its main window.
HWND OpenDialog(HWND main) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr) {
    if (GetWindow(window, GW_OWNER) == main && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// List-view messages with pointers need memory in the list's own process.
class Remote {
 public:
  explicit Remote(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    address_ = VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~Remote() {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }
  Remote(const Remote&) = delete;
  Remote& operator=(const Remote&) = delete;
  void Write(const void* data, size_t size) { WriteProcessMemory(process_, address_, data, size, nullptr); }
  void Read(void* data, size_t size, size_t offset) {
    ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
  LPARAM param() const { return reinterpret_cast<LPARAM>(address_); }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

void SelectRow(HWND view, int row) {
  Remote remote(view);
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  remote.Write(&item, sizeof(item));
  Send(view, LVM_SETITEMSTATE, static_cast<WPARAM>(row), remote.param());
}

// The row of the running-window list whose class is Notepad, else 0.
int NotepadRow(HWND list) {
  Remote remote(list);
  const int rows = static_cast<int>(Send(list, LVM_GETITEMCOUNT));
  for (int row = 0; row < rows; ++row) {
    LVITEMW item = {};
    item.cchTextMax = 64;
    item.pszText = reinterpret_cast<wchar_t*>(remote.at(sizeof(LVITEMW)));
    remote.Write(&item, sizeof(item));
    wchar_t text[64] = {};
    const LRESULT length = Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), remote.param());
    if (length > 0) remote.Read(text, sizeof(text) - sizeof(wchar_t), sizeof(LVITEMW));
    if (wcscmp(text, L"Notepad") == 0) return row;
  }
  return 0;
}

bool ShowList(HWND main, int view) {
  if (!tools::ShowMainWindow(main)) return false;
  if (ListShown(main, view)) return true;
  PostMessageW(main, WM_COMMAND, kSwitchList, 0);
  return WaitUntil([&] { return ListShown(main, view); });
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int arg = 1;
  if (!UseDesktopArgument(argc, argv, arg)) return Fail("cannot use the desktop");
  const wchar_t* mode = argc > arg ? argv[arg] : L"window";
  HWND main = FindRunningQuillmere();
  if (main == nullptr) return Fail("Quillmere is not running");

  if (wcscmp(mode, L"close") == 0) {
    HWND dialog = OpenDialog(main);
    if (dialog == nullptr) return 0;
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return WaitUntil([&] { return !IsWindow(dialog); }) ? 0 : Fail("dialog still open");
  }

  if (OpenDialog(main) != nullptr) return Fail("a dialog is open already");
  if (wcscmp(mode, L"window") == 0) {
    if (!ShowList(main, kWindowView)) return Fail("list not switched");
    // The dialog lists the windows running when it opens; give a Notepad
    // started just before it the time to appear (any window will do).
    WaitUntil([] { return FindWindowW(L"Notepad", nullptr) != nullptr; });
    PostMessageW(main, WM_COMMAND, kAdd, 0);
  } else if (wcscmp(mode, L"menu") == 0) {
    if (!ShowList(main, kMenuView)) return Fail("list not switched");
    HWND view = GetDlgItem(main, kMenuView);
    if (Send(view, LVM_GETITEMCOUNT) > 0) {
      SelectRow(view, 0);
      PostMessageW(main, WM_COMMAND, kChange, 0);
    } else {
      PostMessageW(main, WM_COMMAND, kAdd, 0);
    }
  } else if (wcscmp(mode, L"settings") == 0) {
    PostMessageW(main, WM_COMMAND, kSettings, 0);
  } else {
    return Fail("unknown mode");
  }
  HWND dialog = nullptr;
  if (!WaitUntil([&] { return (dialog = OpenDialog(main)) != nullptr; })) return Fail("no dialog");

  if (wcscmp(mode, L"window") == 0) {
    HWND list = GetDlgItem(dialog, kRunningWindows);
    if (Send(list, LVM_GETITEMCOUNT) > 0) {
      SelectRow(list, NotepadRow(list));
      Send(GetDlgItem(dialog, kGet), BM_CLICK);
    }
  }

  // Paint everything now, then make sure the program is idle again.
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kDeadlineMs, &result)) return Fail("no answer");
  RECT rect;
  GetWindowRect(dialog, &rect);
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  return 0;
}
