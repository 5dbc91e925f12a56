// The entry store's portable work on full tables: parsing Entry.ini's text,
// composing it, and sorting.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "entries/EntryFiles.h"
#include "entries/EntryTable.h"
#include "entries/IniText.h"

namespace qm {
namespace {

struct Tables {
  WindowTable windows;
  MenuTable menus;
};

// 512 window entries with realistic titles and classes, 512 presets, in
// random order.
const Tables& FullTables() {
  static const std::unique_ptr<Tables> tables = [] {
    auto t = std::make_unique<Tables>();
    std::mt19937 random(5);
    std::uniform_int_distribution<int32_t> coordinate(-3000, 3000);
    for (int32_t i = 0; i < kMaxEntries; ++i) {
      char16_t number[12];
      U16FormatInt(static_cast<int32_t>(random() % 100000), number);
      const std::u16string text = u"Document " + std::u16string(number) + u" - Some Application Window (\u4e2d)";
      WindowEntry& w = t->windows.Entries[i];
      U16CopyTruncated(w.Title, kTextCapacity, text);
      U16CopyTruncated(w.Class, kTextCapacity, u"ApplicationFrameWindowClass");
      w.Left = coordinate(random);
      w.Top = coordinate(random);
      w.Pos = static_cast<int32_t>(random() % 6);
      w.Width = 640 + coordinate(random) / 10;
      w.Height = 480 + coordinate(random) / 10;
      w.DesableStyle = 1;
      MenuEntry& m = t->menus.Entries[i];
      m.Left = coordinate(random);
      m.Top = coordinate(random);
      m.Pos = static_cast<int32_t>(random() % 6);
      m.Width = 200 + coordinate(random) / 20;
      m.Height = 200 + coordinate(random) / 20;
    }
    t->windows.Count = kMaxEntries;
    t->menus.Count = kMaxEntries;
    return t;
  }();
  return *tables;
}

void BM_ParseFullEntryText(benchmark::State& state) {
  const std::u16string text = ComposeEntryText(FullTables().windows, FullTables().menus);
  auto out = std::make_unique<Tables>();
  for (auto _ : state) {
    IniDocument doc(text);
    ParseEntries(doc, out->windows, out->menus);
    benchmark::DoNotOptimize(out->windows.Entries[kMaxEntries - 1].Height);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * 2));
}
BENCHMARK(BM_ParseFullEntryText)->Unit(benchmark::kMicrosecond);

void BM_ComposeFullEntryText(benchmark::State& state) {
  for (auto _ : state) {
    std::u16string text = ComposeEntryText(FullTables().windows, FullTables().menus);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_ComposeFullEntryText)->Unit(benchmark::kMicrosecond);

void BM_SortFullWindowTable(benchmark::State& state) {
  auto table = std::make_unique<WindowTable>();
  for (auto _ : state) {
    state.PauseTiming();
    *table = FullTables().windows;
    state.ResumeTiming();
    SortWindowTable(*table);
  }
}
BENCHMARK(BM_SortFullWindowTable)->Unit(benchmark::kMicrosecond);

void BM_SortFullMenuTable(benchmark::State& state) {
  auto table = std::make_unique<MenuTable>();
  for (auto _ : state) {
    state.PauseTiming();
    *table = FullTables().menus;
    state.ResumeTiming();
    SortMenuTable(*table);
  }
}
BENCHMARK(BM_SortFullMenuTable)->Unit(benchmark::kMicrosecond);

// Files of many one-key sections, n and 4n of them: the time per byte must
// stay the same (a quadratic reader took over a minute for 160,000).
void BM_ReadOneKeySections(benchmark::State& state) {
  std::u16string text;
  for (int64_t i = 0; i < state.range(0); ++i) {
    char16_t number[12];
    text += u"[S" + std::u16string(number, U16FormatInt(static_cast<int32_t>(i), number)) + u"]\r\nk=v\r\n";
  }
  for (auto _ : state) {
    IniDocument doc(text);
    benchmark::DoNotOptimize(doc.KeyCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * 2));
}
BENCHMARK(BM_ReadOneKeySections)->Arg(40000)->Arg(160000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm
