// The hook library's decisions per event: what the low-level mouse hook
// decides for a middle click (every other mouse event is passed on before
// the core is asked anything), and what a window event costs the core with
// its set of known windows full (the worst case of its linear scans).
// Baseline in the same run: recording one event in a plain array, the least
// any handler does.
#include <benchmark/benchmark.h>

#include <memory>

#include "hook/HookCore.h"

namespace qm {
namespace {

class NoFacts : public HookFacts {
 public:
  bool IsForeignTopLevel(HookWindow) override { return true; }
  bool IsUserWindow(HookWindow) override { return true; }
  bool IsCloaked(HookWindow) override { return false; }
  HookTime LastInputAt() override { return 0; }
  bool OffItsRule(HookWindow) override { return false; }
};

class NoActions : public HookActions {
 public:
  void Place(HookWindow window) override { benchmark::DoNotOptimize(window); }
  void ShowRect(HookWindow window) override { benchmark::DoNotOptimize(window); }
  void HideRect() override {}
  void KeepInside(HookWindow window) override { benchmark::DoNotOptimize(window); }
  void GaveUp(HookWindow window) override { benchmark::DoNotOptimize(window); }
};

void BM_Baseline_RecordEvent(benchmark::State& state) {
  HookWindow log[256] = {};
  size_t n = 0;
  HookWindow window = 1;
  for (auto _ : state) {
    log[n++ & 255] = window++;
    benchmark::DoNotOptimize(log);
  }
}
BENCHMARK(BM_Baseline_RecordEvent);

// A middle press and its release on a title bar: the band test, the
// gesture's two decisions.
void BM_MiddleClickDecision(benchmark::State& state) {
  MiddleClickGesture gesture;
  const Rect32 window = {100, 200, 900, 800};
  int32_t y = 200;
  for (auto _ : state) {
    bool inBand = InTitleBand(400, y, window, TitleBandHeight(8, 23));
    benchmark::DoNotOptimize(gesture.Press(inBand, false));
    benchmark::DoNotOptimize(gesture.Release());
    y = y == 260 ? 200 : y + 1;
  }
}
BENCHMARK(BM_MiddleClickDecision);

std::unique_ptr<HookCore> CoreWithFullKnownSet() {
  auto core = std::make_unique<HookCore>();
  core->Reset({true, true});
  NoFacts facts;
  NoActions actions;
  HookTime now = 0;
  for (HookWindow w = 1; w <= kKnownCapacity; ++w) {
    core->OnWinEvent(winevent::Show, w, 0, 0, now, facts, actions);
    now += 1000;
    core->OnTimer(now, facts, actions);
  }
  core->OnTimer(now + 10 * kHoldMs, facts, actions);
  return core;
}

// A window shown again: the whole known set is searched.
void BM_ShowOfAKnownWindow_FullSet(benchmark::State& state) {
  auto core = CoreWithFullKnownSet();
  NoFacts facts;
  NoActions actions;
  HookTime now = 100 * kKnownCapacity * 1000;
  for (auto _ : state) core->OnWinEvent(winevent::Show, kKnownCapacity, 0, 0, ++now, facts, actions);
}
BENCHMARK(BM_ShowOfAKnownWindow_FullSet);

// A drag step with the readout on: one location event of the moved window.
void BM_DragStep(benchmark::State& state) {
  auto core = CoreWithFullKnownSet();
  NoFacts facts;
  NoActions actions;
  HookTime now = 100 * kKnownCapacity * 1000;
  core->OnWinEvent(winevent::MoveSizeStart, 7, 0, 0, now, facts, actions);
  for (auto _ : state) core->OnWinEvent(winevent::LocationChange, 7, 0, 0, ++now, facts, actions);
}
BENCHMARK(BM_DragStep);

// Where a window dropped off the screen goes, with the most monitors counted.
void BM_KeepInside_16Monitors(benchmark::State& state) {
  Rect32 monitors[kMaxMonitors];
  for (size_t i = 0; i < kMaxMonitors; ++i) {
    int32_t x = static_cast<int32_t>(i % 4) * 1920, y = static_cast<int32_t>(i / 4) * 1080;
    monitors[i] = {x, y, x + (i == 5 ? 1280 : 1920), y + 1080};
  }
  const Rect32 work = {1920, 1080, 3840, 2120};
  const Rect32 window = {3000, 1500, 4000, 2300};
  for (auto _ : state) benchmark::DoNotOptimize(ComputeKeepInside(window, monitors, kMaxMonitors, work));
}
BENCHMARK(BM_KeepInside_16Monitors);

}  // namespace
}  // namespace qm
