// The number boxes' Win32 half: the edit controls' subclass that filters
// typing and pasting, and showing and reading their values.
#include "dialogs/NumberBox_win.h"

#include <commctrl.h>

#include "base/Win32Glue.h"
#include "dialogs/DialogParts_win.h"
#include "dialogs/NumberBox.h"
#include "res/resource.h"

namespace qm {

namespace {

constexpr int kNumberBoxIds[] = {IDC_LEFT, IDC_TOP, IDC_WIDTH, IDC_HEIGHT};
constexpr UINT_PTR kNumberBoxSubclass = 1;

// Whether replacing the edit's selection with inserted leaves a text a
// number box may hold.
bool FitsNumberBox(HWND edit, U16View inserted) {
  char16_t text[kTextCapacity];
  const int length = GetWindowTextW(edit, AsWide(text), kTextCapacity);
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
  char16_t number[kTextCapacity];
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
      length = NormalizePastedNumber(AsU16View(text, n), number, kTextCapacity);
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
    SendMessageW(edit, EM_SETLIMITTEXT, kTextCapacity - 1, 0);
    SetWindowSubclass(edit, NumberBoxProc, kNumberBoxSubclass, 0);
  }
}

void ShowNumber(HWND dialog, int id, int32_t value) {
  char16_t text[12];
  U16FormatInt(value, text);
  SetDlgItemTextW(dialog, id, AsWide(text));
}

int32_t ReadNumber(HWND dialog, int id) {
  char16_t text[kTextCapacity];
  ReadControlText(dialog, id, text);
  return ParseNumberBoxText(U16ViewOf(text));
}

}  // namespace qm
