// The main window's toolbar, views, list switch and tray handling, driven in
// this process: menu check marks and the toolbar's tooltip texts cannot be
// read from another process under Wine.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/AppState_win.h"
#include "app/MainWindow_win.h"
#include "base/Dpi_win.h"
#include "base/Win32Glue.h"
#include "entries/EntryText_win.h"
#include "hook/HookContract.h"
#include "res/resource.h"
#include "tests/support/UiTexts.h"

namespace qm {
namespace {

constexpr wchar_t kTestClass[] = L"QmMainWindowUnderTest";

EntryStore store;

// The program's procedure, minus its WM_DESTROY: that one would free the
// hook, remove the tray icon and post WM_QUIT into the test's own queue.
LRESULT CALLBACK TestMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) return 0;
  return MainWindowProc(window, message, wParam, lParam);
}

void SetTitle(char16_t* field, const wchar_t* text) {
  lstrcpynW(AsWide(field), text, kTextCapacity);
}

void SetGeometry(EntryGeometry& entry, int32_t pos, int32_t left, int32_t top, int32_t width, int32_t height) {
  entry.Pos = pos;
  entry.Left = left;
  entry.Top = top;
  entry.Width = width;
  entry.Height = height;
}

WindowEntry MakeWindowEntry(const wchar_t* title, const wchar_t* windowClass, int32_t pos, int32_t width,
                            int32_t height) {
  WindowEntry entry = {};
  SetTitle(entry.Title, title);
  SetTitle(entry.Class, windowClass);
  SetGeometry(entry, pos, 10, 20, width, height);
  return entry;
}

MenuEntry MakeMenuEntry(int32_t pos, int32_t width, int32_t height) {
  MenuEntry entry = {};
  SetGeometry(entry, pos, -5, 7, width, height);
  return entry;
}

int ColumnCount(HWND view) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(view, LVM_GETHEADER, 0, 0));
  return static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

std::wstring ColumnText(HWND view, int column) {
  wchar_t text[kTextCapacity] = {};
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT;
  col.pszText = text;
  col.cchTextMax = kTextCapacity;
  SendMessageW(view, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
  return text;
}

int RowCount(HWND view) { return static_cast<int>(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring CellText(HWND view, int row, int column) {
  wchar_t text[kTextCapacity] = {};
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = kTextCapacity;
  SendMessageW(view, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

std::vector<int> SelectedRows(HWND view) {
  std::vector<int> rows;
  int row = -1;
  while ((row = static_cast<int>(SendMessageW(view, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
    rows.push_back(row);
  }
  return rows;
}

void SelectRow(HWND view, int row) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageW(view, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool HasStyle(HWND window, LONG bits) { return (GetWindowLongW(window, GWL_STYLE) & bits) == bits; }

bool MenuChecked(int id) { return (GetMenuState(g_mainMenu, static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0; }

std::wstring Narrow(const char16_t* text) { return AsWide(text); }

// A main window built the way start-up builds it, in this process, with
// whatever the test put into the tables first.
class MainWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitCommonControls();
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = TestMainProc;
    wc.hInstance = g_instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    wc.lpszClassName = kTestClass;
    RegisterClassExW(&wc);
  }

  void SetUp() override {
    store.settings = DefaultSettings(1920, 1080);
    std::memset(&store.windows, 0, sizeof(store.windows));
    std::memset(&store.menus, 0, sizeof(store.menus));
    g_store = &store;
  }

  // The hidden window as start-up leaves it, without children.
  void BuildHidden() {
    g_mainWindow = CreateWindowExW(0, kTestClass, L"Quillmere", WS_OVERLAPPEDWINDOW, 100, 100, 480, 360, nullptr,
                                   nullptr, g_instance, nullptr);
    ASSERT_NE(g_mainWindow, nullptr);
    g_mainMenu = GetMenu(g_mainWindow);
  }

  void Build(int list = 1) {
    BuildHidden();
    CreateMainToolbar(WindowDpi(g_mainWindow));
    CreateWindowView();
    CreateMenuView();
    ShowList(list);
  }

  void TearDown() override {
    if (g_mainWindow != nullptr) DestroyWindow(g_mainWindow);
    g_mainWindow = nullptr;
    g_mainMenu = nullptr;
    g_toolbar = nullptr;
    g_windowView = nullptr;
    g_menuView = nullptr;
  }

  LRESULT Command(int id, WORD code = 0) {
    return SendMessageW(g_mainWindow, WM_COMMAND, MAKEWPARAM(id, code), 0);
  }
};

TEST_F(MainWindowTest, ToolbarHasTheFourButtonsAndSeparatorFlatWithTips) {
  Build();
  ASSERT_EQ(GetDlgItem(g_mainWindow, IDC_TOOLBAR), g_toolbar);
  EXPECT_TRUE(HasStyle(g_toolbar, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT));

  // The standard small images (15 of them) come first, so the view images
  // start at index 15.
  struct Expected { int image; int command; BYTE style; const wchar_t* tip; };
  const qm::test::UiTexts& texts = qm::test::ExpectedTexts();
  const Expected expected[] = {
      {STD_FILENEW, IDM_ADD, BTNS_BUTTON, texts.add},
      {STD_PROPERTIES, IDM_CHANGE, BTNS_BUTTON, texts.change},
      {STD_DELETE, IDM_DELETE, BTNS_BUTTON, texts.remove},
      {0, 0, BTNS_SEP, nullptr},
      {15 + VIEW_LIST, IDM_SWITCHLIST, BTNS_BUTTON, texts.switchList},
  };
  ASSERT_EQ(SendMessageW(g_toolbar, TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(ARRAYSIZE(expected)));
  HWND tips = reinterpret_cast<HWND>(SendMessageW(g_toolbar, TB_GETTOOLTIPS, 0, 0));
  ASSERT_NE(tips, nullptr);
  for (int i = 0; i < static_cast<int>(ARRAYSIZE(expected)); ++i) {
    SCOPED_TRACE(i);
    TBBUTTON button = {};
    ASSERT_TRUE(SendMessageW(g_toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(button.idCommand, expected[i].command);
    EXPECT_EQ(button.fsStyle, expected[i].style);
    EXPECT_EQ(button.fsState & TBSTATE_ENABLED, TBSTATE_ENABLED);
    if (expected[i].tip == nullptr) continue;
    EXPECT_EQ(button.iBitmap, expected[i].image);

    // The tooltip control asks the toolbar, the toolbar asks the main
    // window, and the answer is the string with the command's id.
    wchar_t text[80] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = g_toolbar;
    tool.uId = static_cast<UINT_PTR>(expected[i].command);
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, ARRAYSIZE(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(text), expected[i].tip);
  }
}

// Each view is the main window's child under its id, and a user can select
// several rows in it at once: delete takes them all.
TEST_F(MainWindowTest, EachViewTakesSeveralSelectedRows) {
  for (int32_t i = 0; i < 2; ++i) {
    store.windows.Entries[i] = MakeWindowEntry(i == 0 ? L"A" : L"B", L"", PosCenter, 10, 10);
    store.menus.Entries[i] = MakeMenuEntry(PosCenter, 10 + i, 10);
  }
  store.windows.Count = store.menus.Count = 2;
  Build();
  for (HWND view : {g_windowView, g_menuView}) {
    EXPECT_EQ(GetDlgItem(g_mainWindow, GetDlgCtrlID(view)), view);
    SelectRow(view, 0);
    SelectRow(view, 1);
    EXPECT_EQ(SelectedRows(view), (std::vector<int>{0, 1}));
  }
  EXPECT_EQ(GetDlgCtrlID(g_windowView), IDC_WINDOWVIEW);
  EXPECT_EQ(GetDlgCtrlID(g_menuView), IDC_MENUVIEW);
}

TEST_F(MainWindowTest, RebuildMirrorsTheTableAndDropsColumnsWhenEmpty) {
  Build();
  EXPECT_EQ(ColumnCount(g_windowView), 0);
  EXPECT_EQ(ColumnCount(g_menuView), 0);

  store.windows.Entries[0] = MakeWindowEntry(L"A long registered name that is wide", L"", PosFree, 640, 480);
  store.windows.Entries[1] = MakeWindowEntry(L"B", L"", PosCenter, 800, 600);
  store.windows.Entries[2] = MakeWindowEntry(L"C", L"", PosTopRight, 1, 2);
  store.windows.Entries[2].DesableSize = 1;
  store.windows.Count = 3;
  store.menus.Entries[0] = MakeMenuEntry(PosBottomLeft, 300, 200);
  store.menus.Entries[1] = MakeMenuEntry(PosFree, 400, 300);
  store.menus.Count = 2;
  SelectRow(g_windowView, 0);  // a rebuild keeps no selection
  RefreshWindowView();
  RefreshMenuView();

  struct Case {
    HWND view;
    std::vector<std::wstring> headers;
    int rows;
  };
  const qm::test::UiTexts& ui = qm::test::ExpectedTexts();
  const Case cases[] = {
      {g_windowView, {ui.columnName, ui.columnClass, ui.columnPosition, ui.columnSize, ui.columnProgram}, 3},
      {g_menuView, {ui.columnPosition, ui.columnSize}, 2},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(ColumnCount(c.view), static_cast<int>(c.headers.size()));
    for (size_t i = 0; i < c.headers.size(); ++i) EXPECT_EQ(ColumnText(c.view, static_cast<int>(i)), c.headers[i]);
    EXPECT_EQ(RowCount(c.view), c.rows);
    EXPECT_TRUE(SelectedRows(c.view).empty());
  }

  // Each row shows (name and class, for window entries) the entry's
  // position and size texts.
  const EntryTexts texts;
  auto expectRow = [&texts](HWND view, int row, std::vector<std::wstring> cells, const EntryGeometry& entry) {
    char16_t position[kTextCapacity], size[kTextCapacity];
    texts.Position(entry, position);
    texts.Size(entry, size);
    cells.push_back(Narrow(position));
    cells.push_back(Narrow(size));
    for (size_t i = 0; i < cells.size(); ++i) {
      EXPECT_EQ(CellText(view, row, static_cast<int>(i)), cells[i]) << "row " << row << " column " << i;
    }
  };
  for (int row = 0; row < 3; ++row) {
    const WindowEntry& entry = store.windows.Entries[row];
    expectRow(g_windowView, row, {Narrow(entry.Title), Narrow(entry.Class)}, entry);
  }
  for (int row = 0; row < 2; ++row) expectRow(g_menuView, row, {}, store.menus.Entries[row]);

  // Columns fit their widest cell, not their header: the long name widens
  // column 0, and the empty classes leave column 1 narrower than sizing it
  // to its header "クラス" would.
  auto columnWidth = [](int column) {
    return static_cast<int>(SendMessageW(g_windowView, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
  };
  const int longName = static_cast<int>(SendMessageW(
      g_windowView, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(L"A long registered name that is wide")));
  EXPECT_GE(columnWidth(0), longName);
  const int classWidth = columnWidth(1);
  SendMessageW(g_windowView, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
  EXPECT_LT(classWidth, columnWidth(1));

  store.windows.Count = 0;
  RefreshWindowView();
  EXPECT_EQ(ColumnCount(g_windowView), 0);
  EXPECT_EQ(RowCount(g_windowView), 0);
}

TEST_F(MainWindowTest, RebuildingTheHiddenViewKeepsItHidden) {
  for (int list : {0, 1}) {
    SCOPED_TRACE(list);
    Build(list);
    ShowWindow(g_mainWindow, SW_SHOW);
    store.windows.Entries[0] = MakeWindowEntry(L"A", L"ClassA", PosCenter, 10, 10);
    store.windows.Count = 1;
    store.menus.Entries[0] = MakeMenuEntry(PosCenter, 10, 10);
    store.menus.Count = 1;
    RefreshWindowView();
    RefreshMenuView();
    EXPECT_EQ(IsWindowVisible(g_windowView) != FALSE, list == 1);
    EXPECT_EQ(IsWindowVisible(g_menuView) != FALSE, list == 0);
    TearDown();
  }
}

TEST_F(MainWindowTest, SwitchingListsMovesViewCheckMarkAndSetting) {
  struct Step { const char* how; int command; int list; };
  const Step steps[] = {
      {"toolbar switch", IDM_SWITCHLIST, 0},
      {"toolbar switch again", IDM_SWITCHLIST, 1},
      {"menu list", IDM_MENULIST, 0},
      {"menu list again", IDM_MENULIST, 0},
      {"window list, notification code in the high word", IDM_WINDOWLIST, 1},
  };
  Build(1);
  ShowWindow(g_mainWindow, SW_SHOW);
  EXPECT_TRUE(MenuChecked(IDM_WINDOWLIST));
  EXPECT_FALSE(MenuChecked(IDM_MENULIST));
  for (const Step& step : steps) {
    SCOPED_TRACE(step.how);
    EXPECT_EQ(Command(step.command, step.command == IDM_WINDOWLIST ? 1 : 0), 0);
    EXPECT_EQ(store.settings.List, step.list);
    EXPECT_EQ(MenuChecked(IDM_WINDOWLIST), step.list == 1);
    EXPECT_EQ(MenuChecked(IDM_MENULIST), step.list == 0);
    EXPECT_EQ(IsWindowVisible(g_windowView) != FALSE, step.list == 1);
    EXPECT_EQ(IsWindowVisible(g_menuView) != FALSE, step.list == 0);
  }
}

TEST_F(MainWindowTest, StartingOnTheMenuListChecksOnlyIt) {
  Build(0);
  EXPECT_FALSE(MenuChecked(IDM_WINDOWLIST));
  EXPECT_TRUE(MenuChecked(IDM_MENULIST));
  EXPECT_EQ(store.settings.List, 0);
  EXPECT_TRUE(HasStyle(g_menuView, WS_VISIBLE));
  EXPECT_FALSE(HasStyle(g_windowView, WS_VISIBLE));
}

TEST_F(MainWindowTest, LayoutPutsBothViewsUnderTheToolbarAtFullSize) {
  Build();
  SetWindowPos(g_mainWindow, nullptr, 0, 0, 520, 410, SWP_NOMOVE | SWP_NOZORDER);
  RECT client, toolbar;
  GetClientRect(g_mainWindow, &client);
  GetWindowRect(g_toolbar, &toolbar);
  const int top = toolbar.bottom - toolbar.top;
  EXPECT_GT(top, 0);
  EXPECT_EQ(toolbar.right - toolbar.left, client.right);
  for (HWND view : {g_windowView, g_menuView}) {
    RECT rect;
    GetWindowRect(view, &rect);
    MapWindowPoints(nullptr, g_mainWindow, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, client.right);
    EXPECT_EQ(rect.bottom, client.bottom);
  }
}

// What the main window draws at a DPI, read back from its controls.
struct DpiLayout {
  RECT window;
  int toolbarHeight;
  int imageHeight;
  LONG fontHeight;
  int columnWidths[4];
};

DpiLayout ReadDpiLayout() {
  DpiLayout layout = {};
  layout.window = {};
  GetWindowRect(g_mainWindow, &layout.window);
  RECT toolbar;
  GetWindowRect(g_toolbar, &toolbar);
  layout.toolbarHeight = toolbar.bottom - toolbar.top;
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(g_toolbar, TB_GETIMAGELIST, 0, 0));
  int imageWidth = 0;
  ImageList_GetIconSize(images, &imageWidth, &layout.imageHeight);
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(g_windowView, WM_GETFONT, 0, 0)), sizeof(font), &font);
  layout.fontHeight = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
  for (int column = 0; column < 4; ++column) {
    layout.columnWidths[column] =
        static_cast<int>(SendMessageW(g_windowView, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
  }
  return layout;
}

// A move to a monitor of twice the scale and back: the window takes the
// suggested rectangle, the toolbar the larger images, the views a font twice
// as tall and columns fitted to it, and the children stay laid out under
// the toolbar. Back at the first DPI everything is as it was.
TEST_F(MainWindowTest, FollowsAMoveToAMonitorOfAnotherScale) {
  store.windows.Entries[0] = MakeWindowEntry(L"エディタ", L"Notepad", 3, 800, 600);
  store.windows.Count = 1;
  Build();
  const WORD dpi = static_cast<WORD>(WindowDpi(g_mainWindow));
  const DpiLayout before = ReadDpiLayout();
  EXPECT_EQ(before.imageHeight, dpi >= 120 ? 24 : 16);

  RECT doubled = {200, 150, 200 + 2 * (before.window.right - before.window.left),
                  150 + 2 * (before.window.bottom - before.window.top)};
  SendMessageW(g_mainWindow, WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&doubled));
  ASSERT_EQ(GetDlgItem(g_mainWindow, IDC_TOOLBAR), g_toolbar);
  EXPECT_EQ(SendMessageW(g_toolbar, TB_BUTTONCOUNT, 0, 0), 5);
  const DpiLayout scaled = ReadDpiLayout();
  EXPECT_TRUE(EqualRect(&scaled.window, &doubled));
  EXPECT_EQ(scaled.imageHeight, 24);
  EXPECT_GE(scaled.toolbarHeight, before.toolbarHeight);
  EXPECT_NEAR(scaled.fontHeight, 2 * before.fontHeight, 1);
  for (int column = 0; column < 4; ++column) EXPECT_GT(scaled.columnWidths[column], before.columnWidths[column]);
  RECT view;
  GetWindowRect(g_windowView, &view);
  MapWindowPoints(nullptr, g_mainWindow, reinterpret_cast<POINT*>(&view), 2);
  EXPECT_EQ(view.top, scaled.toolbarHeight);

  SendMessageW(g_mainWindow, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&before.window));
  const DpiLayout back = ReadDpiLayout();
  EXPECT_TRUE(EqualRect(&back.window, &before.window));
  EXPECT_EQ(back.toolbarHeight, before.toolbarHeight);
  EXPECT_EQ(back.imageHeight, before.imageHeight);
  EXPECT_EQ(back.fontHeight, before.fontHeight);
  for (int column = 0; column < 4; ++column) EXPECT_EQ(back.columnWidths[column], before.columnWidths[column]);
}

TEST_F(MainWindowTest, UnknownCommandsAndOtherNotificationsChangeNothing) {
  store.windows.Entries[0] = MakeWindowEntry(L"A", L"ClassA", PosCenter, 10, 10);
  store.windows.Entries[1] = MakeWindowEntry(L"B", L"ClassB", PosCenter, 10, 10);
  store.windows.Count = 2;
  Build(1);
  SelectRow(g_windowView, 1);

  for (int id : {0, 1, 10001, 10022, 10032, 10033, 40001, 40017, 65535}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(Command(id), 0);
  }
  // Change and delete with nothing selected return at once (a dialog or
  // message box would block this call).
  ShowList(0);
  EXPECT_EQ(Command(IDM_CHANGE), 0);
  EXPECT_EQ(Command(IDM_DELETE), 0);
  ShowList(1);
  for (UINT code : {static_cast<UINT>(NM_CLICK), static_cast<UINT>(NM_RCLICK), static_cast<UINT>(LVN_ITEMCHANGED),
                    static_cast<UINT>(TTN_GETDISPINFOA), static_cast<UINT>(TBN_GETINFOTIPW)}) {
    SCOPED_TRACE(code);
    NMHDR header = {};
    header.hwndFrom = g_windowView;
    header.idFrom = IDC_WINDOWVIEW;
    header.code = code;
    EXPECT_EQ(SendMessageW(g_mainWindow, WM_NOTIFY, IDC_WINDOWVIEW, reinterpret_cast<LPARAM>(&header)), 0);
  }

  EXPECT_EQ(store.settings.List, 1);
  EXPECT_EQ(store.windows.Count, 2);
  EXPECT_EQ(RowCount(g_windowView), 2);
  EXPECT_EQ(SelectedRows(g_windowView), std::vector<int>{1});
  EXPECT_FALSE(IsWindowVisible(g_mainWindow));
}

// Until the first show there are no children; a table change meanwhile
// touches nothing. The first show makes the toolbar and both views, filled,
// with the chosen list shown (the end-to-end test checks their layout);
// later shows keep them.
TEST_F(MainWindowTest, FirstShowMakesTheChildrenOnce) {
  store.windows.Entries[0] = MakeWindowEntry(L"A", L"", PosFree, 640, 480);
  store.windows.Entries[1] = MakeWindowEntry(L"B", L"", PosFree, 640, 480);
  store.windows.Count = 2;
  store.settings.List = 2;  // any value but 0 names the window list, and stays as written
  BuildHidden();
  RefreshWindowView();
  EXPECT_EQ(GetWindow(g_mainWindow, GW_CHILD), nullptr);

  SendMessageW(g_mainWindow, MSG_TRAY, 0, WM_LBUTTONUP);
  ASSERT_TRUE(IsWindowVisible(g_mainWindow));
  ASSERT_NE(g_toolbar, nullptr);
  ASSERT_NE(g_windowView, nullptr);
  ASSERT_NE(g_menuView, nullptr);
  EXPECT_EQ(RowCount(g_windowView), 2);
  EXPECT_EQ(CellText(g_windowView, 1, 0), L"B");
  EXPECT_TRUE(HasStyle(g_windowView, WS_VISIBLE));
  EXPECT_FALSE(HasStyle(g_menuView, WS_VISIBLE));
  EXPECT_EQ(store.settings.List, 2);

  const HWND made[] = {g_toolbar, g_windowView, g_menuView};
  SendMessageW(g_mainWindow, MSG_TRAY, 0, WM_LBUTTONUP);
  SendMessageW(g_mainWindow, MSG_TRAY, 0, WM_LBUTTONUP);
  EXPECT_EQ(g_toolbar, made[0]);
  EXPECT_EQ(g_windowView, made[1]);
  EXPECT_EQ(g_menuView, made[2]);
}

// The tray's clicks and minimising.
TEST_F(MainWindowTest, TrayLeftClicksToggleAndMinimiseHides) {
  Build();
  struct Step { const char* what; UINT message; WPARAM wParam; LPARAM lParam; bool visible; };
  const Step steps[] = {
      {"left button down is ignored", MSG_TRAY, 0, WM_LBUTTONDOWN, false},
      {"double click is ignored", MSG_TRAY, 0, WM_LBUTTONDBLCLK, false},
      {"left click shows", MSG_TRAY, 0, WM_LBUTTONUP, true},
      {"left click hides", MSG_TRAY, 0, WM_LBUTTONUP, false},
      {"left click shows again", MSG_TRAY, 0, WM_LBUTTONUP, true},
      {"right click leaves it shown", MSG_TRAY, 0, WM_RBUTTONUP, true},
      {"minimise hides", WM_SYSCOMMAND, SC_MINIMIZE, 0, false},
      {"right click leaves it hidden", MSG_TRAY, 0, WM_RBUTTONUP, false},
      {"next left click shows", MSG_TRAY, 0, WM_LBUTTONUP, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    SendMessageW(g_mainWindow, step.message, step.wParam, step.lParam);
    EXPECT_EQ(IsWindowVisible(g_mainWindow) != FALSE, step.visible);
    EXPECT_FALSE(IsIconic(g_mainWindow));
  }
}

}  // namespace
}  // namespace qm
