// qm_entrydialog_bench.exe: the window entry dialog's running-window list
// with its rule column, against a baseline measured in the same run.
//
// 200 visible top-level windows (another thread's, so that the bounded
// "does it answer" check crosses threads as it does for other programs)
// are listed by the dialog's Refresh:
//   - with a rule that matches every one of them (each row asks its window
//     for its rights and an answer),
//   - with no rules (each row says that no entry matches),
// against the list as it was before the column: the same windows filtered
// the same way, class, title and program into a bare three-column list
// view of the same size, columns fitted; and that bare list filled with its
// drawing off, as the dialog now fills its own. Rounds alternate so that drift
// falls on all four alike; medians are reported.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "BenchTiming.h"
#include "base/Win32Glue.h"
#include "dialogs/Dialogs_win.h"
#include "entries/EntryStore_win.h"
#include "placement/RuleFacts_win.h"
#include "placement/RuleStanding_win.h"
#include "res/resource.h"

namespace {

constexpr int kWindows = 200;
constexpr int kRounds = 9;
constexpr wchar_t kTargetClass[] = L"QmListBench";

qm::EntryStore g_store;
HANDLE g_targetsReady = nullptr;

DWORD WINAPI TargetThread(LPVOID) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kTargetClass;
  RegisterClassW(&windowClass);
  for (int i = 0; i < kWindows; ++i) {
    wchar_t title[32];
    swprintf(title, 32, L"Bench window %d", i);
    CreateWindowExW(0, kTargetClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10 + i, 10 + i, 200, 100, nullptr,
                    nullptr, windowClass.hInstance, nullptr);
  }
  SetEvent(g_targetsReady);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The list as it was before the rule column: what the dialog's filling did
// then, into a bare list view.
BOOL CALLBACK ListBare(HWND window, LPARAM viewParam) {
  HWND view = reinterpret_cast<HWND>(viewParam);
  if (!qm::IsListedWindow(window)) return TRUE;
  const int row = static_cast<int>(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
  char16_t text[qm::kTextCapacity] = {};
  GetClassNameW(window, qm::AsWide(text), qm::kTextCapacity);
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = row;
  item.pszText = qm::AsWide(text);
  item.lParam = row;
  SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  LVITEMW cell = {};
  cell.pszText = qm::AsWide(text);
  text[0] = u'\0';
  if (GetWindowTextW(window, qm::AsWide(text), qm::kTextCapacity) > 0) {
    cell.iSubItem = 1;
    SendMessageW(view, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  }
  if (qm::ReadWindowProgram(window, text) > 0) {
    cell.iSubItem = 2;
    SendMessageW(view, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  }
  return TRUE;
}

double TimeBare(HWND view, bool drawingOff) {
  const double start = bench::NowSeconds();
  SendMessageW(view, LVM_DELETEALLITEMS, 0, 0);
  if (drawingOff) SendMessageW(view, WM_SETREDRAW, FALSE, 0);
  EnumWindows(ListBare, reinterpret_cast<LPARAM>(view));
  if (drawingOff) SendMessageW(view, WM_SETREDRAW, TRUE, 0);
  qm::FitListColumns(view, 3);
  InvalidateRect(view, nullptr, TRUE);
  UpdateWindow(view);
  return bench::NowSeconds() - start;
}

double TimeRefresh(HWND dialog) {
  const double start = bench::NowSeconds();
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED), 0);
  UpdateWindow(GetDlgItem(dialog, IDC_WINDOWLIST));
  return bench::NowSeconds() - start;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&controls);
  g_targetsReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CreateThread(nullptr, 0, TargetThread, nullptr, 0, nullptr);
  WaitForSingleObject(g_targetsReady, INFINITE);

  qm::DialogRequest request = {&g_store, -1, nullptr};
  HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_WINDOWENTRY), nullptr,
                                   qm::WindowEntryDialogProc, qm::DialogParam(request));
  ShowWindow(dialog, SW_SHOWNA);
  RECT listRect;
  GetWindowRect(GetDlgItem(dialog, IDC_WINDOWLIST), &listRect);
  HWND bare = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | WS_VISIBLE | LVS_REPORT, listRect.left,
                              listRect.bottom + 20, listRect.right - listRect.left, listRect.bottom - listRect.top,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(bare, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int column = 0; column < 3; ++column) {
    LVCOLUMNW header = {};
    header.mask = LVCF_TEXT;
    header.pszText = const_cast<wchar_t*>(L"Column");
    SendMessageW(bare, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
  }
  Pump();

  qm::WindowEntry matchAll = {};
  for (size_t i = 0; kTargetClass[i] != 0; ++i) matchAll.Class[i] = static_cast<char16_t>(kTargetClass[i]);
  std::vector<double> bareTimes, quietTimes, matchedTimes, unmatchedTimes;
  for (int round = 0; round < kRounds; ++round) {
    bareTimes.push_back(TimeBare(bare, false));
    Pump();
    quietTimes.push_back(TimeBare(bare, true));
    Pump();
    g_store.Put(0, matchAll);
    matchedTimes.push_back(TimeRefresh(dialog));
    Pump();
    const int32_t first = 0;
    g_store.Delete(qm::EntryList::Windows, &first, 1);
    unmatchedTimes.push_back(TimeRefresh(dialog));
    Pump();
  }
  const int rows = static_cast<int>(SendDlgItemMessageW(dialog, IDC_WINDOWLIST, LVM_GETITEMCOUNT, 0, 0));
  const double baseline = bench::Median(bareTimes);
  std::printf("running-window list, %d rows (%d bench windows), median of %d rounds\n", rows, kWindows, kRounds);
  std::printf("  before the rule column (bare list, baseline): %.2f ms\n", 1000 * baseline);
  std::printf("  the same, filled with its drawing off:         %.2f ms = %.2fx\n", 1000 * bench::Median(quietTimes),
              bench::Median(quietTimes) / baseline);
  std::printf("  with the column, a rule matching every window: %.2f ms = %.2fx\n",
              1000 * bench::Median(matchedTimes), bench::Median(matchedTimes) / baseline);
  std::printf("  with the column, no rules:                     %.2f ms = %.2fx\n",
              1000 * bench::Median(unmatchedTimes), bench::Median(unmatchedTimes) / baseline);
  DestroyWindow(dialog);
  DestroyWindow(bare);
  return 0;
}
