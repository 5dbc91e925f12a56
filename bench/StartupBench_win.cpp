// qm_startup_bench.exe [ROUNDS] [--short] [OTHER\Quillmere.exe ...]: where
// Quillmere's start-up time and memory go, against a bare tray program
// (qm_baretray.exe: a hidden window, an icon, a loop) that sets the same
// hooks as Quillmere, the floor, measured in the same run.
//
// Each variant is started in an empty folder (a first start) and measured
// when its "Dummy" window exists and its main window answers through the
// message loop: the wall time since CreateProcess; the CPU time its threads
// used (read from Linux's /proc through drive Z:, as Wine reports only the
// caller's own times; on a busy machine this is the steadier figure); its
// working set; and its private (anonymous) memory, which Wine reports as
// the page-file usage. The variants are the bare program alone, with the
// hooks and with DLLs loaded, qm_startsteps.exe cut after each start-up
// step, and Quillmere.exe itself; rounds (21 unless ROUNDS says) interleave
// them and medians are reported as ratios to the floor and as what each
// start-up step adds. --short leaves out all but the bare program, the
// floor and Quillmere.exe; other builds of Quillmere.exe named (beside
// their Quillmere.dll) join the rounds, to compare two builds in one run.
//
// Run it from the build folder (the programs lie beside it), under Wine.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "tests/e2e/E2eSupport.h"

namespace {

constexpr int kDefaultRounds = 21;
constexpr DWORD kDeadlineMs = 30000;

struct Variant {
  const char* label;
  const wchar_t* exe;
  const wchar_t* args;
};

// qm_startsteps.exe N runs the first N steps, in the program's order.
// The first two and the last are the short list.
const Variant kVariants[] = {
    {"bare tray program (qm_baretray.exe)", L"qm_baretray.exe", L""},
    {"floor: bare + the same hooks", L"qm_baretray.exe", L"hooks"},
    {"floor + comctl32.dll loaded", L"qm_baretray.exe", L"hooks comctl32.dll"},
    {"floor + dwmapi.dll loaded", L"qm_baretray.exe", L"hooks dwmapi.dll"},
    {"floor + wtsapi32.dll loaded", L"qm_baretray.exe", L"hooks wtsapi32.dll"},
    {"floor + Quillmere.dll loaded", L"qm_baretray.exe", L"hooks Quillmere.dll"},
    {"0  same, inside the program's binary", L"qm_startsteps.exe", L"0"},
    {"1  + single-instance mutex", L"qm_startsteps.exe", L"1"},
    {"2  + window class and icons", L"qm_startsteps.exe", L"2"},
    {"3  + LoadAll (no files)", L"qm_startsteps.exe", L"3"},
    {"4  + main window, menu loaded", L"qm_startsteps.exe", L"4"},
    {"5  + Dummy window", L"qm_startsteps.exe", L"5"},
    {"6  + readout window and font", L"qm_startsteps.exe", L"6"},
    {"7  + SetHook", L"qm_startsteps.exe", L"7"},
    {"8  + menu hotkey (= the whole start-up)", L"qm_startsteps.exe", L"8"},
    {"Quillmere.exe", L"Quillmere.exe", L""},
};
constexpr int kVariantCount = sizeof(kVariants) / sizeof(kVariants[0]);
constexpr int kFloor = 1;
constexpr int kFirstStep = 6;  // the variant "0  same, inside the program's binary"
constexpr int kLastStep = kVariantCount - 2;

struct Sample {
  double ms = -1;
  double cpuMs = 0;
  double workingSetMb = 0;
  double privateMb = 0;
};

std::string ReadLinuxFile(const std::wstring& path) {
  std::string text;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

// Calls visit(name) for every entry of a Linux folder but . and ..
template <typename Visit>
void ForEachEntry(const std::wstring& folder, Visit visit) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (data.cFileName[0] != L'.') visit(std::wstring(data.cFileName));
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

// The Linux process behind a Wine process: the one whose command line holds
// the token it was started with.
std::wstring LinuxProcessFolder(const std::string& token) {
  std::wstring found;
  ForEachEntry(L"Z:\\proc", [&](const std::wstring& name) {
    if (!found.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) return;
    if (ReadLinuxFile(L"Z:\\proc\\" + name + L"\\cmdline").find(token) != std::string::npos) {
      found = L"Z:\\proc\\" + name;
    }
  });
  return found;
}

// CPU time used so far by all threads of a Linux process (schedstat's first
// field, nanoseconds on the CPU).
double CpuMs(const std::wstring& process) {
  double ns = 0;
  ForEachEntry(process + L"\\task", [&](const std::wstring& task) {
    ns += std::strtod(ReadLinuxFile(process + L"\\task\\" + task + L"\\schedstat").c_str(), nullptr);
  });
  return ns / 1e6;
}

HWND MainOf(DWORD processId) {
  for (const wchar_t* cls : {L"Quillmere", L"QmBenchBare"}) {
    std::vector<HWND> found = e2e::FindProcessWindows(processId, cls);
    if (!found.empty()) return found[0];
  }
  return nullptr;
}

Sample RunOnce(const Variant& variant, const std::wstring& dir) {
  DeleteFileW((dir + L"\\Config.ini").c_str());
  DeleteFileW((dir + L"\\Entry.ini").c_str());
  static int runs = 0;
  const std::string token = "qm-startup-bench-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
  const std::wstring args = std::wstring(variant.args) + L" " + std::wstring(token.begin(), token.end());
  const std::wstring exe = variant.exe;
  const std::wstring path = exe.find(L':') != std::wstring::npos ? exe : e2e::ExeDir() + L"\\" + exe;
  Sample sample;
  e2e::Process process;
  const double start = bench::NowSeconds();
  if (!process.Start(path, args, dir)) return sample;
  HWND main = nullptr;
  for (;;) {
    main = MainOf(process.id());
    DWORD_PTR result = 0;
    if (main != nullptr && !e2e::FindProcessWindows(process.id(), L"Static", L"Dummy").empty() &&
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kDeadlineMs, &result) != 0) {
      sample.ms = 1000.0 * (bench::NowSeconds() - start);
      break;
    }
    if (bench::NowSeconds() - start > kDeadlineMs / 1000.0 || !process.Running()) return sample;
    Sleep(1);
  }
  sample.cpuMs = CpuMs(LinuxProcessFolder(token));
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (GetProcessMemoryInfo(process.handle(), &counters, sizeof(counters))) {
    sample.workingSetMb = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    sample.privateMb = static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  if (process.WaitExit(kDeadlineMs) < 0) process.Terminate();
  return sample;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int rounds = kDefaultRounds;
  bool all = true;
  std::vector<std::string> otherLabels;
  std::vector<std::wstring> otherPaths;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--short") {
      all = false;
    } else if (arg.size() > 4 && _wcsicmp(arg.c_str() + arg.size() - 4, L".exe") == 0) {
      wchar_t full[MAX_PATH];
      GetFullPathNameW(arg.c_str(), MAX_PATH, full, nullptr);
      otherPaths.push_back(full);
      otherLabels.push_back("Quillmere.exe from " + std::string(arg.begin(), arg.end()));
    } else {
      rounds = std::max(1, _wtoi(arg.c_str()));
    }
  }
  std::vector<Variant> variants;
  for (int i = 0; i < kVariantCount; ++i) {
    if (all || i <= kFloor || i > kLastStep) variants.push_back(kVariants[i]);
  }
  for (size_t i = 0; i < otherPaths.size(); ++i) {
    variants.push_back({otherLabels[i].c_str(), otherPaths[i].c_str(), L""});
  }
  const size_t count = variants.size();

  // With no window manager, Wine stalls whenever the last tray icon goes
  // away; this one stays for the whole run.
  HWND keeper = CreateWindowExW(0, L"STATIC", L"qm-startup-bench", 0, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof(icon);
  icon.hWnd = keeper;
  icon.uID = 1;
  icon.uFlags = NIF_ICON;
  icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  Shell_NotifyIconW(NIM_ADD, &icon);

  e2e::TempDir dir;
  for (const Variant& variant : variants) RunOnce(variant, dir.path());  // first starts are slower

  std::vector<std::vector<double>> ms(count), cpu(count), ws(count), priv(count);
  for (int round = 0; round < rounds; ++round) {
    // Every other round runs backwards, so no variant always follows the
    // same one (a process that just ended still costs the machine a little).
    for (size_t step = 0; step < count; ++step) {
      const size_t i = round % 2 == 0 ? step : count - 1 - step;
      const Sample s = RunOnce(variants[i], dir.path());
      if (s.ms < 0) {
        std::printf("%s did not start\n", variants[i].label);
        return 1;
      }
      ms[i].push_back(s.ms);
      cpu[i].push_back(s.cpuMs);
      ws[i].push_back(s.workingSetMb);
      priv[i].push_back(s.privateMb);
    }
  }

  std::printf("start-up to idle and memory at idle, medians of %d rounds; ratios to the floor\n", rounds);
  std::printf("%-40s %7s %5s %7s %5s %6s %5s %7s %5s %8s %7s\n", "variant", "wall ms", "ratio", "CPU ms",
              "ratio", "WS MB", "ratio", "priv MB", "ratio", "step CPU", "step MB");
  const double base[] = {bench::Median(ms[kFloor]), bench::Median(cpu[kFloor]), bench::Median(ws[kFloor]),
                         bench::Median(priv[kFloor])};
  for (size_t i = 0; i < count; ++i) {
    const double m = bench::Median(ms[i]), c = bench::Median(cpu[i]), w = bench::Median(ws[i]),
                 p = bench::Median(priv[i]);
    std::printf("%-40s %7.1f %5.2f %7.1f %5.2f %6.2f %5.2f %7.2f %5.2f", variants[i].label, m, m / base[0], c,
                c / base[1], w, w / base[2], p, p / base[3]);
    // What each start-up step adds to the one before it.
    if (all && i > kFirstStep && i <= kLastStep) {
      std::printf(" %+8.1f %+7.2f", c - bench::Median(cpu[i - 1]), p - bench::Median(priv[i - 1]));
    }
    std::printf("\n");
  }

  Shell_NotifyIconW(NIM_DELETE, &icon);
  DestroyWindow(keeper);
  return 0;
}
