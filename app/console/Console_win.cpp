// Quillmere.com: the console companion of Quillmere.exe. A prompt waits for a
// console program and lets it print, but not for a windows-subsystem one, so
// "Quillmere /list" typed at cmd.exe or PowerShell finds this file first
// (.com comes before .exe in PATHEXT), runs Quillmere.exe beside it with the
// same arguments, prints what it writes and ends with its exit code.
#include <windows.h>

#include <vector>

namespace {

constexpr int kExitNothing = 1;

// The command line after the program's own name, as it was given.
const wchar_t* ArgumentsOf(const wchar_t* line) {
  bool quoted = false;
  for (; *line != L'\0'; ++line) {
    if (*line == L'"') quoted = !quoted;
    if (!quoted && (*line == L' ' || *line == L'\t')) break;
  }
  return line;
}

// Quillmere.exe beside this file: this file's path with the extension
// replaced, into path[capacity]. False when it does not fit.
bool ProgramBeside(wchar_t* path, DWORD capacity) {
  const DWORD length = GetModuleFileNameW(nullptr, path, capacity);
  if (length < 4 || length + 1 >= capacity || path[length - 4] != L'.') return false;
  lstrcpyW(path + length - 4, L".exe");
  return true;
}

// The program writes UTF-8. A console shows it as UTF-16; a file or a pipe
// takes the bytes as they are.
// Vectors, not strings, keep the library's compiled strings out of the file.
void Relay(HANDLE from, DWORD which) {
  std::vector<char> bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(from, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  HANDLE to = GetStdHandle(which);
  if (bytes.empty() || to == nullptr || to == INVALID_HANDLE_VALUE) return;
  DWORD done = 0;
  DWORD mode = 0;
  if (!GetConsoleMode(to, &mode)) {
    WriteFile(to, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    return;
  }
  const int size = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, nullptr, 0);
  if (units <= 0) return;
  std::vector<wchar_t> text(static_cast<size_t>(units));
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, text.data(), units);
  WriteConsoleW(to, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
}

}  // namespace

int wmain() {
  static wchar_t program[32768];
  if (!ProgramBeside(program, ARRAYSIZE(program))) return kExitNothing;
  const wchar_t* arguments = ArgumentsOf(GetCommandLineW());
  std::vector<wchar_t> line;
  line.push_back(L'"');
  line.insert(line.end(), program, program + lstrlenW(program));
  line.push_back(L'"');
  line.insert(line.end(), arguments, arguments + lstrlenW(arguments));
  line.push_back(L'\0');

  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  if (!CreatePipe(&outRead, &outWrite, &inherit, 0) || !CreatePipe(&errRead, &errWrite, &inherit, 0)) {
    return kExitNothing;
  }
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION info = {};
  const BOOL started =
      CreateProcessW(program, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
  // Only the child holds the write ends now, so the reads end when it does.
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  if (!started) return kExitNothing;
  // Standard error carries at most the one usage line, far less than a
  // pipe holds, so reading it after standard output cannot block the child.
  Relay(outRead, STD_OUTPUT_HANDLE);
  Relay(errRead, STD_ERROR_HANDLE);
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = kExitNothing;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  return static_cast<int>(code);
}
