// qm_placement_bench.exe: what placing windows costs the real program, each
// figure as a ratio against the same visible work done directly by this
// driver in the same run.
//
//   place:      MSG_PLACE_WINDOW for a target window, with 512 window rules
//               of which the last one matches (a move to a fixed point).
//               Baseline: a WM_NULL round trip to the program plus this
//               driver's own SetWindowPos of the same target to the same
//               point, in the same form the program uses.
//   initialise: the initialise command with 200 visible matching windows.
//               Baseline: a WM_NULL round trip plus this driver's own loop of
//               the same 200 moves.
//   names:      reading the monitors' names (what matching does once per
//               reported window, or once per initialise, when some rule
//               names a monitor), in this process. Baseline: the place
//               figure's baseline, a round trip and a move.
//   follow:     a WM_DISPLAYCHANGE, then the same 200 windows placed again
//               once the desktop has settled: the time from the change to the
//               last window placed, less the settle wait, against the
//               initialise command timed in the same rounds; and the
//               program's CPU time over an idle stretch before a change and
//               after its re-application.
//
// Before every timed operation the windows are moved away untimed, so each
// timed move really moves. Program and baseline runs alternate, so drift in
// the machine's load falls on both alike.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "hook/HookContract.h"
#include "placement/MonitorNames_win.h"
#include "res/resource.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/PlacementFixtures.h"

#include "BenchTiming.h"

namespace {

using bench::Median;

using e2e::App;
using e2e::Geometry;
using e2e::Target;
using e2e::WindowRule;

constexpr int kPlaceX = 300, kPlaceY = 250;
constexpr int kInitX = 400, kInitY = 150;
constexpr int kInitWindows = 200;

void MoveAway(HWND window, int i) {
  SetWindowPos(window, nullptr, 700 + (i % 7) * 10, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The program's move-only form: raise and activate, keep the size.
void DriverMove(HWND window, int x, int y) { SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE); }

void RoundTrip(HWND main) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, e2e::kWaitMs, &result);
}

LRESULT SendToProgram(HWND main, UINT message, WPARAM wParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(main, message, wParam, 0, SMTO_ABORTIFHUNG, e2e::kWaitMs, &result);
  return static_cast<LRESULT>(result);
}

bool At(HWND window, int x, int y) {
  RECT r = e2e::WindowRect(window);
  return r.left == x && r.top == y;
}

void Report(const char* name, const std::vector<double>& program, const std::vector<double>& baseline,
            const char* unit, double scale) {
  double p = Median(program) * scale, b = Median(baseline) * scale;
  std::printf("%-12s program %9.3f %s  baseline %9.3f %s  ratio %.2fx  (median of %zu)\n", name, p, unit, b, unit,
              p / b, program.size());
}

// 510 rules that match nothing (classes and titles alike), then the rule for
// the initialise windows, then the one for the placed target: a reported
// window runs the class pass over the whole table before it finds its rule.
std::vector<WindowRule> Rules() {
  std::vector<WindowRule> rules;
  for (int i = 0; i < 510; ++i) {
    rules.push_back(WindowRule{L"Bench rule " + std::to_wstring(i) + L" (no window has this title)",
                               L"QmBenchNoSuchClass" + std::to_wstring(i), Geometry{0, 0, 0, 0, 1, 0, 0}});
  }
  rules.push_back(WindowRule{L"Bench initialise rule", L"QmBenchInit", Geometry{0, kInitX, kInitY, 0, 1, 0, 0}});
  rules.push_back(WindowRule{L"Bench place rule", L"QmBenchTarget", Geometry{0, kPlaceX, kPlaceY, 0, 1, 0, 0}});
  return rules;
}

int BenchPlace(App& app) {
  Target target;
  if (!target.Start(L"--class QmBenchTarget --title \"Bench target\" --rect 700,500,400,300")) {
    std::printf("place: target did not start\n");
    return 1;
  }
  HWND window = target.window();
  HWND main = app.main();
  constexpr int kWarmUp = 30, kRuns = 300;
  std::vector<double> program, baseline, names;
  for (int i = 0; i < kWarmUp + kRuns; ++i) {
    qm::NamedMonitors monitors;
    const double n0 = bench::NowSeconds();
    qm::ReadNamedMonitors(&monitors);
    if (i >= kWarmUp) names.push_back(bench::NowSeconds() - n0);
    MoveAway(window, i);
    double t0 = bench::NowSeconds();
    SendToProgram(main, MSG_PLACE_WINDOW, reinterpret_cast<WPARAM>(window));
    double t1 = bench::NowSeconds();
    if (!At(window, kPlaceX, kPlaceY)) {
      std::printf("place: the program did not move the target\n");
      return 1;
    }
    MoveAway(window, i);
    double t2 = bench::NowSeconds();
    RoundTrip(main);
    DriverMove(window, kPlaceX, kPlaceY);
    double t3 = bench::NowSeconds();
    if (i >= kWarmUp) {
      program.push_back(t1 - t0);
      baseline.push_back(t3 - t2);
    }
  }
  Report("place", program, baseline, "ms", 1e3);
  Report("names", names, baseline, "ms", 1e3);
  return 0;
}

int BenchInitialise(App& app) {
  Target targets;
  if (!targets.Start(L"--class QmBenchInit --title \"Bench init\" --rect 700,500,300,200 --count " +
                         std::to_wstring(kInitWindows),
                     kInitWindows)) {
    std::printf("initialise: targets did not start\n");
    return 1;
  }
  const std::vector<HWND>& windows = targets.windows();
  HWND main = app.main();
  constexpr int kWarmUp = 2, kRuns = 10;
  std::vector<double> program, baseline;
  for (int round = 0; round < kWarmUp + kRuns; ++round) {
    for (size_t k = 0; k < windows.size(); ++k) MoveAway(windows[k], static_cast<int>(k));
    double t0 = bench::NowSeconds();
    SendToProgram(main, WM_COMMAND, IDM_INITIALISE);
    double t1 = bench::NowSeconds();
    for (HWND w : windows) {
      if (!At(w, kInitX, kInitY)) {
        std::printf("initialise: a window was not moved\n");
        return 1;
      }
    }
    for (size_t k = 0; k < windows.size(); ++k) MoveAway(windows[k], static_cast<int>(k));
    double t2 = bench::NowSeconds();
    RoundTrip(main);
    for (HWND w : windows) DriverMove(w, kInitX, kInitY);
    double t3 = bench::NowSeconds();
    if (round >= kWarmUp) {
      program.push_back(t1 - t0);
      baseline.push_back(t3 - t2);
    }
  }
  Report("initialise", program, baseline, "ms", 1e3);
  return 0;
}

double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  auto seconds = [](const FILETIME& f) {
    return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) * 1e-7;
  };
  return seconds(kernel) + seconds(user);
}

// The program's CPU time while nothing happens for a few seconds.
double IdleCpu(HANDLE process) {
  const double before = CpuSeconds(process);
  Sleep(3000);
  return CpuSeconds(process) - before;
}

int BenchFollow(App& app) {
  Target targets;
  if (!targets.Start(L"--class QmBenchInit --title \"Bench init\" --rect 700,500,300,200 --count " +
                         std::to_wstring(kInitWindows),
                     kInitWindows)) {
    std::printf("follow: targets did not start\n");
    return 1;
  }
  const std::vector<HWND>& windows = targets.windows();
  HWND main = app.main();
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, app.process().id());
  constexpr double kSettleSeconds = 2.0;
  constexpr int kRuns = 5;
  std::vector<double> follow, initialise;
  double idleBefore = 0, idleAfter = 0;
  for (int round = 0; round < kRuns; ++round) {
    for (size_t k = 0; k < windows.size(); ++k) MoveAway(windows[k], static_cast<int>(k));
    double t0 = bench::NowSeconds();
    SendToProgram(main, WM_COMMAND, IDM_INITIALISE);
    initialise.push_back(bench::NowSeconds() - t0);
    for (size_t k = 0; k < windows.size(); ++k) MoveAway(windows[k], static_cast<int>(k));
    if (round == 0) idleBefore = IdleCpu(process);
    double t1 = bench::NowSeconds();
    PostMessageW(main, WM_DISPLAYCHANGE, 32, 0);
    e2e::WaitUntil([&] {
      return std::all_of(windows.begin(), windows.end(), [](HWND w) { return At(w, kInitX, kInitY); });
    });
    follow.push_back(bench::NowSeconds() - t1 - kSettleSeconds);
    if (round == 0) idleAfter = IdleCpu(process);
  }
  Report("follow", follow, initialise, "ms", 1e3);
  std::printf("idle CPU over 3 s: before a change %.1f ms, after its re-application %.1f ms\n", idleBefore * 1e3,
              idleAfter * 1e3);
  if (process != nullptr) CloseHandle(process);
  return 0;
}

}  // namespace

int main() {
  e2e::TempDir dir;
  WriteEntryIni(dir, Rules());
  App app(dir.path());
  if (!app.Start()) {
    std::printf("Quillmere.exe did not start\n");
    return 1;
  }
  std::printf("qm_placement_bench: 512 window rules, the matching one last; %d windows to initialise\n",
              kInitWindows);
  int failures = BenchPlace(app);
  failures += BenchInitialise(app);
  failures += BenchFollow(app);
  app.Close();
  return failures == 0 ? 0 : 1;
}
