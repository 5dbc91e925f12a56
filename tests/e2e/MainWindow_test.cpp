// The main window of the real program, driven from outside: the tray icon,
// minimising, the list switch, deleting, the About box and a full table.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hook/HookContract.h"
#include "res/resource.h"
#include "tests/e2e/DialogDriver.h"
#include "tests/e2e/E2eSupport.h"

namespace e2e {
namespace {

struct WindowRule {
  std::wstring title;
  std::wstring windowClass;
  int pos = 0;
  int left = 0, top = 0, width = 100, height = 100;
};

// Rules that leave the frame alone; presets of the given widths, free at
// (0, 0), 100 high.
void WriteFiles(const TempDir& dir, int list, const std::vector<WindowRule>& rules, const std::vector<int>& presets) {
  std::vector<EntryFields> windows, menus;
  for (const WindowRule& r : rules) {
    windows.push_back({r.title, r.windowClass, 0, r.left, r.top, r.pos, 0, r.width, r.height, 1});
  }
  for (int width : presets) menus.push_back({{}, {}, 0, 0, 0, 0, 0, width, 100});
  WriteUtf16File(dir.File(L"Config.ini"), L"[Config]\r\nList=" + std::to_wstring(list) + L"\r\n");
  WriteUtf16File(dir.File(L"Entry.ini"), WindowEntriesText(windows) + MenuEntriesText(menus));
}

std::vector<WindowRule> NamedRules(const std::vector<std::wstring>& titles) {
  std::vector<WindowRule> rules;
  for (const std::wstring& title : titles) rules.push_back({title, L"Class" + title});
  return rules;
}

bool HasVisibleStyle(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

std::vector<std::wstring> Column(HWND view, int column) {
  std::vector<std::wstring> cells;
  for (int row = 0; row < ListViewRowCount(view); ++row) cells.push_back(ListViewText(view, row, column));
  return cells;
}

// Presses a message box or dialog button by its id and waits until the box
// is gone.
bool Answer(HWND box, int button) {
  PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
  return WaitUntil([&] { return !IsWindow(box); });
}

bool PopupMenuOpen() {
  HWND menu = nullptr;
  while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) != nullptr) {
    if (IsWindowVisible(menu)) return true;
  }
  return false;
}

std::wstring ExeString(int id) {
  HMODULE exe = LoadLibraryExW((ExeDir() + L"\\Quillmere.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  wchar_t text[256] = {};
  LoadStringW(exe, static_cast<UINT>(id), text, 256);
  FreeLibrary(exe);
  return text;
}

// The window was never resized, so the views' place comes from start-up.
TEST(MainWindow, FirstShowHasTheViewsFillingTheWindowUnderTheToolbar) {
  TempDir dir;
  WriteFiles(dir, 1, NamedRules({L"A"}), {});
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  app.Post(MSG_TRAY, 0, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(app.main()) != FALSE; }));

  RECT client;
  GetClientRect(app.main(), &client);
  const RECT toolbar = WindowRect(app.Child(IDC_TOOLBAR));
  EXPECT_GT(toolbar.bottom - toolbar.top, 0);
  for (int id : {IDC_WINDOWVIEW, IDC_MENUVIEW}) {
    SCOPED_TRACE(id);
    RECT view = WindowRect(app.Child(id));
    MapWindowPoints(nullptr, app.main(), reinterpret_cast<POINT*>(&view), 2);
    EXPECT_EQ(view.left, 0);
    EXPECT_EQ(view.top, toolbar.bottom - toolbar.top);
    EXPECT_EQ(view.right, client.right);
    EXPECT_EQ(view.bottom, client.bottom);
  }
  EXPECT_EQ(app.Close(), 0);
}

TEST(MainWindow, TrayRightClickPlacesVisibleMatchingWindowsAndStaysHidden) {
  TempDir dir;
  WindowRule rule{L"Placed", L"QmMainTrayTarget", 0, 210, 160, 500, 400};
  WriteFiles(dir, 1, {rule}, {});
  Target shown, hidden;
  ASSERT_TRUE(shown.Start(L"--class QmMainTrayTarget --title Shown --rect 10,10,300,200"));
  ASSERT_TRUE(hidden.Start(L"--class QmMainTrayTarget --title Hidden --rect 20,20,300,200 --hidden"));
  App app(dir.path());
  ASSERT_TRUE(app.Start());

  app.Post(MSG_TRAY, 0, WM_RBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] {
    RECT r = WindowRect(shown.window());
    return r.left == 210 && r.top == 160 && r.right == 710 && r.bottom == 560;
  }));
  // The placement ran inside the tray message's handling; nothing after it
  // may show the main window or open a menu.
  EXPECT_EQ(app.Send(WM_NULL), 0);
  EXPECT_FALSE(IsWindowVisible(app.main()));
  EXPECT_FALSE(PopupMenuOpen());
  RECT untouched = WindowRect(hidden.window());
  EXPECT_EQ(untouched.left, 20);
  EXPECT_EQ(untouched.right - untouched.left, 300);
  EXPECT_EQ(app.Close(), 0);
}

TEST(MainWindow, ListSwitchAlternatesAndReachesConfigOnExit) {
  struct Case { int switches; int list; };
  const Case cases[] = {{0, 1}, {1, 0}, {2, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.switches);
    TempDir dir;
    App app(dir.path());
    ASSERT_TRUE(app.Start());
    HWND windowView = app.Child(IDC_WINDOWVIEW);
    HWND menuView = app.Child(IDC_MENUVIEW);
    ASSERT_TRUE(HasVisibleStyle(windowView));
    ASSERT_FALSE(HasVisibleStyle(menuView));
    for (int i = 1; i <= c.switches; ++i) {
      app.PostCommand(IDM_SWITCHLIST);
      const bool windowListNow = i % 2 == 0;
      EXPECT_TRUE(WaitUntil([&] {
        return HasVisibleStyle(windowView) == windowListNow && HasVisibleStyle(menuView) == !windowListNow;
      }));
    }
    // Nothing is written before the exit.
    EXPECT_FALSE(FileExists(app.ConfigPath()));
    EXPECT_EQ(app.Close(), 0);
    EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"List"), c.list);
  }
}

TEST(MainWindow, DeleteAsksThenRemovesTheSelectedRowsKeepingOrder) {
  struct Case {
    const char* name;
    int list;
    int answer;
    std::vector<std::wstring> rowsAfter;  // window list: titles; menu list: size texts
    int itemsAfterExit;
  };
  const Case cases[] = {
      {"window list, yes", 1, IDYES, {L"B", L"D"}, 2},
      {"window list, no", 1, IDNO, {L"A", L"B", L"C", L"D"}, 4},
      {"menu list, yes", 0, IDYES, {L" 200 x 100 ", L" 400 x 100 "}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    WriteFiles(dir, c.list, NamedRules({L"A", L"B", L"C", L"D"}), {100, 200, 300, 400});
    const std::string before = ReadBytes(dir.File(L"Entry.ini"));
    App app(dir.path());
    ASSERT_TRUE(app.Start());
    HWND view = app.Child(c.list != 0 ? IDC_WINDOWVIEW : IDC_MENUVIEW);
    const int column = c.list != 0 ? 0 : 1;
    ASSERT_EQ(ListViewRowCount(view), 4);
    ListViewSelectRows(view, {0, 2});

    app.PostCommand(IDM_DELETE);
    HWND box = WaitForOwnedDialog(app.main());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), Texts().remove);
    EXPECT_EQ(DlgItemText(box, kMessageBoxText), Texts().deleteConfirm);
    EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
    ASSERT_TRUE(Answer(box, c.answer));

    EXPECT_EQ(Column(view, column), c.rowsAfter);
    if (c.answer == IDYES) {
      EXPECT_TRUE(ListViewSelectedRows(view).empty());
    } else {
      EXPECT_EQ(ListViewSelectedRows(view), (std::vector<int>{0, 2}));
    }
    // The deletion stays in memory until the next save.
    EXPECT_EQ(ReadBytes(dir.File(L"Entry.ini")), before);

    EXPECT_EQ(app.Close(), 0);
    const wchar_t* section = c.list != 0 ? L"Window" : L"Menu";
    EXPECT_EQ(IniInt(app.EntryPath(), section, L"Item"), c.itemsAfterExit);
    if (c.list != 0) {
      for (size_t i = 0; i < c.rowsAfter.size(); ++i) {
        EXPECT_EQ(IniString(app.EntryPath(), L"Window", (L"Title" + std::to_wstring(i + 1)).c_str()),
                  c.rowsAfter[i]);
      }
    } else {
      EXPECT_EQ(IniInt(app.EntryPath(), L"Menu", L"Width1"), 200);
      EXPECT_EQ(IniInt(app.EntryPath(), L"Menu", L"Width2"), 400);
      EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Item"), 4);
    }
  }
}

TEST(MainWindow, ChangeAndDeleteWithNothingSelectedDoNothing) {
  for (int list : {1, 0}) {
    SCOPED_TRACE(list);
    TempDir dir;
    WriteFiles(dir, list, NamedRules({L"A", L"B"}), {100, 200});
    App app(dir.path());
    ASSERT_TRUE(app.Start());
    for (int command : {IDM_CHANGE, IDM_DELETE}) {
      // Sent, not posted: it returns only once handled, and a dialog or
      // message box would still be open then.
      app.Send(WM_COMMAND, static_cast<WPARAM>(command));
      EXPECT_EQ(FindOwnedDialog(app.main()), nullptr) << command;
    }
    EXPECT_EQ(ListViewRowCount(app.Child(IDC_WINDOWVIEW)), 2);
    EXPECT_EQ(ListViewRowCount(app.Child(IDC_MENUVIEW)), 2);
    EXPECT_EQ(app.Close(), 0);
    EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Item"), 2);
    EXPECT_EQ(IniInt(app.EntryPath(), L"Menu", L"Item"), 2);
  }
}

TEST(MainWindow, ViewsShowTheLoadedTablesAndNoColumnsWhenEmpty) {
  TempDir dir;
  WindowRule centred{L"中央のエディタ", L"Notepad", 3, 0, 0, 800, 600};
  WriteFiles(dir, 1, {centred}, {});
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  HWND windowView = app.Child(IDC_WINDOWVIEW);
  ASSERT_EQ(ListViewColumnCount(windowView), 6);
  EXPECT_EQ(ListViewRows(windowView, 6),
            (std::vector<std::vector<std::wstring>>{{L"中央のエディタ", L"Notepad", Texts().anchors[3], L" 800 x 600 ", L"", L""}}));
  EXPECT_EQ(ListViewColumnCount(app.Child(IDC_MENUVIEW)), 0);
  EXPECT_EQ(ListViewRowCount(app.Child(IDC_MENUVIEW)), 0);

  // Deleting the only entry takes the columns away with it.
  ListViewSelectRows(windowView, {0});
  app.PostCommand(IDM_DELETE);
  HWND box = WaitForOwnedDialog(app.main());
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(Answer(box, IDYES));
  EXPECT_EQ(ListViewColumnCount(windowView), 0);
  EXPECT_EQ(ListViewRowCount(windowView), 0);
  EXPECT_EQ(app.Close(), 0);
}

TEST(MainWindow, EmptyTableHasNoColumnsUntilTheFirstAdd) {
  TempDir dir;
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  HWND windowView = app.Child(IDC_WINDOWVIEW);
  EXPECT_EQ(ListViewColumnCount(windowView), 0);

  app.PostCommand(IDM_ADD);
  HWND dialog = WaitForOwnedDialog(app.main());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), Texts().add);
  SetText(dialog, IDC_TITLE, L"最初の項目");
  ASSERT_TRUE(Answer(dialog, IDOK));

  EXPECT_EQ(ListViewColumnCount(windowView), 6);
  ASSERT_EQ(ListViewRowCount(windowView), 1);
  EXPECT_EQ(ListViewText(windowView, 0, 0), L"最初の項目");
  EXPECT_EQ(app.Close(), 0);
}

// Client point at the middle of a row of a report view in another process:
// below the header, by the row height the view itself reports.
POINT RowPoint(HWND view, int row) {
  auto approximateHeight = [&](int rows) {
    return HIWORD(static_cast<DWORD>(SendMessageW(view, LVM_APPROXIMATEVIEWRECT, static_cast<WPARAM>(rows),
                                                  MAKELPARAM(-1, -1))));
  };
  const int rowHeight = approximateHeight(2) - approximateHeight(1);
  HWND header = reinterpret_cast<HWND>(SendMessageW(view, LVM_GETHEADER, 0, 0));
  const RECT headerRect = WindowRect(header);
  return POINT{8, (headerRect.bottom - headerRect.top) + rowHeight * row + rowHeight / 2};
}

void DoubleClickRow(HWND view, int row) {
  const POINT p = RowPoint(view, row);
  const LPARAM at = MAKELPARAM(p.x, p.y);
  PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(view, WM_LBUTTONUP, 0, at);
  PostMessageW(view, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageW(view, WM_LBUTTONUP, 0, at);
}

TEST(MainWindow, ChangeOpensTheDialogForTheFirstSelectedRow) {
  struct Case {
    const char* name;
    int list;
    std::vector<int> selected;  // empty: double-click on doubleClickRow
    int doubleClickRow;
    int field;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {"rows 1 and 3 selected", 1, {1, 3}, -1, IDC_TITLE, L"B"},
      {"double-click on row 2", 1, {}, 2, IDC_TITLE, L"C"},
      {"menu list, rows 2 and 3 selected", 0, {2, 3}, -1, IDC_WIDTH, L"300"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    WriteFiles(dir, c.list, NamedRules({L"A", L"B", L"C", L"D"}), {100, 200, 300, 400});
    App app(dir.path());
    ASSERT_TRUE(app.Start());
    HWND view = app.Child(c.list != 0 ? IDC_WINDOWVIEW : IDC_MENUVIEW);
    if (c.selected.empty()) {
      DoubleClickRow(view, c.doubleClickRow);
    } else {
      ListViewSelectRows(view, c.selected);
      app.PostCommand(IDM_CHANGE);
    }
    HWND dialog = WaitForOwnedDialog(app.main());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), Texts().change);
    EXPECT_EQ(DlgItemText(dialog, c.field), c.expected);
    ASSERT_TRUE(Answer(dialog, IDCANCEL));
    EXPECT_EQ(app.Close(), 0);
  }
}

TEST(MainWindow, AboutBoxShowsNameAndVersion) {
  TempDir dir;
  App app(dir.path());
  ASSERT_TRUE(app.Start());
  app.PostCommand(IDM_ABOUT);
  HWND box = WaitForOwnedDialog(app.main());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), Texts().about);
  const std::wstring text = DlgItemText(box, kMessageBoxText);
  EXPECT_EQ(text, ExeString(IDS_ABOUT_TEXT));
  EXPECT_EQ(text.rfind(L"Quillmere ", 0), 0u) << "the program's name first";
  EXPECT_NE(text.find_first_of(L"0123456789"), std::wstring::npos) << "and its version";
  EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos) << "on one line";
  EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_EQ(app.Close(), 0);
}

// A full table has no room for another entry: the add command says so and
// opens no entry dialog, and the files keep all 512 entries.
TEST(MainWindow, AddToAFullTableIsRefusedBeforeAnyDialog) {
  for (int list : {1, 0}) {
    SCOPED_TRACE(list);
    TempDir dir;
    std::vector<std::wstring> titles;
    std::vector<int> widths;
    for (int i = 0; i < 512; ++i) {
      titles.push_back(L"T" + std::to_wstring(1000 + i));
      widths.push_back(100 + i);
    }
    WriteFiles(dir, list, NamedRules(titles), widths);
    App app(dir.path());
    ASSERT_TRUE(app.Start());

    app.PostCommand(IDM_ADD);
    HWND box = WaitForOwnedDialog(app.main());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), L"Quillmere");
    EXPECT_EQ(DlgItemText(box, kMessageBoxText), Texts().tableFull);
    ASSERT_TRUE(Answer(box, IDOK));
    app.Send(WM_NULL);
    EXPECT_EQ(FindOwnedDialog(app.main()), nullptr) << "no entry dialog after the refusal";

    EXPECT_EQ(app.Close(), 0);
    EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Item"), 512);
    EXPECT_EQ(IniInt(app.EntryPath(), L"Menu", L"Item"), 512);
    EXPECT_EQ(IniString(app.EntryPath(), L"Window", L"Title512"), L"T1511");
    EXPECT_EQ(IniInt(app.EntryPath(), L"Menu", L"Width512"), 611);
  }
}

}  // namespace
}  // namespace e2e
