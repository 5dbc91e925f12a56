#include "app/Commands_win.h"

#include <shellapi.h>

#include "base/Win32Glue.h"
#include "hook/HookContract.h"
#include "placement/MonitorNames_win.h"
#include "placement/Placement_win.h"
#include "placement/PresetPopup_win.h"
#include "placement/RuleFacts_win.h"
#include "placement/RuleStanding_win.h"
#include "res/resource.h"

namespace qm {

namespace {

constexpr wchar_t kReplyClass[] = L"Quillmere_Reply";
// How long a caller waits for the running copy: /apply waits on each
// window at most the placement bound, so a desktop of hung windows takes a
// while.
constexpr UINT kRequestBoundMs = 120000;
// How long the running copy waits for a caller to take a piece of output.
constexpr UINT kReplyBoundMs = 5000;
// How long /exit waits for the running copy to end after saving.
constexpr DWORD kExitBoundMs = 15000;


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
  // In pieces through a buffer of its own: a growing container would link
  // the library's exception support, a third of the program's size. A piece
  // never ends inside a surrogate pair.
  constexpr size_t kPieceUnits = 1024;
  char utf8[kPieceUnits * 3];
  while (!text.empty()) {
    size_t units = text.size() < kPieceUnits ? text.size() : kPieceUnits;
    if (units < text.size() && text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF) --units;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, AsWide(text.data()), static_cast<int>(units), utf8,
                                          static_cast<int>(sizeof(utf8)), nullptr, nullptr);
    if (bytes > 0) WriteFile(handle, utf8, static_cast<DWORD>(bytes), &done, nullptr);
    text.remove_prefix(units);
  }
}

// Where a command's output goes, whole lines at a time: this process's
// standard output, or a caller's reply window. A fixed buffer rather than a
// growing string: a growing container would link the library's exception
// support, a third of the program's size.
struct Output {
  HWND replyWindow;  // null: this process prints
  HWND from;
  size_t length;
  char16_t text[16384];
};
static_assert(sizeof(Output::text) / sizeof(char16_t) >= kListLineCapacity, "a line fits the output buffer");

// A caller that has gone or hangs takes no more: the rest is dropped.
void Flush(Output& out) {
  if (out.length == 0) return;
  if (out.replyWindow == nullptr) {
    WriteStandard(STD_OUTPUT_HANDLE, U16View(out.text, out.length));
  } else {
    COPYDATASTRUCT data = {MSG_COMMAND_OUTPUT, static_cast<DWORD>(out.length * sizeof(char16_t)), out.text};
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(out.replyWindow, WM_COPYDATA, reinterpret_cast<WPARAM>(out.from),
                            reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kReplyBoundMs, &result) == 0) {
      out.replyWindow = nullptr;
      out.from = reinterpret_cast<HWND>(-1);
    }
  }
  out.length = 0;
}

void Put(Output& out, U16View line) {
  constexpr size_t kCapacity = sizeof(Output::text) / sizeof(char16_t);
  if (out.from == reinterpret_cast<HWND>(-1)) return;
  if (out.length + line.size() > kCapacity) Flush(out);
  line.copy(out.text + out.length, line.size());
  out.length += line.size();
}

struct ListRun {
  const WindowTable* rules;
  const ReasonTexts* reasons;
  const NamedMonitors* monitors;  // read once for the whole list
  Output* out;
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
  // The name Display settings shows, as a rule names its monitor by.
  MonitorNameOfWindow(window, *run.monitors, monitor);
  StandingText(ReadRuleStanding(*run.rules, window, run.monitors), *run.rules, run.reasons->views, standing);
  char16_t handle[kHandleTextCapacity];
  HandleText(reinterpret_cast<uintptr_t>(window), handle);
  const U16View fields[kListFields] = {U16ViewOf(handle),  U16ViewOf(AsU16(windowClass)), U16ViewOf(AsU16(title)),
                                       U16ViewOf(program), U16ViewOf(monitor),            U16ViewOf(standing)};
  char16_t line[kListLineCapacity];
  Put(*run.out, U16View(line, ListLine(fields, line)));
  ++run.listed;
  return TRUE;
}

int ListWindows(const WindowTable& rules, Output& out) {
  const ReasonTexts reasons;
  NamedMonitors monitors;
  ReadNamedMonitors(&monitors);
  ListRun run{&rules, &reasons, &monitors, &out, 0};
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

// The commands as a running copy or a copy alone carries them out.
int CarryOut(const Command& command, EntryStore& store, Output& output, void (*onElevated)()) {
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

// The caller's side of the pieces: each printed as it comes. A piece of an
// odd number of bytes or of another kind is ignored.
void OnReplyPiece(const COPYDATASTRUCT* data) {
  if (data->dwData != MSG_COMMAND_OUTPUT || data->lpData == nullptr || data->cbData % sizeof(char16_t) != 0) return;
  const U16View piece(static_cast<const char16_t*>(data->lpData), data->cbData / sizeof(char16_t));
  WriteStandard(STD_OUTPUT_HANDLE, piece);
}

LRESULT CALLBACK ReplyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA:
      OnReplyPiece(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return 1;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// A message-only window that prints the running copy's output; it exists
// only while this copy waits for its answer.
HWND CreateReplyWindow() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ReplyWindowProc;
  wc.hInstance = g_instance;
  wc.lpszClassName = kReplyClass;
  RegisterClassExW(&wc);
  return CreateWindowExW(0, kReplyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_instance, nullptr);
}

// Hands command to the copy whose main window is running; returns the exit
// code, printing what it sent back.
int AskRunningCopy(HWND running, const Command& command) {
  HWND reply = CreateReplyWindow();
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
  if (!answered || answer < static_cast<DWORD_PTR>(kCommandAnswered)) return kExitNothing;
  return static_cast<int>(answer - kCommandAnswered);
}

}  // namespace

Command CommandOfProcess() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return {CommandKind::None, 0, 0};
  // No command takes more than four arguments: more is a usage error anyway,
  // which the first five show.
  U16View args[5];
  const int given = count - 1 < 5 ? count - 1 : 5;
  for (int i = 0; i < given; ++i) args[i] = U16ViewOf(AsU16(argv[i + 1]));
  const Command command = ParseCommand(args, given);
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
  Output output{nullptr, nullptr, 0, {}};
  const int code = CarryOut(command, store, output, nullptr);
  Flush(output);
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
  // On the stack: another request can arrive while this one waits on its
  // caller.
  Output output{reply, mainWindow, 0, {}};
  const int code = CarryOut(command, store, output, onElevated);
  Flush(output);
  return kCommandAnswered + static_cast<LRESULT>(code);
}

}  // namespace qm
