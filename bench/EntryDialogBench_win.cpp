// qm_entrydialog_bench.exe: what the rule column costs the window entry
// dialog's list of running windows, over 200 windows of another program.
//
//   "Refresh" of the real dialog (the list with the rule column), once with
//   a rule that matches all 200 windows (each row then asks the window's
//   program for its rights and an answer) and once with no rules, against
//   the same list filled as it was before the column: class, title and
//   program per row, the columns fitted. Runs alternate, medians; the
//   dialog is hidden, as when it fills the list on opening.
//
// Run it from the build folder (qm_target.exe lies beside it).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "base/Win32Glue.h"
#include "dialogs/Dialogs_win.h"
#include "placement/RuleFacts_win.h"
#include "placement/RuleStanding_win.h"
#include "res/resource.h"
#include "tests/e2e/E2eSupport.h"

namespace {

constexpr int kWindows = 200;
constexpr int kRounds = 9;

qm::EntryStore g_store;

void SetCell(HWND list, int row, int column, char16_t* text) {
  LVITEMW cell = {};
  cell.iSubItem = column;
  cell.pszText = qm::AsWide(text);
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

// The list as the dialog filled it before the rule column.
BOOL CALLBACK ListWithoutRule(HWND window, LPARAM listParam) {
  HWND list = reinterpret_cast<HWND>(listParam);
  if (!qm::IsListedWindow(window)) return TRUE;
  const int row = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  char16_t text[qm::kTextCapacity] = {};
  GetClassNameW(window, qm::AsWide(text), qm::kTextCapacity);
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = row;
  item.pszText = qm::AsWide(text);
  item.lParam = row;
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  text[0] = u'\0';
  if (GetWindowTextW(window, qm::AsWide(text), qm::kTextCapacity) > 0) SetCell(list, row, 1, text);
  if (qm::ReadWindowProgram(window, text) > 0) SetCell(list, row, 2, text);
  return TRUE;
}

double TimeRefresh(HWND dialog) {
  const double start = bench::NowSeconds();
  SendMessageW(dialog, WM_COMMAND, IDC_REFRESH, 0);
  UpdateWindow(dialog);
  return bench::NowSeconds() - start;
}

double TimeBare(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_WINDOWLIST);
  const double start = bench::NowSeconds();
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  EnumWindows(ListWithoutRule, reinterpret_cast<LPARAM>(list));
  qm::FitListColumns(list, 3);
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(dialog);
  return bench::NowSeconds() - start;
}

void Measure(const char* name, HWND dialog) {
  std::vector<double> column, bare;
  for (int round = 0; round < kRounds; ++round) {
    column.push_back(TimeRefresh(dialog));
    bare.push_back(TimeBare(dialog));
  }
  const double c = bench::Median(column), b = bench::Median(bare);
  std::printf("%-34s %8.2f ms  without the column %8.2f ms  ratio %5.2f\n", name, c * 1000, b * 1000, c / b);
}

}  // namespace

int wmain() {
  qm::g_instance = GetModuleHandleW(nullptr);
  e2e::MakeDriverDpiAware();
  InitCommonControls();
  e2e::Target target;
  if (!target.Start(L"--class QmDialogBench --count " + std::to_wstring(kWindows), kWindows)) {
    std::printf("target did not start\n");
    return 1;
  }
  qm::DialogRequest request{&g_store, -1, nullptr};
  HWND dialog = CreateDialogParamW(qm::g_instance, MAKEINTRESOURCEW(IDD_WINDOWENTRY), nullptr,
                                   qm::WindowEntryDialogProc, qm::DialogParam(request));
  if (dialog == nullptr) {
    std::printf("the dialog did not open\n");
    return 1;
  }
  // Hidden, as the list is when the dialog fills it on opening: a shown list
  // repaints after every row under Wine, which would drown what is measured.
  ShowWindow(dialog, SW_HIDE);
  std::printf("%d windows of another program; medians of %d runs\n", kWindows, kRounds);
  Measure("no rules", dialog);
  g_store.windows.Count = 1;
  lstrcpynW(qm::AsWide(g_store.windows.Entries[0].Title), L"Bench", qm::kTextCapacity);
  lstrcpynW(qm::AsWide(g_store.windows.Entries[0].Class), L"QmDialogBench", qm::kTextCapacity);
  Measure("a rule matching every window", dialog);
  DestroyWindow(dialog);
  return 0;
}
