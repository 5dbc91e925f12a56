#include "app/Commands_win.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "base/Win32Glue.h"
#include "hook/HookContract.h"
#include "placement/Placement_win.h"
#include "placement/PresetPopup_win.h"
#include "placement/RuleFacts_win.h"
#include "placement/RuleStanding_win.h"
#include "res/resource.h"

namespace qm {

namespace {

constexpr wchar_t kReplyClass[] = L"Quillmere_Reply";
// The reply window takes this much text at most: far more than /list of a
// crowded desktop, and a bound on what another process can make it hold.
constexpr size_t kMaxReplyUnits = 8u << 20;
// How long a caller waits for the running copy: /apply waits on each
// window at most the placement bound, so a desktop of hung windows takes a
// while.
constexpr UINT kRequestBoundMs = 120000;
// How long the running copy waits for a caller to take a piece of output.
constexpr UINT kReplyBoundMs = 5000;
// How long /exit waits for the running copy to end after saving.
constexpr DWORD kExitBoundMs = 15000;

// Where a command's output goes: the caller's standard output, or pieces
// sent to a caller's reply window.
struct Output {
  std::u16string text;
  HWND replyWindow;  // null: the text is printed by this process
};

// A standard handle; a windows-subsystem program started from a console
// without redirection has none, and then borrows its parent's console.
HANDLE StandardHandle(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) return handle;
  if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) return nullptr;
  handle = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

// A console shows UTF-16 as it is; a file or pipe gets UTF-8.
void WriteStandard(DWORD which, U16View text) {
  HANDLE handle = StandardHandle(which);
  if (handle == nullptr || text.empty()) return;
  DWORD done = 0;
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    return;
  }
  const int units = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, AsWide(text.data()), units, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, AsWide(text.data()), units, utf8.data(), bytes, nullptr, nullptr);
  WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &done, nullptr);
}

// The name Windows gives the window's monitor ("\\.\DISPLAY1").
void MonitorName(HWND window, char16_t* out) {
  MONITORINFOEXW info = {};
  info.cbSize = sizeof(info);
  out[0] = u'\0';
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
    U16CopyTruncated(out, kTextCapacity, U16ViewOf(AsU16(info.szDevice)));
  }
}

struct ListRun {
  const WindowTable* rules;
  const ReasonTexts* reasons;
  std::u16string* out;
  int32_t listed;
};

// One line per window the window entry dialog would list.
BOOL CALLBACK ListOneWindow(HWND window, LPARAM runParam) {
  auto& run = *reinterpret_cast<ListRun*>(runParam);
  if (!IsListedWindow(window)) return TRUE;
  wchar_t windowClass[kTextCapacity] = {};
  wchar_t title[kTextCapacity] = {};
  char16_t program[kTextCapacity] = {};
  char16_t monitor[kTextCapacity];
  char16_t standing[kTextCapacity];
  GetClassNameW(window, windowClass, kTextCapacity);
  GetWindowTextW(window, title, kTextCapacity);
  ReadWindowProgram(window, program);
  MonitorName(window, monitor);
  StandingText(ReadRuleStanding(*run.rules, window), *run.rules, run.reasons->views, standing);
  const std::u16string handle = HandleText(reinterpret_cast<uintptr_t>(window));
  const U16View fields[kListFields] = {handle, U16ViewOf(AsU16(windowClass)), U16ViewOf(AsU16(title)),
                                       U16ViewOf(program), U16ViewOf(monitor), U16ViewOf(standing)};
  AppendListLine(*run.out, fields);
  ++run.listed;
  return TRUE;
}

int ListWindows(const WindowTable& rules, std::u16string& out) {
  const ReasonTexts reasons;
  ListRun run{&rules, &reasons, &out, 0};
  EnumWindows(ListOneWindow, reinterpret_cast<LPARAM>(&run));
  return run.listed > 0 ? kExitDone : kExitNothing;
}

// A window named on the command line must be a top-level window.
HWND CommandWindow(uint64_t handle) {
  HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
  return IsWindow(window) && GetAncestor(window, GA_ROOT) == window ? window : nullptr;
}

int ApplyPresetCommand(const MenuTable& presets, const Command& command) {
  HWND window = CommandWindow(command.window);
  if (command.preset < 1 || command.preset > presets.Count || window == nullptr) return kExitNothing;
  ApplyPreset(presets.Entries[command.preset - 1], window);
  return kExitDone;
}

// The commands as a running copy or a copy alone carries them out; output
// collects the text to print.
int CarryOut(const Command& command, EntryStore& store, std::u16string& output, void (*onElevated)()) {
  switch (command.kind) {
    case CommandKind::Apply:
      return ApplyToAllWindows(store.windows, onElevated) > 0 ? kExitDone : kExitNothing;
    case CommandKind::List:
      return ListWindows(store.windows, output);
    case CommandKind::Preset:
      return ApplyPresetCommand(store.menus, command);
    default:
      return kExitUsage;
  }
}

// A window of the class registered below, which is the only thing the
// running copy writes to.
bool IsReplyWindow(HWND window) {
  wchar_t name[32] = {};
  return IsWindow(window) && GetClassNameW(window, name, 32) > 0 && lstrcmpW(name, kReplyClass) == 0;
}

// Sends text to the caller's reply window in pieces of a size any copy
// takes. A caller that has gone or hangs ends the sending.
void SendOutput(HWND replyWindow, HWND from, const std::u16string& text) {
  constexpr size_t kPieceUnits = 16384;
  for (size_t at = 0; at < text.size(); at += kPieceUnits) {
    const size_t units = text.size() - at < kPieceUnits ? text.size() - at : kPieceUnits;
    COPYDATASTRUCT data = {MSG_COMMAND_OUTPUT, static_cast<DWORD>(units * sizeof(char16_t)),
                           const_cast<char16_t*>(text.data() + at)};
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(replyWindow, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                            reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kReplyBoundMs, &result) == 0) {
      return;
    }
  }
}

// The caller's side of the pieces: kept as they come, up to the bound; a
// piece of an odd number of bytes or of another kind is ignored.
LRESULT CALLBACK ReplyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      auto* text = reinterpret_cast<std::u16string*>(GetWindowLongPtrW(window, GWLP_USERDATA));
      if (text == nullptr || data->dwData != MSG_COMMAND_OUTPUT || data->cbData % sizeof(char16_t) != 0) return 0;
      const size_t units = data->cbData / sizeof(char16_t);
      if (data->lpData == nullptr || text->size() + units > kMaxReplyUnits) return 0;
      text->append(static_cast<const char16_t*>(data->lpData), units);
      return 1;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// A message-only window that collects the running copy's output into text.
HWND CreateReplyWindow(std::u16string* text) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ReplyWindowProc;
  wc.hInstance = g_instance;
  wc.lpszClassName = kReplyClass;
  RegisterClassExW(&wc);
  HWND window = CreateWindowExW(0, kReplyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_instance, nullptr);
  if (window != nullptr) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(text));
  return window;
}

// Hands command to the copy whose main window is running; returns the exit
// code, printing what it sent back.
int AskRunningCopy(HWND running, const Command& command) {
  std::u16string text;
  HWND reply = CreateReplyWindow(&text);
  if (reply == nullptr) return kExitNothing;
  CommandRequest request = {static_cast<uint32_t>(command.kind), command.preset, command.window,
                            reinterpret_cast<uintptr_t>(reply)};
  if (command.kind == CommandKind::Preset && request.window == 0) {
    request.window = reinterpret_cast<uintptr_t>(GetForegroundWindow());
  }
  COPYDATASTRUCT data = {MSG_COMMAND_REQUEST, sizeof(request), &request};
  DWORD processId = 0;
  GetWindowThreadProcessId(running, &processId);
  HANDLE process = command.kind == CommandKind::Exit ? OpenProcess(SYNCHRONIZE, FALSE, processId) : nullptr;
  DWORD_PTR answer = 0;
  const bool answered = SendMessageTimeoutW(running, WM_COPYDATA, reinterpret_cast<WPARAM>(reply),
                                            reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kRequestBoundMs,
                                            &answer) != 0;
  DestroyWindow(reply);
  if (process != nullptr) {
    if (answered && answer == kCommandAnswered + kExitDone) WaitForSingleObject(process, kExitBoundMs);
    CloseHandle(process);
  }
  WriteStandard(STD_OUTPUT_HANDLE, text);
  if (!answered || answer < static_cast<DWORD_PTR>(kCommandAnswered)) return kExitNothing;
  return static_cast<int>(answer - kCommandAnswered);
}

}  // namespace

Command CommandOfProcess() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return {CommandKind::None, 0, 0};
  std::vector<U16View> args;
  for (int i = 1; i < count; ++i) args.push_back(U16ViewOf(AsU16(argv[i])));
  const Command command = ParseCommand(args.data(), static_cast<int>(args.size()));
  LocalFree(argv);
  return command;
}

int RunCommandLine(const Command& command, EntryStore& store) {
  if (command.kind == CommandKind::Usage) {
    WriteStandard(STD_ERROR_HANDLE, kUsageLine);
    return kExitUsage;
  }
  HWND running = FindWindowW(kProgramName, kProgramName);
  if (running != nullptr) return AskRunningCopy(running, command);
  // Alone: /apply and /list go by the files start-up reads; the others
  // need a running copy.
  if (command.kind != CommandKind::Apply && command.kind != CommandKind::List) return kExitNothing;
  store.Load();
  std::u16string output;
  const int code = CarryOut(command, store, output, nullptr);
  WriteStandard(STD_OUTPUT_HANDLE, output);
  return code;
}

LRESULT AnswerCommandRequest(HWND mainWindow, const COPYDATASTRUCT* data, EntryStore& store,
                             void (*onElevated)()) {
  if (data->cbData != sizeof(CommandRequest) || data->lpData == nullptr) return kCommandAnswered + kExitUsage;
  CommandRequest request;
  memcpy(&request, data->lpData, sizeof(request));
  const Command command{static_cast<CommandKind>(request.kind), request.preset, request.window};
  HWND reply = reinterpret_cast<HWND>(static_cast<uintptr_t>(request.replyWindow));
  switch (command.kind) {
    case CommandKind::Exit:
      // After this answer: the caller waits for the end, which comes once
      // the files are saved.
      PostMessageW(mainWindow, WM_COMMAND, IDM_EXIT, 0);
      return kCommandAnswered + kExitDone;
    case CommandKind::Apply:
    case CommandKind::List:
    case CommandKind::Preset:
      break;
    default:
      return kCommandAnswered + kExitUsage;
  }
  if (!IsReplyWindow(reply)) return kCommandAnswered + kExitUsage;
  std::u16string output;
  const int code = CarryOut(command, store, output, onElevated);
  SendOutput(reply, mainWindow, output);
  return kCommandAnswered + static_cast<LRESULT>(code);
}

}  // namespace qm
