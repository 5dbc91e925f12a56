// The main window's flat toolbar: add, change, delete, and the list switch.
#include <windows.h>
#include <commctrl.h>

#include "app/AppState_win.h"
#include "app/MainWindow_win.h"
#include "base/DpiScale.h"
#include "res/resource.h"

namespace qm {

namespace {

TBBUTTON ToolbarButton(int image, int command, BYTE style) {
  TBBUTTON button = {};
  button.iBitmap = image;
  button.idCommand = command;
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = style;
  return button;
}

}  // namespace

void CreateMainToolbar(uint32_t dpi) {
  // The standard images come in 16 and 24 pixels; on a scaled display the
  // larger set keeps the buttons in proportion with the text around them.
  const bool large = ToolbarImagesForDpi(dpi) == ToolbarImageSet::Large;
  const int imageSize = large ? 24 : 0;  // 0: the default, 16 pixels
  // The standard images come first in the toolbar's image list, so the
  // STD_* indices address them directly; the view images follow them.
  const TBBUTTON buttons[] = {
      ToolbarButton(STD_FILENEW, IDM_ADD, BTNS_BUTTON),
      ToolbarButton(STD_PROPERTIES, IDM_CHANGE, BTNS_BUTTON),
      ToolbarButton(STD_DELETE, IDM_DELETE, BTNS_BUTTON),
      ToolbarButton(0, 0, BTNS_SEP),
  };
  g_toolbar = CreateToolbarEx(g_mainWindow, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, IDC_TOOLBAR, 0,
                              HINST_COMMCTRL, large ? IDB_STD_LARGE_COLOR : IDB_STD_SMALL_COLOR, buttons,
                              ARRAYSIZE(buttons), 0, 0, imageSize, imageSize, sizeof(TBBUTTON));

  TBADDBITMAP viewImages = {HINST_COMMCTRL, static_cast<UINT_PTR>(large ? IDB_VIEW_LARGE_COLOR : IDB_VIEW_SMALL_COLOR)};
  LRESULT firstViewImage = SendMessageW(g_toolbar, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&viewImages));
  TBBUTTON switchList = ToolbarButton(static_cast<int>(firstViewImage) + VIEW_LIST, IDM_SWITCHLIST, BTNS_BUTTON);
  SendMessageW(g_toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&switchList));

  SetWindowLongW(g_toolbar, GWL_STYLE, GetWindowLongW(g_toolbar, GWL_STYLE) | TBSTYLE_FLAT);
}

}  // namespace qm
