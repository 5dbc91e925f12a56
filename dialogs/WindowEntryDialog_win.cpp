// The window entry dialog: adds a window rule or changes one, with a list of
// the running windows from which the user takes a class, a title, a
// rectangle and frame styles.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <vector>

#include "base/Win32Glue.h"
#include "dialogs/EntryDialog_win.h"
#include "dialogs/WindowListOrder.h"
#include "entries/EntryFields.h"
#include "placement/MonitorNames_win.h"
#include "placement/RuleFacts_win.h"
#include "placement/RuleStanding_win.h"
#include "placement/WindowFacts_win.h"
#include "res/resource.h"

namespace qm {

namespace {

// Per column (0 class, 1 title): SortNone, SortAscending or SortDescending.
// Never reset, so a column's next click continues its alternation across
// closing and reopening the dialog and across refreshes.
int32_t g_windowSortDirection[2];

// The dialog's controls and the fields they show, in the order they load.
constexpr ControlField<WindowEntry> kWindowEntryControls[] = {
    {IDC_TITLE, &WindowEntry::Title},
    {IDC_CLASS, &WindowEntry::Class},
    {IDC_PROCESS, &WindowEntry::Process},
    {IDC_DESABLEPOS, &WindowEntry::DesablePos, ControlKind::Check},
    {IDC_DESABLESIZE, &WindowEntry::DesableSize, ControlKind::Check},
    {IDC_POS, &WindowEntry::Pos, ControlKind::Position},
    {IDC_LEFT, &WindowEntry::Left, ControlKind::Number},
    {IDC_TOP, &WindowEntry::Top, ControlKind::Number},
    {IDC_WIDTH, &WindowEntry::Width, ControlKind::Number},
    {IDC_HEIGHT, &WindowEntry::Height, ControlKind::Number},
    {IDC_DESABLESTYLE, &WindowEntry::DesableStyle, ControlKind::Check},
    {IDC_BORDER, &WindowEntry::Border, ControlKind::Check},
    {IDC_DIALOGFRAME, &WindowEntry::DialogFrame, ControlKind::Check},
    {IDC_THICKFRAME, &WindowEntry::ThickFrame, ControlKind::Check},
    {IDC_MONITOR, &WindowEntry::Monitor, ControlKind::Monitor},
    {IDC_UNIT, &WindowEntry::Unit, ControlKind::Check},
    {IDC_APPLY, &WindowEntry::Apply, ControlKind::Choice},
    {IDC_MATCH, &WindowEntry::Match, ControlKind::Choice},
    {IDC_HOLD, &WindowEntry::Hold, ControlKind::HoldSeconds},
    {IDC_TOPMOST, &WindowEntry::Topmost, ControlKind::Check},
    {IDC_STATE, &WindowEntry::State, ControlKind::Check},
};
static_assert(ShowsKeptFields(kWindowEntryControls, kWindowEntryFields), "a control shows a field no key keeps");

constexpr int kClassColumn = 0;
constexpr int kTitleColumn = 1;
constexpr int kProgramColumn = 2;  // shown, not sortable
constexpr int kRuleColumn = 3;     // the entry that applies or why none does; not sortable

// Rows the list holds at most: a sort compares texts taken from the list
// beforehand, one slot per row. Far more windows than a desktop shows.
constexpr int kMaxListedWindows = 1024;

// The window each row was made from, by the row's item data, for "Flash".
// Filled with the list; a row's window may have closed since.
HWND g_listedWindows[kMaxListedWindows];

// What one filling of the list reads beside the windows.
struct ListFill {
  HWND list;
  const WindowTable* rules;
  const ReasonTexts* reasons;
  const NamedMonitors* monitors;  // read once when a rule names a monitor, else null
};

// What one sort compares: the sorted column's texts by row item data, taken
// just before the sort, and the column's direction.
struct SortTexts {
  std::vector<std::array<char16_t, kTextCapacity>> byData;
  int32_t direction;
};

// Text of one cell into out[kTextCapacity] (cut to 255 code units).
void ReadRowText(HWND list, int row, int column, char16_t* out) {
  out[0] = u'\0';
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = AsWide(out);
  item.cchTextMax = kTextCapacity;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  // A list view may answer with a pointer to its own copy of the text
  // instead of filling the buffer.
  if (item.pszText != nullptr && item.pszText != AsWide(out)) {
    U16CopyTruncated(out, kTextCapacity, U16ViewOf(AsU16(item.pszText)));
  }
}

HWND WindowList(HWND dialog) { return GetDlgItem(dialog, IDC_WINDOWLIST); }

void FitColumnsAndRepaint(HWND list) {
  FitListColumns(list, kRuleColumn + 1);
  InvalidateRect(list, nullptr, TRUE);
}

void SetCellText(HWND list, int row, int column, char16_t* text) {
  LVITEMW cell = {};
  cell.iSubItem = column;
  cell.pszText = AsWide(text);
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

// Lists top-level windows a user would recognise as programs: windows a
// user would call windows (visible, not cloaked, not the desktop or the
// taskbar, not a menu, tooltip or other caption-less pop-up), and of those
// only pop-ups without an owner (the dialog itself has one). listParam is
// the ListFill.
BOOL CALLBACK ListWindow(HWND window, LPARAM fillParam) {
  const ListFill& fill = *reinterpret_cast<const ListFill*>(fillParam);
  HWND list = fill.list;
  if (!IsListedWindow(window)) return TRUE;

  // The row count before the insertion is the row's item data: unique
  // within one filling, and kept by the row through every sort. A full list
  // ends the enumeration.
  const int row = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  if (row >= kMaxListedWindows) return FALSE;
  char16_t text[kTextCapacity] = {};
  GetClassNameW(window, AsWide(text), kTextCapacity);
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = row;
  item.pszText = AsWide(text);
  item.lParam = row;
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  g_listedWindows[row] = window;

  text[0] = u'\0';
  // GetWindowTextW reads another process's caption without sending it a
  // message, so a hung program cannot hang the dialog.
  if (GetWindowTextW(window, AsWide(text), kTextCapacity) > 0) SetCellText(list, row, kTitleColumn, text);
  // Neither does reading its program, which fails at once where the program
  // may not be opened (the cell then stays empty).
  if (ReadWindowProgram(window, text) > 0) SetCellText(list, row, kProgramColumn, text);
  // Only a window that a rule matches is asked more (its rights, whether it
  // answers within the placement bound).
  StandingText(ReadRuleStanding(*fill.rules, window, fill.monitors), *fill.rules, fill.reasons->views, text);
  SetCellText(list, row, kRuleColumn, text);
  return TRUE;
}

// A shown list view repaints after every row it takes (seconds for a few
// hundred rows under Wine), so it is filled with its drawing off and
// painted once at the end (FitColumnsAndRepaint).
void FillWindowList(HWND dialog) {
  const ReasonTexts reasons;
  const WindowTable& rules = RequestOf(dialog).Store->windows;
  NamedMonitors monitors;
  const bool namesMonitor = TableNamesMonitor(rules);
  if (namesMonitor) ReadNamedMonitors(&monitors);
  const ListFill fill{WindowList(dialog), &rules, &reasons, namesMonitor ? &monitors : nullptr};
  SendMessageW(fill.list, WM_SETREDRAW, FALSE, 0);
  EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&fill));
  SendMessageW(fill.list, WM_SETREDRAW, TRUE, 0);
}

// The comparison of a sort by one column, given the item data of two rows.
// Wine workaround: it sends the list no message. While a list view sorts,
// its rows are in flux, and under Wine the index LVM_SORTITEMSEX passes does
// not match what LVM_GETITEM reads during the sort (nor does LVM_FINDITEMW
// find rows by item data reliably), so the texts are taken before the sort.
int CALLBACK CompareCurrentWindowRows(LPARAM first, LPARAM second, LPARAM context) {
  const auto& sort = *reinterpret_cast<const SortTexts*>(context);
  const auto text = [&sort](LPARAM data) {
    return data >= 0 && static_cast<size_t>(data) < sort.byData.size() ? U16ViewOf(sort.byData[static_cast<size_t>(data)].data())
                                                                       : U16View();
  };
  return CompareWindowRowTexts(text(first), text(second), sort.direction);
}

LPARAM RowData(HWND list, int row) {
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  item.lParam = -1;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

void SortByColumn(HWND list, int column) {
  if (column != kClassColumn && column != kTitleColumn) return;
  g_windowSortDirection[column] = NextSortDirection(g_windowSortDirection[column]);
  const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  SortTexts sort{std::vector<std::array<char16_t, kTextCapacity>>(static_cast<size_t>(rows)),
                 g_windowSortDirection[column]};
  for (auto& text : sort.byData) text[0] = u'\0';
  for (int row = 0; row < rows; ++row) {
    const LPARAM data = RowData(list, row);
    if (data >= 0 && data < rows) ReadRowText(list, row, column, sort.byData[static_cast<size_t>(data)].data());
  }
  SendMessageW(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&sort),
               reinterpret_cast<LPARAM>(CompareCurrentWindowRows));
}

// A selected row puts its class into the class box; notifications that come
// while nothing is selected (a row losing the selection, or only gaining
// the focus) leave the box as it is.
void CopySelectedClass(HWND dialog) {
  HWND list = WindowList(dialog);
  const int row = FirstSelectedRow(list);
  if (row < 0) return;
  char16_t windowClass[kTextCapacity];
  ReadRowText(list, row, kClassColumn, windowClass);
  SetDlgItemTextW(dialog, IDC_CLASS, AsWide(windowClass));
}

// "Get": the selected window's title as the registered name, its program,
// and its rectangle and frame styles. A window closed since the list was
// filled leaves the numbers and the frame boxes as they were.
void TakeSelectedWindow(HWND dialog) {
  HWND list = WindowList(dialog);
  const int row = FirstSelectedRow(list);
  if (row < 0) return;
  char16_t windowClass[kTextCapacity];
  char16_t title[kTextCapacity];
  char16_t program[kTextCapacity];
  ReadRowText(list, row, kClassColumn, windowClass);
  ReadRowText(list, row, kTitleColumn, title);
  ReadRowText(list, row, kProgramColumn, program);
  SetDlgItemTextW(dialog, IDC_TITLE, AsWide(title));
  SetDlgItemTextW(dialog, IDC_PROCESS, AsWide(program));

  // The first window with this class and title; with several alike it need
  // not be the one the row was made from. A minimised one gives the place it
  // returns to, not its parking spot.
  HWND window = FindWindowW(AsWide(windowClass), AsWide(title));
  RECT rect;
  if (window == nullptr || !ReadRestoredRect(window, &rect)) return;
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  if (CheckedFlag(dialog, IDC_UNIT) != 0) {
    // In shares the rule places the visible frame, on the area the monitor
    // box names: the frame's shares give the window back where it is.
    const Rect32 frame = VisibleRect(ToRect32(rect), ReadInvisibleBorders(window, rect));
    const ShareRect shares = SharesOfFrame(frame, ChosenMonitorArea(dialog, window).work);
    ShowNumber(dialog, IDC_LEFT, shares.left);
    ShowNumber(dialog, IDC_TOP, shares.top);
    ShowNumber(dialog, IDC_WIDTH, shares.width);
    ShowNumber(dialog, IDC_HEIGHT, shares.height);
  } else {
    ShowNumber(dialog, IDC_LEFT, rect.left);
    ShowNumber(dialog, IDC_TOP, rect.top);
    ShowNumber(dialog, IDC_WIDTH, rect.right - rect.left);
    ShowNumber(dialog, IDC_HEIGHT, rect.bottom - rect.top);
  }
  // Each frame box from its style bit. WS_CAPTION is WS_BORDER | WS_DLGFRAME,
  // so a captioned window ticks both.
  for (const auto& field : kWindowEntryFields) {
    if (field.Style == 0) continue;
    const bool set = (static_cast<DWORD>(style) & field.Style) != 0;
    for (const auto& control : kWindowEntryControls) {
      if (control.Number == field.Number) SetCheckedFlag(dialog, control.Id, set);
    }
  }
}

// "Flash" (or Space in the list): the selected row's window flashes its
// frame a few times, so the user sees which window the row is.
void FlashSelectedWindow(HWND dialog) {
  const int row = FirstSelectedRow(WindowList(dialog));
  if (row < 0) return;
  const LPARAM data = RowData(WindowList(dialog), row);
  if (data < 0 || data >= kMaxListedWindows || !IsWindow(g_listedWindows[data])) return;
  FLASHWINFO flash = {};
  flash.cbSize = sizeof(flash);
  flash.hwnd = g_listedWindows[data];
  flash.dwFlags = FLASHW_CAPTION;
  flash.uCount = 3;
  FlashWindowEx(&flash);
}

// "Refresh": the windows listed anew, in enumeration order.
void RefreshWindowList(HWND dialog) {
  HWND list = WindowList(dialog);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  FillWindowList(dialog);
  FitColumnsAndRepaint(list);
}

// What a rule that leaves its windows alone does not use: everything that
// says where and how a window is placed. The title match still says which
// windows it leaves alone.
constexpr int kPlacingIds[] = {IDC_DESABLEPOS, IDC_LEFT,   IDC_TOP,        IDC_POS,       IDC_DESABLESIZE,
                               IDC_WIDTH,      IDC_HEIGHT, IDC_DESABLESTYLE, IDC_BORDER,  IDC_DIALOGFRAME,
                               IDC_THICKFRAME, IDC_MONITOR, IDC_HOLD,       IDC_TOPMOST,   IDC_STATE};

// A choice of "Never (exclude)" greys out the placing controls; another
// choice enables them again and lets the enable rules of the "Keep ..."
// boxes settle the ones they govern, as after loading an entry.
void ReactToApply(HWND dialog) {
  const LRESULT item = SendDlgItemMessageW(dialog, IDC_APPLY, CB_GETCURSEL, 0, 0);
  const bool never = item == ApplyNever;
  if (never == (IsWindowEnabled(GetDlgItem(dialog, IDC_HOLD)) == FALSE)) return;
  for (int id : kPlacingIds) EnableWindow(GetDlgItem(dialog, id), never ? FALSE : TRUE);
  if (never) return;
  int32_t commands[4];
  const int32_t count = WindowEntryLoadCommands(CheckedFlag(dialog, IDC_DESABLEPOS), commands);
  for (int32_t i = 0; i < count; ++i) SendDialogCommand(dialog, commands[i]);
}

void InitWindowList(HWND dialog) {
  FillChoiceCombo(dialog, IDC_APPLY, IDS_APPLY_FIRST, kApplyChoiceCount);
  FillChoiceCombo(dialog, IDC_MATCH, IDS_MATCH_CONTAINS, kMatchChoiceCount);
  ShowNumber(dialog, IDC_HOLD, kDefaultHoldSeconds);
  HWND list = WindowList(dialog);
  AddListViewStyle(list, LVS_EX_FULLROWSELECT);
  InsertListColumn(list, kClassColumn, IDS_COL_CLASS);
  InsertListColumn(list, kTitleColumn, IDS_COL_TITLE);
  InsertListColumn(list, kProgramColumn, IDS_COL_PROGRAM);
  InsertListColumn(list, kRuleColumn, IDS_COL_RULE);
  FillWindowList(dialog);
  FitColumnsAndRepaint(list);
}

void LoadWindowEntry(HWND dialog, const EntryStore& store, int32_t index) {
  const WindowEntry& entry = store.windows.Entries[index];
  LoadControls(dialog, kWindowEntryControls, entry);
  ShowEntryMonitor(dialog, entry);
  // Posted: the enable rules run after this load and would enable them again.
  if (EffectiveApply(entry) == ApplyNever) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_APPLY, CBN_SELCHANGE), 0);
}

// A rule needs its registered name; an add needs a free slot and a class
// no other rule has.
EntryRefusal PutWindowEntry(HWND dialog, EntryStore& store, int32_t index) {
  char16_t title[kTextCapacity];
  char16_t windowClass[kTextCapacity];
  ReadControlText(dialog, IDC_TITLE, title);
  ReadControlText(dialog, IDC_CLASS, windowClass);
  if (title[0] == u'\0') return EntryRefusal::NameMissing;
  const EntryTarget target = WindowEntryTarget(store.windows, index, U16ViewOf(windowClass));
  return PutEntry(dialog, store, store.windows.Entries, target, kWindowEntryControls);
}

void OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDC_GET:
      TakeSelectedWindow(dialog);
      break;
    case IDC_REFRESH:
      RefreshWindowList(dialog);
      break;
    case IDC_APPLY:
      ReactToApply(dialog);
      break;
    case IDC_FLASH:
      FlashSelectedWindow(dialog);
      break;
    default:
      break;
  }
}

// Acts on the notification code alone: the list is the only child that
// notifies the dialog.
void OnNotify(HWND dialog, const NMHDR* header) {
  switch (header->code) {
    case LVN_COLUMNCLICK:
      SortByColumn(WindowList(dialog), reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
      break;
    case LVN_ITEMCHANGED:
      CopySelectedClass(dialog);
      break;
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == VK_SPACE) FlashSelectedWindow(dialog);
      break;
    default:
      break;
  }
}

constexpr EntryDialogKind kWindowEntryDialog = {
    EntryList::Windows, LoadWindowEntry, PutWindowEntry, ReactWindowEntryCommand, WindowEntryLoadCommands,
    InitWindowList,     OnCommand,       OnNotify,
};

}  // namespace

INT_PTR CALLBACK WindowEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return EntryDialogProc(kWindowEntryDialog, dialog, message, wParam, lParam);
}

}  // namespace qm
