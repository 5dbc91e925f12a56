// The command line, one road each: a second Quillmere.exe (or the console
// companion Quillmere.com) given a command, with and without a running copy.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/PlacementFixtures.h"

namespace e2e {
namespace {

struct Ran {
  int code;
  std::string out;  // UTF-8
  std::string err;
};

std::string ReadAll(HANDLE pipe) {
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

// Runs program (Quillmere.exe or .com beside the tests) in dir with args,
// its standard output and error redirected to pipes, as a script would.
Ran RunProgram(const wchar_t* program, const std::wstring& args, const TempDir& dir) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE outRead, outWrite, errRead, errWrite;
  CreatePipe(&outRead, &outWrite, &inherit, 0);
  CreatePipe(&errRead, &errWrite, &inherit, 0);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION info = {};
  std::wstring line = L"\"" + ExeDir() + L"\\" + program + L"\" " + args;
  const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      dir.path().c_str(), &startup, &info);
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  Ran ran{-1, "", ""};
  if (started) {
    ran.out = ReadAll(outRead);
    ran.err = ReadAll(errRead);
    WaitForSingleObject(info.hProcess, kWaitMs);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    ran.code = static_cast<int>(code);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  CloseHandle(outRead);
  CloseHandle(errRead);
  return ran;
}

std::string Handle(HWND window) {
  char text[32];
  snprintf(text, sizeof(text), "%08llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  return text;
}

class CommandLine : public testing::Test {
 protected:
  TempDir dir;
  App app{dir.path()};
  Target target;
  const Geometry free{0, 120, 130, 0, 0, 410, 320};
  void SetUp() override {
    WriteEntryIni(dir, {{L"Rule ä", L"QmCommand", free}}, {Geometry{0, 300, 310, 0, 0, 420, 330}});
    ASSERT_TRUE(target.Start(L"--class QmCommand --title \"T\xE4tig\" --rect 10,10,200,150"));
  }
};

TEST_F(CommandLine, UsageErrorsThroughTheCompanion) {
  for (const wchar_t* args : {L"/bogus", L"/preset", L"/preset 0", L"/list extra", L"/preset 1 /window zz"}) {
    const Ran ran = RunProgram(L"Quillmere.com", args, dir);
    EXPECT_EQ(ran.code, 2) << args;
    EXPECT_EQ(ran.err.rfind("usage: Quillmere", 0), 0u) << args;
    EXPECT_TRUE(ran.out.empty()) << args;
  }
}

TEST_F(CommandLine, AloneApplyAndListGoByTheFilesOthersNeedACopy) {
  const Ran list = RunProgram(L"Quillmere.exe", L"-LIST", dir);
  EXPECT_EQ(list.code, 0);
  EXPECT_NE(list.out.find(Handle(target.window()) + "\tQmCommand\tT\xC3\xA4tig\tqm_target.exe\t"), std::string::npos)
      << list.out;
  EXPECT_NE(list.out.find("\t1 Rule \xC3\xA4\r\n"), std::string::npos) << list.out;
  EXPECT_EQ(RunProgram(L"Quillmere.exe", L"/apply", dir).code, 0);
  EXPECT_TRUE(WaitUntil([&] { return SameRect(WindowRect(target.window()), MakeRect(120, 130, 410, 320)); }));
  EXPECT_EQ(RunProgram(L"Quillmere.exe", L"/preset 1", dir).code, 1);
  EXPECT_EQ(RunProgram(L"Quillmere.exe", L"/exit", dir).code, 1);
}

TEST_F(CommandLine, RunningCopyListsAppliesPresetsAndExits) {
  ASSERT_TRUE(app.Start());
  const Ran list = RunProgram(L"Quillmere.com", L"/list", dir);
  EXPECT_EQ(list.code, 0);
  EXPECT_NE(list.out.find(Handle(target.window()) + "\tQmCommand\t"), std::string::npos) << list.out;

  const std::string handle = Handle(target.window());
  const std::wstring window = L" /window " + std::wstring(handle.begin(), handle.end());
  EXPECT_EQ(RunProgram(L"Quillmere.exe", L"/preset 2" + window, dir).code, 1);
  EXPECT_EQ(RunProgram(L"Quillmere.exe", L"/preset 1" + window, dir).code, 0);
  EXPECT_TRUE(WaitUntil([&] { return SameRect(WindowRect(target.window()), MakeRect(300, 310, 420, 330)); }));
  EXPECT_EQ(RunProgram(L"Quillmere.exe", L"/apply", dir).code, 0);
  EXPECT_TRUE(WaitUntil([&] { return SameRect(WindowRect(target.window()), MakeRect(120, 130, 410, 320)); }));

  DeleteFileW(app.ConfigPath().c_str());
  EXPECT_EQ(RunProgram(L"Quillmere.exe", L"/exit", dir).code, 0);
  EXPECT_EQ(app.process().WaitExit(), 0);
  EXPECT_TRUE(FileExists(app.ConfigPath()));  // saved as the Exit command saves
}

}  // namespace
}  // namespace e2e
