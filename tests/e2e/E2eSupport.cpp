#include "tests/e2e/E2eSupport.h"

#include <commctrl.h>

#include <cstring>

#include "hook/HookContract.h"
#include "tests/e2e/target/TargetProtocol.h"

namespace e2e {

std::wstring ExeDir() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L"\\/"));
}

TempDir::TempDir() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::wstring(base) + L"qm-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TempDir::~TempDir() { qm::test::RemoveTree(path_); }

HANDLE HoldFileOpen(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void WriteUtf16File(const std::wstring& path, const std::wstring& text) {
  std::string bytes("\xFF\xFE", 2);
  bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  WriteBytes(path, bytes);
}

std::wstring ReadUtf16File(const std::wstring& path) {
  std::string bytes = ReadBytes(path);
  size_t start = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE' ? 2 : 0;
  std::wstring text((bytes.size() - start) / 2, L'\0');
  if (!text.empty()) std::memcpy(&text[0], bytes.data() + start, text.size() * 2);
  return text;
}

std::wstring IniString(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                       const wchar_t* fallback) {
  wchar_t buffer[1024];
  GetPrivateProfileStringW(section, key, fallback, buffer, 1024, path.c_str());
  return buffer;
}

int IniInt(const std::wstring& path, const wchar_t* section, const wchar_t* key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntW(section, key, fallback, path.c_str()));
}

namespace {

struct FindContext {
  DWORD processId;
  const wchar_t* className;
  const wchar_t* title;
  std::vector<HWND>* found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
  auto* context = reinterpret_cast<FindContext*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != context->processId) return TRUE;
  if (context->className != nullptr && ClassName(window) != context->className) return TRUE;
  if (context->title != nullptr && WindowText(window) != context->title) return TRUE;
  context->found->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> FindProcessWindows(DWORD processId, const wchar_t* className, const wchar_t* title) {
  std::vector<HWND> found;
  FindContext context{processId, className, title, &found};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&context));
  return found;
}

HWND FindOwnedDialog(HWND owner) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr) {
    if (GetWindow(window, GW_OWNER) == owner && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs) {
  HWND dialog = nullptr;
  WaitUntil([&] { return (dialog = FindOwnedDialog(owner)) != nullptr; }, timeoutMs);
  return dialog;
}

std::wstring WindowText(HWND window) {
  // WM_GETTEXT reaches another process's window; GetWindowText would only
  // read the caption Windows caches.
  wchar_t buffer[1024] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
  return buffer;
}

std::wstring ClassName(HWND window) {
  wchar_t buffer[256] = {};
  GetClassNameW(window, buffer, 256);
  return buffer;
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

std::wstring DlgItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

Process::~Process() {
  if (info_.hProcess != nullptr) {
    if (Running()) Terminate();
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
}

bool Process::Start(const std::wstring& exe, const std::wstring& args, const std::wstring& workDir) {
  std::wstring commandLine = L"\"" + exe + L"\" " + args;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  return CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &startup, &info_) != FALSE;
}

bool Process::Running() const {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

int Process::WaitExit(DWORD timeoutMs) {
  if (info_.hProcess == nullptr) return -1;
  bool ended = WaitUntil([&] { return !Running(); }, timeoutMs);
  if (!ended) return -1;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return static_cast<int>(code);
}

void Process::Terminate() {
  TerminateProcess(info_.hProcess, 99);
  WaitForSingleObject(info_.hProcess, kWaitMs);
}

bool App::Start() {
  if (!process_.Start(exe_.empty() ? ExeDir() + L"\\Quillmere.exe" : exe_, L"", dir_)) return false;
  bool up = WaitUntil([&] {
    auto mains = FindProcessWindows(process_.id(), L"Quillmere", L"Quillmere");
    auto dummies = FindProcessWindows(process_.id(), L"Static", L"Dummy");
    auto readouts = FindProcessWindows(process_.id(), L"Quillmere_Tooltip");
    if (mains.empty() || dummies.empty() || readouts.empty()) return false;
    main_ = mains[0];
    dummy_ = dummies[0];
    readout_ = readouts[0];
    return true;
  });
  if (!up) return false;
  // The window exists before start-up has finished (the hook is set last);
  // a round trip through the message loop proves it is idle and listening.
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &result) == 0) return false;
  return true;
}

int App::Close() {
  PostMessageW(main_, WM_CLOSE, 0, 0);
  return process_.WaitExit();
}

void App::PostCommand(int id) { PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(id), 0); }

LRESULT App::Send(UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(main_, message, wParam, lParam, SMTO_ABORTIFHUNG, kWaitMs, &result);
  return static_cast<LRESULT>(result);
}

void App::Post(UINT message, WPARAM wParam, LPARAM lParam) { PostMessageW(main_, message, wParam, lParam); }

HWND App::Child(int id) {
  HWND child = GetDlgItem(main_, id);
  if (child == nullptr && IsWindow(main_) && !IsWindowVisible(main_)) {
    Send(MSG_TRAY, 0, WM_LBUTTONUP);
    Send(MSG_TRAY, 0, WM_LBUTTONUP);
    child = GetDlgItem(main_, id);
  }
  return child;
}

bool Target::Start(const std::wstring& args, int windows, const std::wstring& exe) {
  if (!process_.Start(exe.empty() ? ExeDir() + L"\\qm_target.exe" : exe, args, L"")) return false;
  return WaitUntil([&] {
    windows_.clear();
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
          auto* self = reinterpret_cast<Target*>(lParam);
          DWORD pid = 0;
          GetWindowThreadProcessId(window, &pid);
          if (pid == self->process_.id() && ClassName(window) != L"IME") self->windows_.push_back(window);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
    if (static_cast<int>(windows_.size()) < windows) return false;
    // Idle: the target answers, so its windows are fully set up.
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(windows_[0], WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
  });
}

void Target::Notify(DWORD event, size_t i) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(windows_.at(i), TARGET_NOTIFY_EVENT, event, 0, SMTO_ABORTIFHUNG, kWaitMs, &result);
}

LRESULT Target::Ask(UINT message, size_t i, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(windows_.at(i), message, wParam, lParam, SMTO_ABORTIFHUNG, kWaitMs, &result);
  return static_cast<LRESULT>(result);
}

void Target::Appear(size_t i, DWORD moveAfterMs, int x, int y) {
  Ask(TARGET_SHOW_THEN_MOVE, i, moveAfterMs, MAKELPARAM(x, y));
}

void Target::Insist(size_t i) { Ask(TARGET_FIGHT, i, 1); }
LRESULT Target::MovedByOthers(size_t i) { return Ask(TARGET_MOVES, i, 0); }
LRESULT Target::MovedItself(size_t i) { return Ask(TARGET_MOVES, i, 1); }
LRESULT Target::MsSinceShown(size_t i) { return Ask(TARGET_MOVES, i, 2); }

void Target::SetTitle(const std::wstring& title, size_t i) {
  COPYDATASTRUCT data = {};
  data.dwData = TARGET_SET_TITLE;
  data.cbData = static_cast<DWORD>(title.size() * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(title.data());
  DWORD_PTR result = 0;
  SendMessageTimeoutW(windows_.at(i), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                      kWaitMs, &result);
}

namespace {

// Memory in the process that owns a window, for messages whose parameters
// are pointers (list views answer through them).
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void Write(const void* data, size_t size, size_t offset = 0) {
    WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }
  void Read(void* data, size_t size, size_t offset = 0) const {
    ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
  LPARAM param() const { return reinterpret_cast<LPARAM>(address_); }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

LRESULT SendWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kWaitMs, &result);
  return static_cast<LRESULT>(result);
}

}  // namespace

int ListViewRowCount(HWND view) { return static_cast<int>(SendWait(view, LVM_GETITEMCOUNT, 0, 0)); }

int ListViewColumnCount(HWND view) {
  HWND header = reinterpret_cast<HWND>(SendWait(view, LVM_GETHEADER, 0, 0));
  return header == nullptr ? 0 : static_cast<int>(SendWait(header, HDM_GETITEMCOUNT, 0, 0));
}

std::wstring ListViewText(HWND view, int row, int column) {
  constexpr int kChars = 1024;
  RemoteBuffer remote(view, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  LVITEMW item = {};
  item.iSubItem = column;
  item.cchTextMax = kChars;
  item.pszText = reinterpret_cast<wchar_t*>(remote.at(sizeof(LVITEMW)));
  remote.Write(&item, sizeof(item));
  LRESULT length = SendWait(view, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), remote.param());
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (!text.empty()) remote.Read(&text[0], text.size() * sizeof(wchar_t), sizeof(LVITEMW));
  return text;
}

std::vector<std::vector<std::wstring>> ListViewRows(HWND view, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  int count = ListViewRowCount(view);
  for (int row = 0; row < count; ++row) {
    std::vector<std::wstring> cells;
    for (int column = 0; column < columns; ++column) cells.push_back(ListViewText(view, row, column));
    rows.push_back(cells);
  }
  return rows;
}

std::vector<int> ListViewSelectedRows(HWND view) {
  std::vector<int> rows;
  int row = -1;
  while ((row = static_cast<int>(SendWait(view, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) != -1) {
    rows.push_back(row);
  }
  return rows;
}

void ListViewSelectRows(HWND view, const std::vector<int>& rows) {
  RemoteBuffer remote(view, sizeof(LVITEMW));
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = 0;
  remote.Write(&item, sizeof(item));
  SendWait(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), remote.param());
  for (int row : rows) {
    item.state = LVIS_SELECTED;
    remote.Write(&item, sizeof(item));
    SendWait(view, LVM_SETITEMSTATE, static_cast<WPARAM>(row), remote.param());
  }
}

namespace {

template <typename Fn>
Fn User32Function(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));

}  // namespace

void MakeDriverDpiAware() {
  auto setContext = User32Function<BOOL(WINAPI*)(HANDLE)>("SetProcessDpiAwarenessContext");
  if (setContext != nullptr && (setContext(kPerMonitorAwareV2) || setContext(kPerMonitorAware))) return;
  SetProcessDPIAware();
}

int WindowDpi(HWND window) {
  auto forWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  UINT dpi = forWindow != nullptr ? forWindow(window) : 0;
  return dpi != 0 ? static_cast<int>(dpi) : 96;
}

void SendKey(WORD virtualKey) { SendKeys({virtualKey}); }

void SendKeys(std::initializer_list<WORD> virtualKeys) {
  std::vector<INPUT> inputs;
  for (WORD key : virtualKeys) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (size_t i = virtualKeys.size(); i > 0; --i) {
    INPUT input = inputs[i - 1];
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {

void MouseButton(int x, int y, DWORD down, DWORD up) {
  SetCursorPos(x, y);
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = down;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = up;
  SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace

void ClickAt(int x, int y, bool right) {
  if (right) {
    MouseButton(x, y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  } else {
    MouseButton(x, y, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  }
}

void MiddleClickAt(int x, int y) { MouseButton(x, y, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP); }

LPARAM ListViewItemData(HWND view, int row) {
  RemoteBuffer remote(view, sizeof(LVITEMW));
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  remote.Write(&item, sizeof(item));
  SendWait(view, LVM_GETITEMW, 0, remote.param());
  remote.Read(&item, sizeof(item));
  return item.lParam;
}

void ClickListViewHeader(HWND view, int column) {
  HWND header = reinterpret_cast<HWND>(SendWait(view, LVM_GETHEADER, 0, 0));
  RemoteBuffer remote(header, sizeof(RECT));
  RECT rect = {};
  remote.Write(&rect, sizeof(rect));
  SendWait(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), remote.param());
  remote.Read(&rect, sizeof(rect));
  const LPARAM middle = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  PostMessageW(header, WM_LBUTTONUP, 0, middle);
}

std::vector<HWND> FindOwnedDialogs(HWND owner) {
  std::vector<HWND> found;
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr) {
    if (GetWindow(window, GW_OWNER) == owner && IsWindowVisible(window)) found.push_back(window);
  }
  return found;
}

}  // namespace e2e
