// The main window procedure and its handlers: the hub that hands
// hook-library, tray and user messages to the parts that handle them. The
// procedure comes last; every handler above it is this file's own.
#include "app/MainWindow_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/AppState_win.h"
#include "app/Commands_win.h"
#include "app/MenuHotkey_win.h"
#include "app/OneStepRule_win.h"
#include "app/Startup_win.h"
#include "base/Win32Glue.h"
#include "dialogs/Dialogs_win.h"
#include "hook/HookContract.h"
#include "hook/Readout_win.h"
#include "placement/Placement_win.h"
#include "placement/PresetPopup_win.h"
#include "placement/RuleStanding_win.h"
#include "res/resource.h"

namespace qm {

namespace {

bool WindowListShown() { return g_store->settings.List != 0; }

const EntryListView& ShownList() { return WindowListShown() ? kWindowListView : kMenuListView; }

void OpenDialog(int templateId, DLGPROC procedure, DialogRequest request) {
  // The dialogs hold common controls (hotkey, list view), whose library is
  // not loaded yet while the main window has never been shown.
  InitCommonControls();
  DialogBoxParamW(g_instance, MAKEINTRESOURCEW(templateId), g_mainWindow, procedure, DialogParam(request));
}

// index: the entry to change, -1 to add one.
void OpenEntryDialog(int32_t index) {
  const EntryListView& list = ShownList();
  OpenDialog(list.DialogId, list.DialogProc, DialogRequest{g_store, index, list.Refresh});
}

void ShowAbout() { ShowStringMessage(g_mainWindow, IDS_ABOUT_TEXT, IDS_ABOUT_CAPTION, MB_OK); }

// A full table has no slot left for the dialog's OK to fill, so the add is
// refused before the user types anything into a dialog that cannot store it.
void AddEntry() {
  if (g_store->Count(ShownList().List) >= kMaxEntries) {
    ShowStringMessage(g_mainWindow, IDS_TABLE_FULL, 0, MB_OK | MB_ICONINFORMATION);
    return;
  }
  OpenEntryDialog(-1);
}

void ChangeEntry() {
  const int32_t row = FirstSelectedRow(*ShownList().View);
  if (row < 0) return;
  OpenEntryDialog(row);
}

// Deletion asks first: only an explicit yes deletes, since a message box
// that could not be shown (result 0) must not count as consent. It keeps
// the order of the rest and writes nothing: the files follow at the next
// save (OK in a dialog, or exit).
void DeleteSelectedEntries() {
  const EntryListView& list = ShownList();
  if (FirstSelectedRow(*list.View) < 0) return;
  if (ShowStringMessage(g_mainWindow, IDS_DELETE_CONFIRM, IDS_DELETE, MB_YESNO) != IDYES) return;
  int32_t rows[kMaxEntries];
  const int32_t count = SelectedRows(*list.View, rows, kMaxEntries);
  if (count == 0) return;
  g_store->Delete(list.List, rows, count);
  list.Refresh();
}

void OpenSettings() {
  OpenDialog(IDD_SETTINGS, SettingsDialogProc, DialogRequest{g_store, -1, nullptr});
  ApplyHotkeys(g_mainWindow);
}

// The toolbar's switch goes through the menu commands so that both roads
// do exactly the same.
void SwitchList() {
  SendMessageW(g_mainWindow, WM_COMMAND, WindowListShown() ? IDM_MENULIST : IDM_WINDOWLIST, 0);
}

// Commands that open a dialog or message box, or change a table.
bool OpensOrEdits(int id) {
  switch (id) {
    case IDM_ABOUT:
    case IDM_ADD:
    case IDM_CHANGE:
    case IDM_SETTINGS:
    case IDM_DELETE:
      return true;
    default:
      return false;
  }
}

// Windows disables the owner of a modal dialog or message box for as long as
// it is open, and every dialog and box of the program is owned by the main
// window or by one of its dialogs. Another program can still post commands
// then; one that opened a second dialog over the first would re-set the
// entry being edited (the outer OK then overwrote another rule), and a flood
// of them nested boxes until the stack ran out.
bool ModalWindowOpen() { return !IsWindowEnabled(g_mainWindow); }

// Whether the notice about elevated programs has been shown this session.
bool g_elevatedNoticeShown;

// The first window of an elevated program that a rule matches: one tray
// notification saying why it stays put and how to fix it.
void NoticeElevatedWindow() {
  if (g_elevatedNoticeShown) return;
  g_elevatedNoticeShown = true;
  wchar_t text[kTextCapacity];
  LoadText(IDS_ELEVATED_TEXT, text);
  ShowTrayNotice(IDS_ELEVATED_TITLE, text, NIIF_WARNING);
}

// What placement reports elevated windows to: nobody once the notice was
// shown, or when this process runs elevated itself (it can move them), so
// that no elevation is read then.
using ElevatedReport = void (*)();
bool g_selfElevationRead;

ElevatedReport ElevatedListener() {
  if (!g_selfElevationRead) {
    g_selfElevationRead = true;
    if (SelfElevated()) g_elevatedNoticeShown = true;
  }
  return g_elevatedNoticeShown ? nullptr : NoticeElevatedWindow;
}

// A rule made in one step from window (Shift + middle click, or the rule
// hotkey). Not while a dialog or box is open: an entry dialog keeps the
// index of the entry it edits, and storing sorts the table under it.
void MakeRuleInOneStep(HWND window) {
  if (ModalWindowOpen()) {
    wchar_t text[kTextCapacity];
    LoadText(IDS_ONESTEP_BUSY, text);
    ShowTrayNotice(IDS_ONESTEP_TITLE, text, NIIF_WARNING);
    return;
  }
  if (MakeRuleFromWindow(*g_store, window, g_mainWindow)) RefreshWindowView();
}

void OnHotkey(int id) {
  HWND target = nullptr;
  switch (id) {
    case kRuleHotkeyId:
      target = ForegroundUserWindow();
      if (target != nullptr) MakeRuleInOneStep(target);
      break;
    default:
      OnMenuHotkey(id);
      break;
  }
}

void OnCommand(int id) {
  if (OpensOrEdits(id) && ModalWindowOpen()) return;
  switch (id) {
    case IDM_ABOUT:
      ShowAbout();
      break;
    case IDM_ADD:
      AddEntry();
      break;
    case IDM_CHANGE:
      ChangeEntry();
      break;
    case IDM_SETTINGS:
      OpenSettings();
      break;
    case IDM_DELETE:
      DeleteSelectedEntries();
      break;
    case IDM_EXIT:
      ExitProgram();
      break;
    case IDM_INITIALISE:
      ApplyToAllWindows(g_store->windows, ElevatedListener());
      break;
    case IDM_MENULIST:
      ShowList(0);
      break;
    case IDM_WINDOWLIST:
      ShowList(1);
      break;
    case IDM_SWITCHLIST:
      SwitchList();
      break;
    default:
      break;
  }
}

// The toolbar registers each button as a tool whose id is the button's
// command; the string with that id is its tip, loaded by the tooltip control
// itself from our resources.
void SupplyToolbarTip(NMTTDISPINFOW* info) {
  info->hinst = g_instance;
  info->lpszText = MAKEINTRESOURCEW(LOWORD(info->hdr.idFrom));
}

// Whichever control sends them: the toolbar forwards its tooltip's request,
// and a double-click on a row of either view means "change".
LRESULT OnNotify(const NMHDR* header) {
  switch (header->code) {
    case TTN_GETDISPINFOW:
      // The record belongs to the tooltip control and is ours to fill.
      SupplyToolbarTip(reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header)));
      break;
    case NM_DBLCLK:
      SendMessageW(g_mainWindow, WM_COMMAND, IDM_CHANGE, 0);
      break;
    default:
      break;
  }
  return 0;
}

void HideMainWindow() {
  ShowWindow(g_mainWindow, SW_HIDE);
  SetForegroundWindow(g_mainWindow);
}

// The click decides from what is on screen: Win+D and Win+M minimise the
// window without SC_MINIMIZE, so a remembered flag would say "shown" while
// nothing shows and the next click would hide it instead of bringing it back.
bool MainWindowOnScreen() { return IsWindowVisible(g_mainWindow) && !IsIconic(g_mainWindow); }

void ToggleMainWindow() {
  if (MainWindowOnScreen()) {
    HideMainWindow();
  } else {
    // SW_RESTORE brings a minimised window back at its place; SW_SHOWNORMAL
    // does the same for a hidden one.
    ShowWindow(g_mainWindow, IsIconic(g_mainWindow) ? SW_RESTORE : SW_SHOWNORMAL);
    SetForegroundWindow(g_mainWindow);
  }
}

void OnTrayMessage(LPARAM lParam) {
  switch (LOWORD(lParam)) {
    case WM_LBUTTONUP:
      ToggleMainWindow();
      break;
    case WM_RBUTTONUP:
      // Initialise only: the main window stays as it is and no menu opens.
      SendMessageW(g_mainWindow, WM_COMMAND, IDM_INITIALISE, 0);
      break;
    default:
      break;
  }
}

void OnSize(WPARAM wParam, LPARAM lParam) {
  // A WM_SIZE during CreateWindowEx comes before the children exist.
  if (g_toolbar == nullptr) return;
  SendMessageW(g_toolbar, WM_SIZE, wParam, lParam);
  LayoutMainWindow();
}

// Moved onto a monitor of another scale (or the scale changed): toolbar
// images and the views' font for the new DPI, then the suggested rectangle,
// whose WM_SIZE lays the children out again.
void OnDpiChanged(HWND window, WPARAM wParam, const RECT* suggested) {
  if (g_toolbar != nullptr) {
    DestroyWindow(g_toolbar);
    CreateMainToolbar(HIWORD(wParam));
    SetViewsDpi(HIWORD(wParam));
  }
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The same size as before sends no WM_SIZE; the new toolbar's height
  // must still be taken into account.
  if (g_toolbar != nullptr) LayoutMainWindow();
}

LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  // Minimising hides the window instead: it lives in the tray.
  if (LOWORD(wParam) == SC_MINIMIZE) {
    HideMainWindow();
    return 0;
  }
  return DefWindowProcW(window, WM_SYSCOMMAND, wParam, lParam);
}

// Win+D and Win+M minimise the window without SC_MINIMIZE: its place is
// then its restore rectangle, not the parking spot.
void CaptureMainWindowRect() {
  RECT rect;
  if (!ReadRestoredRect(g_mainWindow, &rect)) return;
  Settings& settings = g_store->settings;
  settings.Left = rect.left;
  settings.Top = rect.top;
  settings.Width = rect.right - rect.left;
  settings.Height = rect.bottom - rect.top;
}

// WM_ENDSESSION: Windows is logging off or shutting down; save and clean up
// as at exit, without asking anything.
void OnEndSession(bool ending) {
  if (!ending || g_mainWindow == nullptr) return;
  CaptureMainWindowRect();
  // Nobody may be there to answer a box.
  g_store->Save();
  DestroyWindow(g_mainWindow);
}

// Following the desktop: every change restarts the one-shot settle timer;
// when it runs out with the monitors as they were at the last change, the
// window list is applied once. No timer runs otherwise.
DesktopSettle g_settle;

void OnDesktopChanged() {
  if (!FollowsDesktop(g_store->settings)) return;
  g_settle.OnChange(ReadDesktopLayout());
  SetTimer(g_mainWindow, kSettleTimer, kSettleMs, nullptr);  // the same id restarts it
}

void OnSettleTimer() {
  KillTimer(g_mainWindow, kSettleTimer);
  switch (g_settle.OnTimer(ReadDesktopLayout())) {
    case SettleStep::Wait:
      SetTimer(g_mainWindow, kSettleTimer, kSettleMs, nullptr);
      break;
    case SettleStep::Apply:
      // Turned off in the settings while the timer ran: nothing moves.
      if (FollowsDesktop(g_store->settings)) ReapplyToAllWindows(g_store->windows);
      break;
    case SettleStep::Nothing:
      break;
  }
}

// WM_SETTINGCHANGE: only a new work area (the taskbar moved, resized or
// hid) concerns the placements.
void OnSettingChange(WPARAM what) {
  if (what == SPI_SETWORKAREA) OnDesktopChanged();
}

// WM_POWERBROADCAST: monitors are often switched or re-ordered while the
// machine sleeps. Both resume events can arrive for one wake; the settle
// wait makes them one.
LRESULT OnPowerBroadcast(WPARAM event) {
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) OnDesktopChanged();
  return TRUE;
}

// Hook off, tray icon off, end the loop.
void OnDestroy() {
  KillTimer(g_mainWindow, kTrayRetryTimer);
  KillTimer(g_mainWindow, kSettleTimer);
  FreeHook();
  Shell_NotifyIconW(NIM_DELETE, &g_trayIcon);
  PostQuitMessage(0);
}

// Failed tries of the tray icon since it was last added; the retry waits
// grow with them.
int g_trayFailures;

UINT TrayRetryDelayMs(int failures) {
  constexpr UINT kFirstMs = 500;
  constexpr UINT kLongestMs = 8000;
  UINT delay = kFirstMs;
  for (int i = 1; i < failures && delay < kLongestMs; ++i) delay *= 2;
  return delay < kLongestMs ? delay : kLongestMs;
}

// The readout's rectangles, and the commands of a second copy.
LRESULT OnCopyDataMessage(const COPYDATASTRUCT* data) {
  if (data->dwData == MSG_COMMAND_REQUEST) {
    return AnswerCommandRequest(g_mainWindow, data, *g_store, ElevatedListener());
  }
  OnCopyData(g_mainWindow, data);
  return 0;
}

}  // namespace

// Both views are always current, so showing a list rebuilds nothing.
void ShowList(int list) {
  const bool windows = list != 0;
  ShowWindow(windows ? g_menuView : g_windowView, SW_HIDE);
  ShowWindow(windows ? g_windowView : g_menuView, SW_SHOW);
  CheckMenuItem(g_mainMenu, windows ? IDM_MENULIST : IDM_WINDOWLIST, MF_BYCOMMAND | MF_UNCHECKED);
  CheckMenuItem(g_mainMenu, windows ? IDM_WINDOWLIST : IDM_MENULIST, MF_BYCOMMAND | MF_CHECKED);
  g_store->settings.List = windows ? 1 : 0;
}

// Started with Windows, the program can run before the notification area
// exists: adding fails, and no "TaskbarCreated" need follow. The icon is
// tried again on a one-shot timer, armed only while it is not added, so an
// added icon costs no wake-ups. Should the shell have taken an icon yet
// answered too late, adding fails while modifying works: it is there.
void AddTrayIcon() {
  KillTimer(g_mainWindow, kTrayRetryTimer);
  if (Shell_NotifyIconW(NIM_ADD, &g_trayIcon) || Shell_NotifyIconW(NIM_MODIFY, &g_trayIcon)) {
    g_trayFailures = 0;
    return;
  }
  ++g_trayFailures;
  SetTimer(g_mainWindow, kTrayRetryTimer, TrayRetryDelayMs(g_trayFailures), nullptr);
}

void ShowTrayNotice(UINT titleId, const wchar_t* text, DWORD infoFlags) {
  NOTIFYICONDATAW notice = g_trayIcon;
  notice.uFlags = NIF_INFO;
  notice.dwInfoFlags = infoFlags;
  wchar_t title[kTextCapacity];
  LoadText(titleId, title);
  lstrcpynW(notice.szInfoTitle, title, ARRAYSIZE(notice.szInfoTitle));
  lstrcpynW(notice.szInfo, text, ARRAYSIZE(notice.szInfo));
  Shell_NotifyIconW(NIM_MODIFY, &notice);
}

void ExitProgram() {
  CaptureMainWindowRect();
  if (!g_store->Save()) ShowSaveFailure(g_mainWindow);
  DestroyWindow(g_mainWindow);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_SHOWWINDOW:
      if (wParam != FALSE) CreateMainWindowChildren();
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SIZE:
      OnSize(wParam, lParam);
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_SYSCOMMAND:
      return OnSysCommand(window, wParam, lParam);
    case WM_DPICHANGED:
      OnDpiChanged(window, wParam, reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      ExitProgram();
      return 0;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_COPYDATA:
      return OnCopyDataMessage(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case MSG_TIP_HIDE:
      HideReadout();
      return 0;
    case MSG_PLACE_WINDOW:
      PlaceReportedWindow(g_store->windows, reinterpret_cast<HWND>(wParam), ElevatedListener());
      return 0;
    case MSG_WINDOW_OFF_RULE: {
      const WindowRuleFacts rule = AskWindowRule(g_store->windows, reinterpret_cast<HWND>(wParam));
      return RuleAnswerResult(rule.off, rule.apply, rule.holdSeconds);
    }
    case MSG_MENU_WINDOW:
      ShowMenuEntryPopup(g_store->menus, reinterpret_cast<HWND>(wParam), g_dummyWindow);
      return 0;
    case WM_HOTKEY:
      OnHotkey(static_cast<int>(wParam));
      return 0;
    case MSG_RULE_WINDOW:
      MakeRuleInOneStep(reinterpret_cast<HWND>(wParam));
      return 0;
    case MSG_TRAY:
      OnTrayMessage(lParam);
      return 0;
    case MSG_STARTUP_NOTICE:
      ShowLoadFailure(g_mainWindow);
      return 0;
    case WM_TIMER:
      if (wParam == kTrayRetryTimer) AddTrayIcon();
      if (wParam == kSettleTimer) OnSettleTimer();
      return 0;
    // Windows broadcasts WM_DISPLAYCHANGE to top-level windows, hidden ones
    // included, when a monitor comes or goes or changes its resolution
    // ("WM_DISPLAYCHANGE message"). Wine sends none when the X server's
    // outputs change; the monitors it reports follow all the same.
    case WM_DISPLAYCHANGE:
    case MSG_DESKTOP_CHANGED:
      OnDesktopChanged();
      return 0;
    case WM_SETTINGCHANGE:
      OnSettingChange(wParam);
      return 0;
    case WM_POWERBROADCAST:
      return OnPowerBroadcast(wParam);
    case MSG_USER_MOVED:
      NoteUserMoved(reinterpret_cast<HWND>(wParam));
      return 0;
    case MSG_HOLD_GAVE_UP:
      NoteHoldGaveUp(reinterpret_cast<HWND>(wParam));
      return 0;
    default:
      if (message == g_taskbarCreatedMessage && message != 0) {
        AddTrayIcon();
        return 0;
      }
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace qm
