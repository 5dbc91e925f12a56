// Window matching over a full table of 512 rules, the work FindWindowEntry
// does for every reported window (and for every visible window on
// initialise). Baseline in the same run: the obvious loop that measures
// each stored text and compares whole views.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "entries/EntryTable.h"
#include "placement/Placement.h"

namespace qm {
namespace {

// Realistic rules: class names and titles that share long prefixes (as
// "Afx:..." classes and "Document N - App" titles do), so comparisons do
// not stop at the first code unit. The last rule is the one that matches.
const WindowTable& FullTable() {
  static const std::unique_ptr<WindowTable> table = [] {
    auto t = std::make_unique<WindowTable>();
    std::memset(t.get(), 0, sizeof(WindowTable));
    for (int32_t i = 0; i < MaxEntries; ++i) {
      char16_t number[12];
      U16FormatInt(i, number);
      WindowEntry& e = t->Entries[i];
      U16CopyTruncated(e.Class, TextCapacity, u"ApplicationFrameWindow_" + std::u16string(number));
      U16CopyTruncated(e.Title, TextCapacity, u"Document " + std::u16string(number) + u" - Editor");
    }
    t->Count = MaxEntries;
    return t;
  }();
  return *table;
}

constexpr char16_t kLastClass[] = u"ApplicationFrameWindow_511";
constexpr char16_t kLastTitle[] = u"Report: Document 511 - Editor (read only)";
constexpr char16_t kOtherClass[] = u"ApplicationFrameWindow_X";
constexpr char16_t kOtherTitle[] = u"Untitled - Notepad, nothing like the rules";

int32_t ObviousMatch(const WindowTable& table, U16View cls, U16View title) {
  if (!cls.empty()) {
    for (int32_t i = 0; i < table.Count; ++i) {
      if (U16ViewOf(table.Entries[i].Class) == cls) return i;
    }
  }
  for (int32_t i = 0; i < table.Count; ++i) {
    U16View t = U16ViewOf(table.Entries[i].Title);
    if (!t.empty() && title.find(t) != U16View::npos) return i;
  }
  return -1;
}

template <int32_t (*Match)(const WindowTable&, U16View, U16View)>
void Run(benchmark::State& state, U16View cls, U16View title, int32_t expected) {
  const WindowTable& table = FullTable();
  if (Match(table, cls, title) != expected) state.SkipWithError("wrong match");
  for (auto _ : state) {
    benchmark::DoNotOptimize(cls.data());
    benchmark::DoNotOptimize(Match(table, cls, title));
  }
}

void BM_WindowMatch_ClassIsLast(benchmark::State& s) { Run<MatchWindowEntry>(s, kLastClass, kOtherTitle, 511); }
void BM_WindowMatch_TitleIsLast(benchmark::State& s) { Run<MatchWindowEntry>(s, kOtherClass, kLastTitle, 511); }
void BM_WindowMatch_Nothing(benchmark::State& s) { Run<MatchWindowEntry>(s, kOtherClass, kOtherTitle, -1); }
void BM_WindowMatchObvious_ClassIsLast(benchmark::State& s) { Run<ObviousMatch>(s, kLastClass, kOtherTitle, 511); }
void BM_WindowMatchObvious_TitleIsLast(benchmark::State& s) { Run<ObviousMatch>(s, kOtherClass, kLastTitle, 511); }
void BM_WindowMatchObvious_Nothing(benchmark::State& s) { Run<ObviousMatch>(s, kOtherClass, kOtherTitle, -1); }

BENCHMARK(BM_WindowMatch_ClassIsLast);
BENCHMARK(BM_WindowMatchObvious_ClassIsLast);
BENCHMARK(BM_WindowMatch_TitleIsLast);
BENCHMARK(BM_WindowMatchObvious_TitleIsLast);
BENCHMARK(BM_WindowMatch_Nothing);
BENCHMARK(BM_WindowMatchObvious_Nothing);

}  // namespace
}  // namespace qm
