// Times LoadAll and SaveAll on full tables (512 window entries, 512
// presets) against the key-by-key private-profile functions on the same
// content, in the same run, and prints the ratios.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "base/Win32Glue.h"
#include "entries/EntryStore_win.h"

namespace {

using namespace qm;

EntryStore store;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double MedianSeconds(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = Now();
    work();
    times.push_back(Now() - start);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Plain titles and classes: the key-by-key writer drops leading blanks and
// quotes, and the comparison is about speed on equal content.
void FillFullTables() {
  store.settings = Settings{100, 200, 640, 480, 1, 0, 1, 0, 1, 0};
  for (int32_t i = 0; i < kMaxEntries; ++i) {
    WindowEntry& w = store.windows.Entries[i];
    wchar_t title[kTextCapacity];
    swprintf(title, kTextCapacity, L"Document %d - Some Application Window (\u4e2d\u592e)", i * 7919 % 100000);
    U16CopyTruncated(w.Title, kTextCapacity, AsU16(title));
    U16CopyTruncated(w.Class, kTextCapacity, u"ApplicationFrameWindowClass");
    w.Left = i * 3 - 700;
    w.Top = i * 2;
    w.Pos = i % 6;
    w.Width = 640 + i;
    w.Height = 480 + i;
    w.DesableStyle = i % 2;
    MenuEntry& m = store.menus.Entries[i];
    m.Left = -i;
    m.Top = i;
    m.Pos = i % 6;
    m.Width = 200 + i;
    m.Height = 100 + i;
  }
  store.windows.Count = kMaxEntries;
  store.menus.Count = kMaxEntries;
}

void Report(const char* what, double ours, double baseline) {
  std::printf("%-34s %10.2f ms   baseline %10.2f ms   baseline/ours = %8.1fx\n", what, ours * 1000.0, baseline * 1000.0,
              baseline / ours);
}

}  // namespace

int main() {
  test::ScratchDirectory dir;
  const std::wstring config = dir.File(L"Config.ini");
  const std::wstring entry = dir.File(L"Entry.ini");
  const std::wstring baseConfig = dir.File(L"BaseConfig.ini");
  const std::wstring baseEntry = dir.File(L"BaseEntry.ini");
  static Settings settings;
  static WindowTable windows;
  static MenuTable menus;

  store.Load();  // remembers the scratch directory's file names
  FillFullTables();
  static WindowTable filled;
  filled = store.windows;

  // Warm-up: the first file operations of a fresh Wine session are slower.
  store.Save();
  store.Load();

  const double save = MedianSeconds(9, [] { store.Save(); });
  // One run: the platform rewrites the whole file for every key it writes,
  // so the baseline takes about a minute under Wine.
  const double saveBaseline = MedianSeconds(1, [&] {
    test::SaveKeyByKey(baseConfig, baseEntry, store.settings, store.windows, store.menus);
  });
  const bool sameBytes =
      test::ReadBytes(entry) == test::ReadBytes(baseEntry) && test::ReadBytes(config) == test::ReadBytes(baseConfig);
  std::printf("Entry.ini %zu bytes; byte for byte the same as written key by key: %s\n", test::ReadBytes(entry).size(),
              sameBytes ? "yes" : "no");
  Report("SaveAll, full tables", save, saveBaseline);

  const double load = MedianSeconds(9, [] { store.Load(); });
  const double loadBaseline = MedianSeconds(3, [&] {
    test::LoadKeyByKey(config, entry, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), settings, windows,
                       menus);
  });
  Report("LoadAll, full tables", load, loadBaseline);

  const bool same = std::memcmp(&windows, &store.windows, sizeof windows) == 0 &&
                    std::memcmp(&store.windows, &filled, sizeof filled) == 0 &&
                    std::memcmp(&menus, &store.menus, sizeof menus) == 0;
  std::printf("loaded tables equal the saved ones and the key-by-key reading: %s\n", same ? "yes" : "NO");

  // An Entry.ini of many one-key sections, n and 4n of them: LoadAll must
  // take about 4 times as long, not 16 (a quadratic reader took over a
  // minute for 160,000 before the program came up).
  auto manySections = [&](int count) {
    std::string bytes("\xFF\xFE", 2);
    auto append = [&](const std::string& ascii) {
      for (char c : ascii) bytes.append({c, '\0'});
    };
    append("[Window]\r\nItem=0\r\n[Menu]\r\nItem=0\r\n");
    for (int i = 0; i < count; ++i) append("[S" + std::to_string(i) + "]\r\nk=v\r\n");
    test::WriteBytes(entry, bytes);
    return MedianSeconds(3, [] { store.Load(); });
  };
  const double loadN = manySections(40000);
  const double load4N = manySections(160000);
  std::printf("LoadAll, 40,000 one-key sections    %10.2f ms\n", loadN * 1000.0);
  std::printf("LoadAll, 160,000 one-key sections   %10.2f ms   ratio 4n/n = %.1fx (linear 4x, quadratic 16x)\n",
              load4N * 1000.0, load4N / loadN);
  return same ? 0 : 1;
}
