#include "base/Win32Glue.h"

#include <commctrl.h>

namespace qm {

HINSTANCE g_instance;

void LoadText(UINT id, char16_t* out) {
  out[0] = u'\0';
  LoadStringW(g_instance, id, AsWide(out), kTextCapacity);
}

void SetCaptionText(HWND window, UINT id) {
  char16_t caption[kTextCapacity];
  LoadText(id, caption);
  SetWindowTextW(window, AsWide(caption));
}

int ShowStringMessage(HWND owner, UINT textId, UINT captionId, UINT type) {
  char16_t text[kTextCapacity];
  char16_t caption[kTextCapacity];
  LoadText(textId, text);
  if (captionId != 0) LoadText(captionId, caption);
  return MessageBoxW(owner, AsWide(text), captionId != 0 ? AsWide(caption) : kProgramName, type);
}

void FitListColumns(HWND view, int columns) {
  for (int column = 0; column < columns; ++column) {
    SendMessageW(view, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE);
  }
}

void InsertListColumn(HWND view, int column, UINT textId) {
  char16_t text[kTextCapacity];
  LoadText(textId, text);
  LVCOLUMNW header = {};
  header.mask = LVCF_FMT | LVCF_TEXT;
  header.fmt = LVCFMT_LEFT;
  header.pszText = AsWide(text);
  SendMessageW(view, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
}

void AddListViewStyle(HWND view, DWORD extendedStyle) {
  const LRESULT extended = SendMessageW(view, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  SendMessageW(view, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended | static_cast<LPARAM>(extendedStyle));
}

int32_t FirstSelectedRow(HWND view) {
  // A view not made yet has nothing selected (SendMessage to no window gives 0).
  if (view == nullptr) return -1;
  return static_cast<int32_t>(SendMessageW(view, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int32_t SelectedRows(HWND view, int32_t* rows, int32_t capacity) {
  int32_t count = 0;
  for (int32_t row = FirstSelectedRow(view); row >= 0 && count < capacity;
       row = static_cast<int32_t>(SendMessageW(view, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) {
    rows[count++] = row;
  }
  return count;
}

// The monitor is the one MonitorFromWindow names: for a minimised window it
// goes by the rectangle the window had before (MonitorFromWindow, Remarks),
// the one whose work area the workspace coordinates start from.
bool ReadRestoredRect(HWND window, RECT* out) {
  if (!IsIconic(window)) return GetWindowRect(window, out) != FALSE;
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(window, &placement)) return false;
  Rect32 rect = ToRect32(placement.rcNormalPosition);
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0 &&
      GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
    rect = WorkspaceToScreen(rect, ToRect32(info.rcMonitor), ToRect32(info.rcWork));
  }
  *out = RECT{rect.left, rect.top, rect.right, rect.bottom};
  return true;
}

}  // namespace qm
