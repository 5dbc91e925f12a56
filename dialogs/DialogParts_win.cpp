#include "dialogs/DialogParts_win.h"

#include <commctrl.h>

#include "base/Win32Glue.h"
#include "dialogs/Dialogs_win.h"
#include "dialogs/NumberBox.h"
#include "res/resource.h"

namespace qm {

void ReadControlText(HWND dialog, int id, char16_t* out) {
  out[0] = u'\0';
  GetDlgItemTextW(dialog, id, AsWide(out), TextCapacity);
}

void FillPositionCombo(HWND dialog) {
  for (int32_t pos = PosFree; pos < PosCount; ++pos) {
    char16_t text[TextCapacity];
    LoadText(static_cast<UINT>(IDS_POS_FREE + pos), text);
    SendDlgItemMessageW(dialog, IDC_POS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendDlgItemMessageW(dialog, IDC_POS, CB_SETCURSEL, 0, 0);
}

void SelectPosition(HWND dialog, int32_t pos) {
  const WPARAM item = pos >= PosFree && pos < PosCount ? static_cast<WPARAM>(pos) : static_cast<WPARAM>(-1);
  SendDlgItemMessageW(dialog, IDC_POS, CB_SETCURSEL, item, 0);
}

int32_t SelectedPosition(HWND dialog) {
  const LRESULT item = SendDlgItemMessageW(dialog, IDC_POS, CB_GETCURSEL, 0, 0);
  return item == CB_ERR ? -1 : static_cast<int32_t>(item);
}

namespace {

constexpr int kNumberBoxIds[] = {IDC_LEFT, IDC_TOP, IDC_WIDTH, IDC_HEIGHT};
constexpr UINT_PTR kNumberBoxSubclass = 1;

// Whether replacing the edit's selection with inserted leaves a text a
// number box may hold.
bool FitsNumberBox(HWND edit, U16View inserted) {
  char16_t text[TextCapacity];
  const int length = GetWindowTextW(edit, AsWide(text), TextCapacity);
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const U16View all(text, static_cast<size_t>(length > 0 ? length : 0));
  if (end > all.size()) end = static_cast<DWORD>(all.size());
  if (start > end) start = end;
  return IsNumberBoxText(all.substr(0, start), inserted, all.substr(end));
}

// Pastes the clipboard's text when it makes a number (blanks around it
// dropped, full-width forms mapped); anything else is refused whole rather
// than pasted in part.
void PasteNumber(HWND edit) {
  char16_t number[TextCapacity];
  int32_t length = -1;
  if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(edit)) {
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* text = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (text != nullptr) {
      // The block may be larger than the text, never smaller; stop at its
      // end if the terminator is missing.
      const size_t limit = GlobalSize(data) / sizeof(wchar_t);
      size_t n = 0;
      while (n < limit && text[n] != L'\0') ++n;
      length = NormalizePastedNumber(AsU16View(text, n), number, TextCapacity);
      GlobalUnlock(data);
    }
    CloseClipboard();
  }
  if (length >= 0 && FitsNumberBox(edit, U16View(number, static_cast<size_t>(length)))) {
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(number));
  } else {
    MessageBeep(MB_OK);
  }
}

LRESULT CALLBACK NumberBoxProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR: {
      const auto typed = static_cast<char16_t>(wParam);
      // Backspace and the Ctrl+letter editing keys (copy, cut, paste, undo,
      // select all) arrive as control characters; paste comes back as
      // WM_PASTE and is checked there.
      if (typed < u' ') break;
      const char16_t c = NumberBoxChar(typed);
      if (c != 0 && FitsNumberBox(edit, U16View(&c, 1))) {
        return DefSubclassProc(edit, message, c, lParam);
      }
      MessageBeep(MB_OK);
      return 0;
    }
    case WM_PASTE:
      PasteNumber(edit);
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, NumberBoxProc, kNumberBoxSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void PrepareNumberBoxes(HWND dialog) {
  for (int id : kNumberBoxIds) {
    HWND edit = GetDlgItem(dialog, id);
    // ES_NUMBER would refuse the minus sign; edit controls follow a change of
    // this style bit made after creation.
    SetWindowLongW(edit, GWL_STYLE, GetWindowLongW(edit, GWL_STYLE) & ~static_cast<LONG>(ES_NUMBER));
    SendMessageW(edit, EM_SETLIMITTEXT, TextCapacity - 1, 0);
    SetWindowSubclass(edit, NumberBoxProc, kNumberBoxSubclass, 0);
  }
}

void ShowNumber(HWND dialog, int id, int32_t value) {
  char16_t text[12];
  U16FormatInt(value, text);
  SetDlgItemTextW(dialog, id, AsWide(text));
}

int32_t ReadNumber(HWND dialog, int id) {
  char16_t text[TextCapacity];
  ReadControlText(dialog, id, text);
  return ParseNumberBoxText(U16ViewOf(text));
}

int32_t CheckedFlag(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0; }

void SetCheckedFlag(HWND dialog, int id, int32_t flag) {
  CheckDlgButton(dialog, id, flag != 0 ? BST_CHECKED : BST_UNCHECKED);
}

namespace {

struct NumberField {
  int Id;
  int32_t EntryGeometry::*Field;
};

// The four boxes in the order they are filled.
constexpr NumberField kNumberFields[] = {
    {IDC_LEFT, &EntryGeometry::Left},
    {IDC_TOP, &EntryGeometry::Top},
    {IDC_WIDTH, &EntryGeometry::Width},
    {IDC_HEIGHT, &EntryGeometry::Height},
};

}  // namespace

void LoadGeometryControls(HWND dialog, const EntryGeometry& entry) {
  SetCheckedFlag(dialog, IDC_DESABLEPOS, entry.DesablePos);
  SetCheckedFlag(dialog, IDC_DESABLESIZE, entry.DesableSize);
  SelectPosition(dialog, entry.Pos);
  for (const NumberField& field : kNumberFields) ShowNumber(dialog, field.Id, entry.*field.Field);
}

void StoreGeometryControls(HWND dialog, EntryGeometry& entry) {
  entry.DesablePos = CheckedFlag(dialog, IDC_DESABLEPOS);
  entry.DesableSize = CheckedFlag(dialog, IDC_DESABLESIZE);
  entry.Pos = SelectedPosition(dialog);
  for (const NumberField& field : kNumberFields) entry.*field.Field = ReadNumber(dialog, field.Id);
}

EntryControlState ReadEntryControlState(HWND dialog) {
  EntryControlState state;
  state.DesablePos = CheckedFlag(dialog, IDC_DESABLEPOS) != 0;
  state.DesableSize = CheckedFlag(dialog, IDC_DESABLESIZE) != 0;
  state.DesableStyle = CheckedFlag(dialog, IDC_DESABLESTYLE) != 0;
  state.PosSelection = SelectedPosition(dialog);
  state.LeftTopEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_LEFT)) != FALSE;
  state.PosEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_POS)) != FALSE;
  state.SizeEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_WIDTH)) != FALSE;
  state.StyleEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_BORDER)) != FALSE;
  return state;
}

namespace {

void WriteCheck(HWND dialog, int id, bool before, bool after) {
  if (before != after) SetCheckedFlag(dialog, id, after ? 1 : 0);
}

template <size_t N>
void WriteEnabled(HWND dialog, const int (&ids)[N], bool before, bool after) {
  if (before == after) return;
  for (int id : ids) EnableWindow(GetDlgItem(dialog, id), after ? TRUE : FALSE);
}

constexpr int kLeftTopIds[] = {IDC_LEFT, IDC_TOP};
constexpr int kPosIds[] = {IDC_POS};
constexpr int kSizeIds[] = {IDC_WIDTH, IDC_HEIGHT};
constexpr int kStyleIds[] = {IDC_BORDER, IDC_DIALOGFRAME, IDC_THICKFRAME};

}  // namespace

void WriteEntryControlState(HWND dialog, const EntryControlState& before, const EntryControlState& after) {
  WriteCheck(dialog, IDC_DESABLEPOS, before.DesablePos, after.DesablePos);
  WriteCheck(dialog, IDC_DESABLESIZE, before.DesableSize, after.DesableSize);
  WriteCheck(dialog, IDC_DESABLESTYLE, before.DesableStyle, after.DesableStyle);
  WriteEnabled(dialog, kLeftTopIds, before.LeftTopEnabled, after.LeftTopEnabled);
  WriteEnabled(dialog, kPosIds, before.PosEnabled, after.PosEnabled);
  WriteEnabled(dialog, kSizeIds, before.SizeEnabled, after.SizeEnabled);
  WriteEnabled(dialog, kStyleIds, before.StyleEnabled, after.StyleEnabled);
}

void SendDialogCommand(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void RunEntryRule(HWND dialog, int id, EntryReaction react) {
  EntryControlState state = ReadEntryControlState(dialog);
  const EntryControlState before = state;
  const int32_t next = react(state, id);
  WriteEntryControlState(dialog, before, state);
  if (next != 0) SendDialogCommand(dialog, next);
}

HWND DialogOwner(HWND dialog) { return GetWindow(dialog, GW_OWNER); }

void ShowRefusal(HWND dialog, UINT id, UINT iconFlags) {
  ShowStringMessage(DialogOwner(dialog), id, 0, MB_OK | iconFlags);
}

void KeepTableViewRefresh(HWND dialog, LPARAM initParam) { SetWindowLongPtrW(dialog, DWLP_USER, initParam); }

void RefreshTableView(HWND dialog) {
  const auto refresh = reinterpret_cast<TableViewRefresh>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (refresh != nullptr) refresh();
}

}  // namespace qm
