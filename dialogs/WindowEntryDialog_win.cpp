// The window entry dialog: adds a window rule or changes one, with a list of
// the running windows from which the user takes a class, a title, a
// rectangle and frame styles.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <vector>

#include "base/Win32Glue.h"
#include "dialogs/DialogParts_win.h"
#include "dialogs/Dialogs_win.h"
#include "dialogs/WindowListOrder.h"
#include "entries/EntryFields.h"
#include "entries/EntryStore_win.h"
#include "placement/RuleFacts_win.h"
#include "placement/WindowFacts_win.h"
#include "res/resource.h"

namespace qm {

// The running-window list of the open dialog; the enumeration callback and
// the sort comparison reach it through this handle.
HWND CurrentWindowList;
// Per column (0 class, 1 title): SortNone, SortAscending or SortDescending.
// Never reset, so a column's next click continues its alternation across
// closing and reopening the dialog and across refreshes.
int32_t CurrentWindowSortDirection[2];

namespace {

// The dialog's controls and the fields they show, in the order they load.
constexpr TextControlField kWindowTextControls[] = {
    {IDC_TITLE, &WindowEntry::Title},
    {IDC_CLASS, &WindowEntry::Class},
    {IDC_PROCESS, &WindowEntry::Process},
};
constexpr ControlField<WindowEntry> kWindowEntryControls[] = {
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
};

constexpr int kClassColumn = 0;
constexpr int kTitleColumn = 1;
constexpr int kProgramColumn = 2;  // shown, not sortable

// Rows the list holds at most: a sort compares texts taken from the list
// beforehand, one slot per row. Far more windows than a desktop shows.
constexpr int kMaxListedWindows = 1024;

// What one sort compares: the sorted column's texts by row item data, taken
// just before the sort, and the column's direction.
struct SortTexts {
  std::vector<std::array<char16_t, TextCapacity>> byData;
  int32_t direction;
};

// Text of one cell into out[TextCapacity] (cut to 255 code units).
void ReadRowText(int row, int column, char16_t* out) {
  out[0] = u'\0';
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = AsWide(out);
  item.cchTextMax = TextCapacity;
  SendMessageW(CurrentWindowList, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  // A list view may answer with a pointer to its own copy of the text
  // instead of filling the buffer.
  if (item.pszText != nullptr && item.pszText != AsWide(out)) {
    U16CopyTruncated(out, TextCapacity, U16ViewOf(AsU16(item.pszText)));
  }
}

void FitColumnsAndRepaint() {
  FitListColumns(CurrentWindowList, kProgramColumn + 1);
  InvalidateRect(CurrentWindowList, nullptr, TRUE);
}

void SetCellText(int row, int column, char16_t* text) {
  LVITEMW cell = {};
  cell.iSubItem = column;
  cell.pszText = AsWide(text);
  SendMessageW(CurrentWindowList, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

// Lists top-level windows a user would recognise as programs: windows a
// user would call windows (visible, not cloaked, not the desktop or the
// taskbar, not a menu, tooltip or other caption-less pop-up), and of those
// only pop-ups without an owner (the dialog itself has one).
BOOL CALLBACK ListWindow(HWND window, LPARAM) {
  if (GetParent(window) != nullptr) return TRUE;
  if (!IsUserTopLevel(window)) return TRUE;

  // The row count before the insertion is the row's item data: unique
  // within one filling, and kept by the row through every sort. A full list
  // ends the enumeration.
  const int row = static_cast<int>(SendMessageW(CurrentWindowList, LVM_GETITEMCOUNT, 0, 0));
  if (row >= kMaxListedWindows) return FALSE;
  char16_t text[TextCapacity] = {};
  GetClassNameW(window, AsWide(text), TextCapacity);
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = row;
  item.pszText = AsWide(text);
  item.lParam = row;
  SendMessageW(CurrentWindowList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));

  text[0] = u'\0';
  // GetWindowTextW reads another process's caption without sending it a
  // message, so a hung program cannot hang the dialog.
  if (GetWindowTextW(window, AsWide(text), TextCapacity) > 0) SetCellText(row, kTitleColumn, text);
  // Neither does reading its program, which fails at once where the program
  // may not be opened (the cell then stays empty).
  if (ReadWindowProgram(window, text) > 0) SetCellText(row, kProgramColumn, text);
  return TRUE;
}

void FillCurrentWindowList() { EnumWindows(ListWindow, 0); }

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

LPARAM RowData(int row) {
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  item.lParam = -1;
  SendMessageW(CurrentWindowList, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

void SortByColumn(int column) {
  if (column != kClassColumn && column != kTitleColumn) return;
  CurrentWindowSortDirection[column] = NextSortDirection(CurrentWindowSortDirection[column]);
  const int rows = static_cast<int>(SendMessageW(CurrentWindowList, LVM_GETITEMCOUNT, 0, 0));
  SortTexts sort{std::vector<std::array<char16_t, TextCapacity>>(static_cast<size_t>(rows)),
                 CurrentWindowSortDirection[column]};
  for (auto& text : sort.byData) text[0] = u'\0';
  for (int row = 0; row < rows; ++row) {
    const LPARAM data = RowData(row);
    if (data >= 0 && data < rows) ReadRowText(row, column, sort.byData[static_cast<size_t>(data)].data());
  }
  SendMessageW(CurrentWindowList, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&sort),
               reinterpret_cast<LPARAM>(CompareCurrentWindowRows));
}

// A selected row puts its class into the class box; notifications that come
// while nothing is selected (a row losing the selection, or only gaining
// the focus) leave the box as it is.
void CopySelectedClass(HWND dialog) {
  const int row = FirstSelectedRow(CurrentWindowList);
  if (row < 0) return;
  char16_t windowClass[TextCapacity];
  ReadRowText(row, kClassColumn, windowClass);
  SetDlgItemTextW(dialog, IDC_CLASS, AsWide(windowClass));
}

// "取得": the selected window's title as the registered name, its program,
// and its rectangle and frame styles. A window closed since the list was
// filled leaves the numbers and the frame boxes as they were.
void TakeSelectedWindow(HWND dialog) {
  const int row = FirstSelectedRow(CurrentWindowList);
  if (row < 0) return;
  char16_t windowClass[TextCapacity];
  char16_t title[TextCapacity];
  char16_t program[TextCapacity];
  ReadRowText(row, kClassColumn, windowClass);
  ReadRowText(row, kTitleColumn, title);
  ReadRowText(row, kProgramColumn, program);
  SetDlgItemTextW(dialog, IDC_TITLE, AsWide(title));
  SetDlgItemTextW(dialog, IDC_PROCESS, AsWide(program));

  // The first window with this class and title; with several alike it need
  // not be the one the row was made from. A minimised one gives the place it
  // returns to, not its parking spot.
  HWND window = FindWindowW(AsWide(windowClass), AsWide(title));
  RECT rect;
  if (window == nullptr || !ReadRestoredRect(window, &rect)) return;
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  ShowNumber(dialog, IDC_LEFT, rect.left);
  ShowNumber(dialog, IDC_TOP, rect.top);
  ShowNumber(dialog, IDC_WIDTH, rect.right - rect.left);
  ShowNumber(dialog, IDC_HEIGHT, rect.bottom - rect.top);
  // Each frame box from its style bit. WS_CAPTION is WS_BORDER | WS_DLGFRAME,
  // so a captioned window ticks both.
  for (const auto& frame : FrameFields) {
    if (frame.StyleBit == 0) continue;
    for (const auto& control : kWindowEntryControls) {
      if (control.Field == frame.Field) SetCheckedFlag(dialog, control.Id, (static_cast<DWORD>(style) & frame.StyleBit) != 0);
    }
  }
}

// "更新": the windows listed anew, in enumeration order.
void RefreshCurrentWindowList() {
  SendMessageW(CurrentWindowList, LVM_DELETEALLITEMS, 0, 0);
  FillCurrentWindowList();
  FitColumnsAndRepaint();
}

void LoadWindowEntryControls(HWND dialog) {
  const WindowEntry& entry = g_windowTable.Entries[EditIndex];
  LoadControls(dialog, kWindowTextControls, entry);
  LoadControls(dialog, kWindowEntryControls, entry);
  int32_t commands[4];
  const int32_t count = WindowEntryLoadCommands(entry.DesablePos, commands);
  for (int32_t i = 0; i < count; ++i) SendDialogCommand(dialog, commands[i]);
}

void StoreWindowEntryControls(HWND dialog, int32_t index) {
  WindowEntry& entry = g_windowTable.Entries[index];
  StoreControls(dialog, kWindowTextControls, entry);
  StoreControls(dialog, kWindowEntryControls, entry);
}

void OnInitDialog(HWND dialog, LPARAM initParam) {
  KeepTableViewRefresh(dialog, initParam);
  CurrentWindowList = GetDlgItem(dialog, IDC_WINDOWLIST);
  AddListViewStyle(CurrentWindowList, LVS_EX_FULLROWSELECT);
  InsertListColumn(CurrentWindowList, kClassColumn, IDS_COL_CLASS);
  InsertListColumn(CurrentWindowList, kTitleColumn, IDS_COL_TITLE);
  InsertListColumn(CurrentWindowList, kProgramColumn, IDS_COL_PROGRAM);
  FillCurrentWindowList();
  FitColumnsAndRepaint();
  FillPositionCombo(dialog);
  FillMonitorCombo(dialog);
  PrepareNumberBoxes(dialog);
  if (EditIndex != -1) {
    if (IsEntryIndex(EditIndex, g_windowTable.Count)) LoadWindowEntryControls(dialog);
    SetCaptionText(dialog, IDS_CHANGE);
  } else {
    SetCaptionText(dialog, IDS_ADD);
  }
}

// OK: an empty registered name keeps the dialog open without a word; an
// add that the table refuses says why and keeps it open too, with every
// input as it was.
void OnOk(HWND dialog) {
  char16_t title[TextCapacity];
  char16_t windowClass[TextCapacity];
  ReadControlText(dialog, IDC_TITLE, title);
  ReadControlText(dialog, IDC_CLASS, windowClass);
  if (title[0] == u'\0') return;

  const EntryTarget target = WindowEntryTarget(g_windowTable, EditIndex, U16ViewOf(windowClass));
  switch (target.Refusal) {
    case EntryRefusal::None:
      break;
    case EntryRefusal::ClassRegistered:
      ShowRefusal(dialog, IDS_CLASS_EXISTS, 0);
      return;
    case EntryRefusal::TableFull:
      ShowRefusal(dialog, IDS_TABLE_FULL, MB_ICONINFORMATION);
      return;
    case EntryRefusal::NoSuchEntry:
      EndDialog(dialog, 0);
      return;
  }
  if (EditIndex == -1) ++g_windowTable.Count;
  StoreWindowEntryControls(dialog, target.Index);
  SortWindowTable(g_windowTable);
  RefreshTableView(dialog);
  SaveAll(DialogOwner(dialog));
  EndDialog(dialog, 0);
}

void OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK:
      OnOk(dialog);
      break;
    case IDCANCEL:
      EndDialog(dialog, 0);
      break;
    case IDC_GET:
      TakeSelectedWindow(dialog);
      break;
    case IDC_REFRESH:
      RefreshCurrentWindowList();
      break;
    case IDC_DESABLEPOS:
    case IDC_DESABLESIZE:
    case IDC_DESABLESTYLE:
    case IDC_POS:
      RunEntryRule(dialog, id, ReactWindowEntryCommand);
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
      SortByColumn(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
      break;
    case LVN_ITEMCHANGED:
      CopySelectedClass(dialog);
      break;
    default:
      break;
  }
}

}  // namespace

INT_PTR CALLBACK WindowEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, lParam);
      return TRUE;
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace qm
