// Window matching over a full table of 512 rules, the work FindWindowEntry
// does for every reported window (and for every visible window on
// initialise). Baselines in the same run: matching as it was before rules
// could name a program, and the obvious loop that measures each stored
// text and compares whole views.
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
    for (int32_t i = 0; i < kMaxEntries; ++i) {
      char16_t number[12];
      U16FormatInt(i, number);
      WindowEntry& e = t->Entries[i];
      U16CopyTruncated(e.Class, kTextCapacity, u"ApplicationFrameWindow_" + std::u16string(number));
      U16CopyTruncated(e.Title, kTextCapacity, u"Document " + std::u16string(number) + u" - Editor");
    }
    t->Count = kMaxEntries;
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

int32_t Match(const WindowTable& table, U16View cls, U16View title) { return MatchWindowEntry(table, cls, title); }

// Matching as it was before rules could name a program: the class pass and
// the title pass with the same early-out comparisons, no program check.
// The baseline for the cost of the program pass and checks.
bool EqualsStoredBefore(const char16_t* stored, U16View text) {
  for (char16_t c : text) {
    if (*stored != c) return false;
    ++stored;
  }
  return *stored == u'\0';
}
int32_t MatchBefore(const WindowTable& table, U16View cls, U16View title) {
  if (!cls.empty()) {
    for (int32_t i = 0; i < table.Count; ++i) {
      if (EqualsStoredBefore(table.Entries[i].Class, cls)) return i;
    }
  }
  for (int32_t i = 0; i < table.Count; ++i) {
    const char16_t* t = table.Entries[i].Title;
    if (t[0] != u'\0' && U16Contains(title, U16ViewOf(t))) return i;
  }
  return -1;
}

template <int32_t (*MatchFn)(const WindowTable&, U16View, U16View)>
void Run(benchmark::State& state, U16View cls, U16View title, int32_t expected) {
  const WindowTable& table = FullTable();
  if (MatchFn(table, cls, title) != expected) state.SkipWithError("wrong match");
  for (auto _ : state) {
    benchmark::DoNotOptimize(cls.data());
    benchmark::DoNotOptimize(MatchFn(table, cls, title));
  }
}

void BM_WindowMatch_ClassIsLast(benchmark::State& s) { Run<Match>(s, kLastClass, kOtherTitle, 511); }
void BM_WindowMatch_TitleIsLast(benchmark::State& s) { Run<Match>(s, kOtherClass, kLastTitle, 511); }
void BM_WindowMatch_Nothing(benchmark::State& s) { Run<Match>(s, kOtherClass, kOtherTitle, -1); }
void BM_WindowMatchBefore_ClassIsLast(benchmark::State& s) { Run<MatchBefore>(s, kLastClass, kOtherTitle, 511); }
void BM_WindowMatchBefore_TitleIsLast(benchmark::State& s) { Run<MatchBefore>(s, kOtherClass, kLastTitle, 511); }
void BM_WindowMatchBefore_Nothing(benchmark::State& s) { Run<MatchBefore>(s, kOtherClass, kOtherTitle, -1); }
void BM_WindowMatchObvious_ClassIsLast(benchmark::State& s) { Run<ObviousMatch>(s, kLastClass, kOtherTitle, 511); }
void BM_WindowMatchObvious_TitleIsLast(benchmark::State& s) { Run<ObviousMatch>(s, kOtherClass, kLastTitle, 511); }
void BM_WindowMatchObvious_Nothing(benchmark::State& s) { Run<ObviousMatch>(s, kOtherClass, kOtherTitle, -1); }

// 512 rules that all name a program, with names sharing a long prefix and
// differing in case from the window's ("Tool511.EXE" against
// "tool511.exe"): even rules have a class as well, odd ones only the
// program. What FindWindowEntry does for such a table: see that some rule
// names a program, then match with the window's program.
const WindowTable& ProgramTable() {
  static const std::unique_ptr<WindowTable> table = [] {
    auto t = std::make_unique<WindowTable>(FullTable());
    for (int32_t i = 0; i < kMaxEntries; ++i) {
      char16_t number[12];
      U16FormatInt(i, number);
      WindowEntry& e = t->Entries[i];
      U16CopyTruncated(e.Process, kTextCapacity, u"CompanyTool" + std::u16string(number) + u".EXE");
      if (i % 2 != 0) e.Class[0] = u'\0';
    }
    return t;
  }();
  return *table;
}

void RunProgram(benchmark::State& state, U16View cls, U16View title, U16View program, int32_t expected) {
  const WindowTable& table = ProgramTable();
  const auto match = [&] {
    return MatchWindowEntry(table, cls, title, TableNamesProgram(table) ? program : U16View());
  };
  if (match() != expected) state.SkipWithError("wrong match");
  for (auto _ : state) {
    benchmark::DoNotOptimize(program.data());
    benchmark::DoNotOptimize(match());
  }
}

constexpr char16_t kLastProgram[] = u"companytool511.exe";
constexpr char16_t kOtherProgram[] = u"companytool9999.exe";

void BM_ProgramMatch_ProgramIsLast(benchmark::State& s) { RunProgram(s, kOtherClass, kOtherTitle, kLastProgram, 511); }
void BM_ProgramMatch_ClassAndProgramIsLast(benchmark::State& s) {
  RunProgram(s, u"ApplicationFrameWindow_510", kOtherTitle, u"companytool510.exe", 510);
}
void BM_ProgramMatch_TitleIsLast(benchmark::State& s) { RunProgram(s, kOtherClass, kLastTitle, kLastProgram, 511); }
void BM_ProgramMatch_Nothing(benchmark::State& s) { RunProgram(s, kOtherClass, kOtherTitle, kOtherProgram, -1); }

BENCHMARK(BM_WindowMatch_ClassIsLast);
BENCHMARK(BM_WindowMatchBefore_ClassIsLast);
BENCHMARK(BM_WindowMatchObvious_ClassIsLast);
BENCHMARK(BM_WindowMatch_TitleIsLast);
BENCHMARK(BM_WindowMatchBefore_TitleIsLast);
BENCHMARK(BM_WindowMatchObvious_TitleIsLast);
BENCHMARK(BM_WindowMatch_Nothing);
BENCHMARK(BM_WindowMatchBefore_Nothing);
BENCHMARK(BM_WindowMatchObvious_Nothing);
BENCHMARK(BM_ProgramMatch_ClassAndProgramIsLast);
BENCHMARK(BM_ProgramMatch_ProgramIsLast);
BENCHMARK(BM_ProgramMatch_TitleIsLast);
BENCHMARK(BM_ProgramMatch_Nothing);

}  // namespace
}  // namespace qm
