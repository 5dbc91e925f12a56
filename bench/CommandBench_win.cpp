// qm_command_bench.exe: what the command line costs, as ratios against
// qm_bareenum.exe, a program started the same way (windows subsystem,
// output to a pipe) that only enumerates the windows, in the same run.
//
//   /list and /apply with a running copy, and alone (no copy runs: the
//   files are read first), over 200 windows of which every one matches a
//   rule (a move to a fixed point; /apply moves them away first, untimed).
//   Runs alternate with the baseline so that drift falls on both alike.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/PlacementFixtures.h"

#include "BenchTiming.h"

namespace {

constexpr int kWindows = 200;
constexpr int kRounds = 9;

// Runs program from the benchmark's folder in dir, output to a pipe that is
// read to the end; returns the seconds until it ended.
double TimeRun(const std::wstring& program, const std::wstring& args, const std::wstring& dir) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE read, write;
  CreatePipe(&read, &write, &inherit, 0);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  startup.hStdError = write;
  PROCESS_INFORMATION info = {};
  std::wstring line = L"\"" + e2e::ExeDir() + L"\\" + program + L"\" " + args;
  const double start = bench::NowSeconds();
  CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(), &startup, &info);
  CloseHandle(write);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
  }
  WaitForSingleObject(info.hProcess, INFINITE);
  const double seconds = bench::NowSeconds() - start;
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  CloseHandle(read);
  return seconds;
}

void MoveAway(const std::vector<HWND>& windows) {
  for (size_t i = 0; i < windows.size(); ++i) {
    SetWindowPos(windows[i], nullptr, 700 + static_cast<int>(i % 7) * 10, 500, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// Median seconds of the command and of the baseline, alternating.
void Measure(const char* name, const std::wstring& args, const e2e::TempDir& dir, const std::vector<HWND>& windows) {
  std::vector<double> command, bare;
  for (int round = 0; round < kRounds; ++round) {
    MoveAway(windows);
    command.push_back(TimeRun(L"Quillmere.exe", args, dir.path()));
    bare.push_back(TimeRun(L"qm_bareenum.exe", L"", dir.path()));
  }
  const double c = bench::Median(command), b = bench::Median(bare);
  std::printf("%-22s %8.1f ms  bare enumeration %8.1f ms  ratio %5.2f\n", name, c * 1000, b * 1000, c / b);
}

}  // namespace

int wmain() {
  e2e::MakeDriverDpiAware();
  qm::test::TrayKeeper keeper(L"qm_command_bench");
  e2e::TempDir dir;
  e2e::WriteEntryIni(dir, {{L"Bench", L"QmCommandBench", e2e::Geometry{0, 400, 150, 0, 1, 0, 0}}});
  e2e::Target target;
  if (!target.Start(L"--class QmCommandBench --count " + std::to_wstring(kWindows), kWindows)) {
    std::printf("target did not start\n");
    return 1;
  }
  std::printf("%d windows, each matched by a rule; medians of %d runs\n", kWindows, kRounds);
  Measure("/list alone", L"/list", dir, target.windows());
  Measure("/apply alone", L"/apply", dir, target.windows());
  e2e::App app(dir.path());
  if (!app.Start()) {
    std::printf("Quillmere did not start\n");
    return 1;
  }
  Measure("/list, running copy", L"/list", dir, target.windows());
  Measure("/apply, running copy", L"/apply", dir, target.windows());
  app.Close();
  return 0;
}
