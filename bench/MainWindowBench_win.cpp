// qm_mainwindow_bench.exe: figures for the main window, each against a
// baseline measured in the same run.
//
// 1. Start-up to idle: Quillmere.exe from CreateProcess until its main
//    window answers through the message loop, with 512 window entries and
//    512 presets on disk against no files at all.
// 2. One whole rebuild of the shown 512-row window view (RefreshWindowView,
//    painted) against inserting the same texts into a bare list view, once
//    shown (it repaints as rows arrive) and once hidden (nothing painted).
//
// Run it from the build folder (Quillmere.exe lies beside it).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "app/AppState_win.h"
#include "app/MainWindow_win.h"
#include "base/Dpi_win.h"
#include "base/Win32Glue.h"
#include "entries/EntryText_win.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"

namespace {

qm::EntryStore g_benchStore;
qm::WindowTable& g_windowTable = g_benchStore.windows;

constexpr int kRows = qm::kMaxEntries;
constexpr int kStartRuns = 7;
constexpr int kRebuildRuns = 7;

using bench::Median;

double NowMs() { return 1000.0 * bench::NowSeconds(); }

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::wstring ExeDir() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  return dir.substr(0, dir.find_last_of(L'\\'));
}

void WriteUtf16(const std::wstring& path, const std::wstring& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const wchar_t bom = 0xFEFF;
  WriteFile(file, &bom, sizeof(bom), &written, nullptr);
  WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
}

std::wstring FullEntryFile() {
  std::wstring text = L"[Window]\r\nItem=" + std::to_wstring(kRows) + L"\r\n";
  for (int i = 1; i <= kRows; ++i) {
    const std::wstring n = std::to_wstring(i);
    text += L"Title" + n + L"=ウィンドウ " + std::to_wstring(1000 + i) + L"\r\nClass" + n + L"=BenchClass" + n +
            L"\r\nDesablePos" + n + L"=0\r\nLeft" + n + L"=" + std::to_wstring(i) + L"\r\nTop" + n + L"=" +
            std::to_wstring(i) + L"\r\nPos" + n + L"=" + std::to_wstring(i % 6) + L"\r\nDesableSize" + n +
            L"=0\r\nWidth" + n + L"=640\r\nHeight" + n + L"=480\r\nDesableStyle" + n + L"=1\r\nBorder" + n +
            L"=0\r\nDialogFrame" + n + L"=0\r\nThickFrame" + n + L"=0\r\n";
  }
  text += L"[Menu]\r\nItem=" + std::to_wstring(kRows) + L"\r\n";
  for (int i = 1; i <= kRows; ++i) {
    const std::wstring n = std::to_wstring(i);
    text += L"DesablePos" + n + L"=0\r\nLeft" + n + L"=" + std::to_wstring(i) + L"\r\nTop" + n + L"=0\r\nPos" + n +
            L"=0\r\nDesableSize" + n + L"=0\r\nWidth" + n + L"=" + std::to_wstring(100 + i) + L"\r\nHeight" + n +
            L"=100\r\n";
  }
  return text;
}

struct FindMain {
  DWORD processId;
  HWND main;
  bool dummy;
};

BOOL CALLBACK FindWindows(HWND window, LPARAM lParam) {
  auto* find = reinterpret_cast<FindMain*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != find->processId) return TRUE;
  wchar_t className[64] = {}, title[64] = {};
  GetClassNameW(window, className, 64);
  GetWindowTextW(window, title, 64);
  if (lstrcmpW(className, L"Quillmere") == 0) find->main = window;
  if (lstrcmpiW(className, L"Static") == 0 && lstrcmpW(title, L"Dummy") == 0) find->dummy = true;
  return TRUE;
}

// Milliseconds from CreateProcess until the started program's main window
// answers through its message loop (start-up has finished: the Dummy window
// comes after the views). -1 on failure.
double TimeStartup(const std::wstring& dir) {
  const std::wstring exe = ExeDir() + L"\\Quillmere.exe";
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  const double start = NowMs();
  if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                      &info)) {
    return -1;
  }
  FindMain find = {info.dwProcessId, nullptr, false};
  double elapsed = -1;
  for (;;) {
    find.main = nullptr;
    find.dummy = false;
    EnumWindows(FindWindows, reinterpret_cast<LPARAM>(&find));
    DWORD_PTR result = 0;
    if (find.main != nullptr && find.dummy &&
        SendMessageTimeoutW(find.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result) != 0) {
      elapsed = NowMs() - start;
      break;
    }
    if (NowMs() - start > 30000 || WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) break;
    Sleep(0);
  }
  if (find.main != nullptr) PostMessageW(find.main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return elapsed;
}

std::wstring MakeTempDir(const wchar_t* name) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::wstring dir = std::wstring(base) + L"qm-mainwindow-bench-" + name + L"-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

void RemoveDir(const std::wstring& dir) {
  DeleteFileW((dir + L"\\Config.ini").c_str());
  DeleteFileW((dir + L"\\Entry.ini").c_str());
  RemoveDirectoryW(dir.c_str());
}

void BenchStartup() {
  const std::wstring empty = MakeTempDir(L"empty");
  const std::wstring full = MakeTempDir(L"full");
  const std::wstring entries = FullEntryFile();
  TimeStartup(empty);  // the first start of a session is slower for both
  std::vector<double> emptyTimes, fullTimes;
  for (int run = 0; run < kStartRuns; ++run) {
    // Exit saves; both folders go back to their starting state each time.
    DeleteFileW((empty + L"\\Config.ini").c_str());
    DeleteFileW((empty + L"\\Entry.ini").c_str());
    WriteUtf16(full + L"\\Entry.ini", entries);
    DeleteFileW((full + L"\\Config.ini").c_str());
    emptyTimes.push_back(TimeStartup(empty));
    fullTimes.push_back(TimeStartup(full));
  }
  RemoveDir(empty);
  RemoveDir(full);
  const double e = Median(emptyTimes), f = Median(fullTimes);
  std::printf("start-up to idle, median of %d: no files %.1f ms, 512 window entries + 512 presets %.1f ms, "
              "ratio %.2f\n",
              kStartRuns, e, f, f / e);
}

// The main window's own procedure without its WM_DESTROY, which would end
// this process's message loop and take a tray icon away.
LRESULT CALLBACK BenchMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) return 0;
  return qm::MainWindowProc(window, message, wParam, lParam);
}

void FillWindowTable() {
  std::memset(&g_windowTable, 0, sizeof(g_windowTable));
  for (int i = 0; i < kRows; ++i) {
    qm::WindowEntry& entry = g_windowTable.Entries[i];
    lstrcpynW(qm::AsWide(entry.Title), (L"ウィンドウ " + std::to_wstring(1000 + i)).c_str(), qm::kTextCapacity);
    lstrcpynW(qm::AsWide(entry.Class), (L"BenchClass" + std::to_wstring(i)).c_str(), qm::kTextCapacity);
    entry.Pos = i % qm::kPosCount;
    entry.Left = i;
    entry.Top = i;
    entry.Width = 640;
    entry.Height = 480;
  }
  g_windowTable.Count = kRows;
}

void InsertRows(HWND view, const std::vector<std::wstring>& cells) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  for (int row = 0; row < kRows; ++row) {
    item.iItem = row;
    for (int column = 0; column < 4; ++column) {
      item.iSubItem = column;
      item.pszText = const_cast<wchar_t*>(cells[static_cast<size_t>(row * 4 + column)].c_str());
      SendMessageW(view, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
  }
}

void BenchRebuild() {
  InitCommonControls();
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BenchMainProc;
  wc.hInstance = qm::g_instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
  wc.lpszClassName = L"QmMainWindowBench";
  RegisterClassExW(&wc);

  qm::g_store = &g_benchStore;
  g_benchStore.settings = qm::DefaultSettings(1920, 1080);
  FillWindowTable();
  qm::g_mainWindow = CreateWindowExW(0, wc.lpszClassName, L"Quillmere", WS_OVERLAPPEDWINDOW, 0, 0, 640, 600,
                                     nullptr, nullptr, qm::g_instance, nullptr);
  qm::g_mainMenu = GetMenu(qm::g_mainWindow);
  qm::CreateMainToolbar(qm::WindowDpi(qm::g_mainWindow));
  qm::CreateWindowView();
  qm::CreateMenuView();
  qm::ShowList(1);
  ShowWindow(qm::g_mainWindow, SW_SHOWNORMAL);
  UpdateWindow(qm::g_mainWindow);
  Pump();

  // The bare view: same place and size, four columns made once, the texts
  // composed beforehand so that only the inserting is timed.
  RECT place;
  GetWindowRect(qm::g_windowView, &place);
  MapWindowPoints(nullptr, qm::g_mainWindow, reinterpret_cast<POINT*>(&place), 2);
  HWND bare = CreateWindowExW(WS_EX_CLIENTEDGE, L"SysListView32", nullptr, WS_CHILD | LVS_REPORT, place.left,
                              place.top, place.right - place.left, place.bottom - place.top, qm::g_mainWindow,
                              nullptr, qm::g_instance, nullptr);
  for (int column = 0; column < 4; ++column) {
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 120;
    col.pszText = const_cast<wchar_t*>(L"column");
    SendMessageW(bare, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
  }
  std::vector<std::wstring> cells;
  const qm::EntryTexts texts;
  for (int i = 0; i < kRows; ++i) {
    const qm::WindowEntry& entry = g_windowTable.Entries[i];
    char16_t text[qm::kTextCapacity];
    cells.push_back(qm::AsWide(entry.Title));
    cells.push_back(qm::AsWide(entry.Class));
    texts.Position(entry, text);
    cells.push_back(qm::AsWide(text));
    texts.Size(entry, text);
    cells.push_back(qm::AsWide(text));
  }

  std::vector<double> rebuildTimes, hiddenRebuildTimes, bareShownTimes, bareHiddenTimes;
  for (int run = 0; run < kRebuildRuns; ++run) {
    ShowWindow(bare, SW_HIDE);
    ShowWindow(qm::g_windowView, SW_SHOW);
    Pump();
    double start = NowMs();
    qm::RefreshWindowView();
    UpdateWindow(qm::g_windowView);
    rebuildTimes.push_back(NowMs() - start);

    ShowWindow(qm::g_windowView, SW_HIDE);
    start = NowMs();
    qm::RefreshWindowView();
    hiddenRebuildTimes.push_back(NowMs() - start);
    for (bool shown : {true, false}) {
      SendMessageW(bare, LVM_DELETEALLITEMS, 0, 0);
      ShowWindow(bare, shown ? SW_SHOW : SW_HIDE);
      UpdateWindow(qm::g_mainWindow);
      Pump();
      start = NowMs();
      InsertRows(bare, cells);
      UpdateWindow(bare);
      (shown ? bareShownTimes : bareHiddenTimes).push_back(NowMs() - start);
    }
  }
  const double r = Median(rebuildTimes), shownBare = Median(bareShownTimes), hiddenBare = Median(bareHiddenTimes);
  std::printf("512-row window view, median of %d runs:\n"
              "  bare list view, shown, rows inserted one by one: %.2f ms\n"
              "  bare list view, hidden (nothing painted):        %.2f ms\n"
              "  RefreshWindowView of the shown view, painted:     %.2f ms\n"
              "  RefreshWindowView of the hidden view:             %.2f ms\n"
              "  ratio rebuild / bare shown %.3f, rebuild / bare hidden %.2f\n",
              kRebuildRuns, shownBare, hiddenBare, r, Median(hiddenRebuildTimes), r / shownBare, r / hiddenBare);
  DestroyWindow(qm::g_mainWindow);
}

}  // namespace

int main() {
  qm::g_instance = GetModuleHandleW(nullptr);
  const qm::test::TrayKeeper keeper(L"qm-bench");
  BenchRebuild();
  BenchStartup();
  return 0;
}
