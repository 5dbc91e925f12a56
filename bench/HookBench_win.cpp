// qm_hook_bench.exe: what the hook library costs and how fast it reacts,
// each figure beside a baseline measured in the same run.
//
//   show->placed:  a hidden qm_target window is shown (and raises
//                  EVENT_OBJECT_SHOW); time until the real program has moved
//                  it by its rule. Baselines: a bare cross-process
//                  SendMessage round trip to the target, and a bare
//                  cross-process move of a target window; the aim is two
//                  round trips plus one move.
//   hold:          the target's program moves its own window d ms after the
//                  show (as programs restoring a saved position do), or puts
//                  it back every time; where the window is once the hold is
//                  over, and how many times it visibly moved.
//   event->report: the library loaded into this process with a window of
//                  this thread as its main window; a drag step raised in the
//                  target until the rectangle arrives here (WM_COPYDATA).
//                  Baseline: the same round trip.
//   mouse hook:    SendInput of mouse moves with the library's low-level
//                  hook installed against none; Wine runs the hook before
//                  SendInput returns, so the difference is its cost.
//   idle:          the program's CPU time and wakeups over a few idle
//                  seconds with its hooks installed (read from Linux /proc
//                  through Wine's Z: drive; skipped when not reachable).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "hook/HookContract.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/PlacementFixtures.h"
#include "tests/e2e/target/TargetProtocol.h"

#include "BenchTiming.h"

namespace {

using bench::Median;

using e2e::App;
using e2e::Target;
using e2e::WindowRule;

constexpr int kRuleX = 300, kRuleY = 250;
constexpr int kOwnX = 900, kOwnY = 600;
constexpr DWORD kHoldMs = 2000;  // how long the library holds a new window

bool At(HWND window, int x, int y) {
  RECT r = e2e::WindowRect(window);
  return r.left == x && r.top == y;
}

void SendWait(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, e2e::kWaitMs, &result);
}

double RoundTripMs(HWND window) {
  std::vector<double> times;
  for (int i = 0; i < 50; ++i) SendWait(window, WM_NULL);
  for (int i = 0; i < 500; ++i) {
    double t0 = bench::NowSeconds();
    SendWait(window, WM_NULL);
    times.push_back((bench::NowSeconds() - t0) * 1e3);
  }
  return Median(times);
}

// Polls every millisecond, so the polling itself does not load the cores the
// program and the window server share with this driver.
bool PollUntil(HWND window, int x, int y, double timeoutSeconds) {
  double deadline = bench::NowSeconds() + timeoutSeconds;
  while (!At(window, x, y)) {
    if (bench::NowSeconds() > deadline) return false;
    Sleep(1);
  }
  return true;
}

// A cross-process move of a visible window that no rule names, timed per
// move.
double MoveMs(HWND window) {
  std::vector<double> times;
  for (int k = 0; k < 100; ++k) {
    double t0 = bench::NowSeconds();
    SetWindowPos(window, nullptr, 10 + k % 2, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    times.push_back((bench::NowSeconds() - t0) * 1e3);
  }
  return Median(times);
}

// Showing a hidden window that no rule names, timed from outside until its
// program has shown it: the part of show->placed that is the show itself.
double ShowMs(Target& target) {
  std::vector<double> times;
  for (size_t i = 1; i < target.windows().size(); ++i) {
    double t0 = bench::NowSeconds();
    target.Appear(i);
    times.push_back((bench::NowSeconds() - t0) * 1e3);
  }
  return Median(times);
}

int BenchShowToPlaced(Target& target, size_t first, size_t count, double roundTripMs, double moveMs, double showMs) {
  std::vector<double> times;
  for (size_t i = first; i < first + count; ++i) {
    double t0 = bench::NowSeconds();
    target.Appear(i);
    if (!PollUntil(target.window(i), kRuleX, kRuleY, 5.0)) {
      std::printf("show->placed: window %zu was not placed\n", i);
      return 1;
    }
    times.push_back((bench::NowSeconds() - t0) * 1e3);
  }
  double median = Median(times);
  std::sort(times.begin(), times.end());
  double aim = 2 * roundTripMs + moveMs;
  double placing = median - showMs;
  std::printf("show->placed   median %8.2f ms (min %.2f, max %.2f; %zu windows); less the show itself (%.2f ms) "
              "%.2f ms = %.1fx a round trip, %.2fx the aim of two round trips plus a move (%.2f ms; a bare move "
              "%.3f ms)\n",
              median, times.front(), times.back(), times.size(), showMs, placing, placing / roundTripMs,
              placing / aim, aim, moveMs);
  return 0;
}

// Programs that move their window d ms after the show, one that puts it
// back every time, and one that leaves it: all shown at once, several
// rounds; once the hold is over, where each window is and how often it
// moved (by the program placing it, by its own program).
int BenchHold(Target& target, size_t first, int rounds, double roundTripMs) {
  struct Kind {
    const char* name;
    DWORD delay;
    bool insists;
  };
  const Kind kinds[] = {{"moves itself at    0 ms", 0, false},   {"moves itself at   50 ms", 50, false},
                        {"moves itself at  300 ms", 300, false}, {"moves itself at 1500 ms", 1500, false},
                        {"puts it back every time", Target::kNever, true}, {"leaves it", Target::kNever, false}};
  constexpr size_t kKinds = sizeof(kinds) / sizeof(kinds[0]);
  std::vector<int> atRule(kKinds), ours(kKinds), own(kKinds);
  std::vector<std::vector<double>> lastPlaced(kKinds);
  size_t i = first;
  for (int round = 0; round < rounds; ++round, i += kKinds) {
    for (size_t k = 0; k < kKinds; ++k) {
      if (kinds[k].insists) target.Insist(i + k);
      target.Appear(i + k, kinds[k].delay, kOwnX, kOwnY);
    }
    double t0 = bench::NowSeconds();
    while ((bench::NowSeconds() - t0) * 1e3 < kHoldMs + 500) Sleep(20);
    for (size_t k = 0; k < kKinds; ++k) {
      if (At(target.window(i + k), kRuleX, kRuleY)) ++atRule[k];
      ours[k] += static_cast<int>(target.MovedByOthers(i + k));
      own[k] += static_cast<int>(target.MovedItself(i + k));
    }
  }
  std::printf("hold           where the window is after the hold, and its visible moves per window (%d rounds; "
              "round trip %.3f ms):\n",
              rounds, roundTripMs);
  for (size_t k = 0; k < kKinds; ++k) {
    std::printf("               its program %s: at the rule %d/%d; moves per window: %.1f by the placement, %.1f "
                "by its program\n",
                kinds[k].name, atRule[k], rounds, static_cast<double>(ours[k]) / rounds,
                static_cast<double>(own[k]) / rounds);
  }
  return 0;
}

// The library in this process: its messages come to this window.
double g_copyDataAt = 0;
int g_copyDataCount = 0;

LRESULT CALLBACK BenchMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    g_copyDataAt = bench::NowSeconds();
    ++g_copyDataCount;
    return 1;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

struct Library {
  using SetHookFn = void(__stdcall*)(HWND, HWND, int, int);
  using FreeHookFn = void(__stdcall*)();
  HMODULE module = nullptr;
  SetHookFn set = nullptr;
  FreeHookFn free = nullptr;
  bool Load() {
    module = LoadLibraryW((e2e::ExeDir() + L"\\Quillmere.dll").c_str());
    if (module == nullptr) return false;
    set = reinterpret_cast<SetHookFn>(reinterpret_cast<void*>(GetProcAddress(module, "SetHook")));
    free = reinterpret_cast<FreeHookFn>(reinterpret_cast<void*>(GetProcAddress(module, "FreeHook")));
    return set != nullptr && free != nullptr;
  }
};

HWND CreateBenchMain() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = BenchMainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QmHookBenchMain";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

int BenchEventToReport(Library& library, HWND main, double roundTripMs) {
  // The target starts after the hook: a Wine thread does not notice hooks
  // set after it first looked.
  library.set(main, nullptr, 1, 0);
  Target target;
  if (!target.Start(L"--class QmHookBenchDrag --rect 100,100,400,300")) {
    std::printf("event->report: target did not start\n");
    library.free();
    return 1;
  }
  HWND window = target.window();
  target.Notify(EVENT_SYSTEM_MOVESIZESTART);
  std::vector<double> times;
  for (int i = 0; i < 230; ++i) {
    int before = g_copyDataCount;
    double t0 = bench::NowSeconds();
    SendWait(window, TARGET_MOVE_WINDOW, 0, MAKELPARAM(100 + i % 50, 100));
    // The report arrives through this thread's message retrieval.
    double deadline = t0 + 5.0;
    while (g_copyDataCount == before && bench::NowSeconds() < deadline) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    if (g_copyDataCount == before) {
      std::printf("event->report: no rectangle arrived\n");
      library.free();
      return 1;
    }
    if (i >= 30) times.push_back((g_copyDataAt - t0) * 1e3);
  }
  target.Notify(EVENT_SYSTEM_MOVESIZEEND);
  library.free();
  double median = Median(times);
  std::printf("event->report  median %8.3f ms (drag step raised in the target until its rectangle arrives; %zu "
              "steps) = %.2fx a round trip\n",
              median, times.size(), median / roundTripMs);
  return 0;
}

double MouseMovesMs(int count) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  double t0 = bench::NowSeconds();
  for (int i = 0; i < count; ++i) {
    input.mi.dx = (i % 2 == 0) ? 1 : -1;
    SendInput(1, &input, sizeof(input));
  }
  return (bench::NowSeconds() - t0) * 1e3 / count;
}

// The least any low-level mouse hook costs: one that passes every event on,
// on a thread of its own like the library's.
LRESULT CALLBACK PassThrough(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI EmptyHookThread(void* ready) {
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, PassThrough, GetModuleHandleW(nullptr), 0);
  SetEvent(static_cast<HANDLE>(ready));
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
  }
  UnhookWindowsHookEx(hook);
  return 0;
}

double MouseMovesWithEmptyHookMs(int count) {
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, EmptyHookThread, ready, 0, &id);
  SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
  WaitForSingleObject(ready, INFINITE);
  double ms = MouseMovesMs(count);
  PostThreadMessageW(id, WM_QUIT, 0, 0);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  CloseHandle(ready);
  return ms;
}

int BenchMouseHook(Library& library, HWND main) {
  constexpr int kEvents = 400, kRounds = 9;
  std::vector<double> bare, empty, hooked;
  MouseMovesMs(100);
  for (int round = 0; round < kRounds; ++round) {
    bare.push_back(MouseMovesMs(kEvents));
    empty.push_back(MouseMovesWithEmptyHookMs(kEvents));
    library.set(main, nullptr, 0, 0);
    hooked.push_back(MouseMovesMs(kEvents));
    library.free();
  }
  double b = Median(bare) * 1e3, e = Median(empty) * 1e3, h = Median(hooked) * 1e3;
  std::printf("mouse hook     SendInput per mouse move: %.1f us with the library's hook, %.1f us with an empty "
              "hook (%.2fx), %.1f us with none; the library's hook adds %.1f us per event\n",
              h, e, h / e, b, h - b);
  return 0;
}

// The Linux process of the program, found through Wine's Z: drive by its
// command line and this run's Wine prefix.
std::wstring FindLinuxProcess(const char* exeName) {
  char prefix[1024] = {};
  if (GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix)) == 0) return {};
  std::string wantPrefix = std::string("WINEPREFIX=") + prefix;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &data);
  if (find == INVALID_HANDLE_VALUE) return {};
  std::wstring found;
  do {
    std::wstring name = data.cFileName;
    if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    std::wstring dir = L"Z:\\proc\\" + name;
    std::string cmdline = qm::test::ReadBytes(dir + L"\\cmdline");
    if (cmdline.find(exeName) == std::string::npos) continue;
    std::string environment = qm::test::ReadBytes(dir + L"\\environ");
    std::replace(environment.begin(), environment.end(), '\0', '\n');
    if ((environment + "\n").find(wantPrefix + "\n") == std::string::npos) continue;
    found = dir;
  } while (found.empty() && FindNextFileW(find, &data));
  FindClose(find);
  return found;
}

// CPU nanoseconds and times scheduled, summed over the process's threads.
bool ProcessCpu(const std::wstring& dir, unsigned long long* ns, unsigned long long* runs) {
  *ns = 0;
  *runs = 0;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((dir + L"\\task\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  do {
    if (data.cFileName[0] == L'.') continue;
    std::string stat = qm::test::ReadBytes(dir + L"\\task\\" + data.cFileName + L"\\schedstat");
    unsigned long long run = 0, wait = 0, slices = 0;
    if (std::sscanf(stat.c_str(), "%llu %llu %llu", &run, &wait, &slices) == 3) {
      *ns += run;
      *runs += slices;
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return true;
}

// start, when given, runs once the counting has begun.
void BenchIdle(const char* what, double seconds, const std::function<void()>& start = nullptr) {
  std::wstring dir = FindLinuxProcess("Quillmere.exe");
  unsigned long long ns0 = 0, runs0 = 0, ns1 = 0, runs1 = 0;
  if (dir.empty() || !ProcessCpu(dir, &ns0, &runs0)) {
    std::printf("idle           not measured: the program's Linux process was not found\n");
    return;
  }
  if (start) start();
  Sleep(static_cast<DWORD>(seconds * 1000));
  ProcessCpu(dir, &ns1, &runs1);
  std::printf("idle           %s: %.3f ms CPU, %llu wakeups in %.0f s (Linux process %ls)\n", what,
              (ns1 - ns0) / 1e6, runs1 - runs0, seconds, dir.substr(8).c_str());
}

}  // namespace

int main() {
  e2e::TempDir dir;
  WriteEntryIni(dir, {WindowRule{L"Bench hook rule", L"QmHookBench", e2e::Geometry{0, kRuleX, kRuleY, 0, 1, 0, 0}}});
  App app(dir.path());
  if (!app.Start()) {
    std::printf("Quillmere.exe did not start\n");
    return 1;
  }
  constexpr size_t kPlaced = 40, kHoldRounds = 3, kHoldWindows = 6 * kHoldRounds, kSpare = 6;
  constexpr size_t kCount = kPlaced + kHoldWindows + kSpare;
  Target target;
  if (!target.Start(L"--class QmHookBench --hidden --rect 700,500,300,200 --count " + std::to_wstring(kCount),
                    static_cast<int>(kCount))) {
    std::printf("targets did not start\n");
    return 1;
  }
  double roundTrip = RoundTripMs(target.window());
  std::printf("qm_hook_bench: baseline cross-process SendMessage round trip %.3f ms (median of 500)\n", roundTrip);

  int failures = 0;
  // Wine counts a window moving under the pointer as input, which ends a
  // hold: the pointer rests in a corner no window here reaches.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  BenchIdle("program idle with its hooks installed", 3.0);
  // Warm up the path once, then measure.
  const size_t spare = kPlaced + kHoldWindows;
  for (size_t i = 0; i < 3; ++i) {
    target.Appear(spare + i);
    PollUntil(target.window(spare + i), kRuleX, kRuleY, 5.0);
  }
  Target unruled;
  if (!unruled.Start(L"--class QmHookBenchMove --hidden --rect 10,10,300,200 --count 21", 21)) {
    std::printf("targets did not start\n");
    return 1;
  }
  unruled.Appear(0);
  double moveMs = MoveMs(unruled.window(0));
  double showMs = ShowMs(unruled);
  failures += BenchShowToPlaced(target, 0, kPlaced, roundTrip, moveMs, showMs);
  failures += BenchHold(target, kPlaced, static_cast<int>(kHoldRounds), roundTrip);
  // One new window whose program leaves it, counted from its show to past
  // the end of its hold (its placement included), then the program idle
  // again.
  BenchIdle("one new window placed and held to the end of its hold", 2.3,
            [&] { target.Appear(spare + 3); });
  BenchIdle("program idle again after the hold", 3.0);
  app.Close();

  Library library;
  HWND main = CreateBenchMain();
  if (!library.Load() || main == nullptr) {
    std::printf("Quillmere.dll did not load\n");
    return 1;
  }
  failures += BenchEventToReport(library, main, roundTrip);
  failures += BenchMouseHook(library, main);
  return failures == 0 ? 0 : 1;
}
