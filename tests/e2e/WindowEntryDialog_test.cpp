// The window entry dialog of the real program, opened through the main
// window's commands and driven from outside: the running-window list, its
// sorting, "取得", the enable rules, OK and the ways out without storing.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "hook/HookContract.h"
#include "res/resource.h"
#include "tests/e2e/DialogDriver.h"
#include "tests/e2e/E2eSupport.h"

namespace e2e {
namespace {

using Rows = std::vector<std::vector<std::wstring>>;

HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_WINDOWLIST); }

int FindRow(const Rows& rows, const std::wstring& windowClass, const std::wstring& title) {
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i][0] == windowClass && rows[i][1] == title) return static_cast<int>(i);
  }
  return -1;
}

std::vector<std::wstring> Column(const Rows& rows, int column) {
  std::vector<std::wstring> texts;
  for (const auto& row : rows) texts.push_back(row[column]);
  return texts;
}

// The column's texts in the order a sort must leave them: by UTF-16 code
// unit, so "" first and "B" before "a".
std::vector<std::wstring> Sorted(std::vector<std::wstring> texts, bool ascending) {
  std::sort(texts.begin(), texts.end());
  if (!ascending) std::reverse(texts.begin(), texts.end());
  return texts;
}

// Opens the dialog for the entry shown in row `row` of the window list.
HWND OpenChange(App& app, int row) {
  ListViewSelectRows(app.Child(IDC_WINDOWVIEW), {row});
  return OpenDialog(app, IDM_CHANGE);
}

// Controls whose enabled state the three "do not change" boxes and the
// position box govern.
struct Enables {
  bool leftTop, pos, size, style;
};

Enables ReadEnables(HWND dialog) {
  EXPECT_EQ(Enabled(dialog, IDC_LEFT), Enabled(dialog, IDC_TOP));
  EXPECT_EQ(Enabled(dialog, IDC_WIDTH), Enabled(dialog, IDC_HEIGHT));
  EXPECT_EQ(Enabled(dialog, IDC_BORDER), Enabled(dialog, IDC_DIALOGFRAME));
  EXPECT_EQ(Enabled(dialog, IDC_BORDER), Enabled(dialog, IDC_THICKFRAME));
  return {Enabled(dialog, IDC_LEFT), Enabled(dialog, IDC_POS), Enabled(dialog, IDC_WIDTH), Enabled(dialog, IDC_BORDER)};
}

#define EXPECT_ENABLES(dialog, lt, p, sz, st)    \
  do {                                          \
    const Enables e_ = ReadEnables(dialog);     \
    EXPECT_EQ(e_.leftTop, lt) << "left, top";   \
    EXPECT_EQ(e_.pos, p) << "position";         \
    EXPECT_EQ(e_.size, sz) << "width, height";  \
    EXPECT_EQ(e_.style, st) << "frame boxes";   \
  } while (0)

// The texts and check marks of several controls, each named on failure.
struct ControlText {
  int id;
  std::wstring text;
};
void ExpectTexts(HWND dialog, std::initializer_list<ControlText> expected) {
  for (const ControlText& c : expected) EXPECT_EQ(DlgItemText(dialog, c.id), c.text) << "control " << c.id;
}
struct ControlCheck {
  int id;
  bool checked;
};
void ExpectChecks(HWND dialog, std::initializer_list<ControlCheck> expected) {
  for (const ControlCheck& c : expected) EXPECT_EQ(Checked(dialog, c.id), c.checked) << "control " << c.id;
}
void ExpectFrames(HWND dialog, bool border, bool dialogFrame, bool thickFrame) {
  ExpectChecks(dialog, {{IDC_BORDER, border}, {IDC_DIALOGFRAME, dialogFrame}, {IDC_THICKFRAME, thickFrame}});
}

// Every test runs the program on a store of its own, empty unless the test
// writes it again before starting the program; target windows a test needs
// are started first, so the dialog lists them.
class WindowEntryDialog : public testing::Test {
 protected:
  WindowEntryDialog() { WriteStore(dir, 1, {}, {}); }
  TempDir dir;
  App app{dir.path()};
};

void Cancel(HWND dialog) {
  PostClick(dialog, IDCANCEL);
  ASSERT_TRUE(WaitClosed(dialog));
}

void Ok(HWND dialog) {
  PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitClosed(dialog));
}

TEST_F(WindowEntryDialog, AddListsTheRunningWindowsAndStartsEmpty) {
  Target shown, hidden, owned, tool, splash;
  ASSERT_TRUE(shown.Start(L"--class QmListShown --title Shown"));
  // Caption-less pop-ups without an owner: a tool window (as programs make
  // for drop-downs and tooltips) is no window to a user, a plain one (a
  // splash screen, a borderless main window) is.
  ASSERT_TRUE(tool.Start(L"--class QmListTool --title Tool --style 80800000 --exstyle 80"));
  ASSERT_TRUE(splash.Start(L"--class QmListSplash --title Splash --style 80800000"));
  ASSERT_TRUE(hidden.Start(L"--class QmListHidden --title Hidden --hidden"));
  // GetParent names the owner of a pop-up only, so the owned windows are
  // pop-ups here.
  ASSERT_TRUE(owned.Start(L"--class QmListOwned --title Owned --count 2 --owned --style 80CF0000", 2));
  ASSERT_TRUE(app.Start());
  // A visible main window of the program itself is listed like any other.
  app.Send(MSG_TRAY, 0, WM_LBUTTONUP);
  ASSERT_TRUE(IsWindowVisible(app.main()));

  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), Texts().add);
  EXPECT_EQ(FocusedWindow(dialog), GetDlgItem(dialog, IDC_TITLE));
  for (int id : {IDC_TITLE, IDC_CLASS, IDC_LEFT, IDC_TOP, IDC_WIDTH, IDC_HEIGHT}) {
    EXPECT_EQ(DlgItemText(dialog, id), L"") << id;
  }
  EXPECT_EQ(ComboTexts(dialog),
            AnchorTexts());
  EXPECT_EQ(SelectedItem(dialog), 0);
  for (int id : {IDC_DESABLEPOS, IDC_DESABLESIZE, IDC_DESABLESTYLE, IDC_BORDER, IDC_DIALOGFRAME, IDC_THICKFRAME}) {
    EXPECT_FALSE(Checked(dialog, id)) << id;
  }
  EXPECT_ENABLES(dialog, true, true, true, true);

  ASSERT_EQ(ListViewColumnCount(List(dialog)), 3);  // class, title, program
  const Rows rows = ListViewRows(List(dialog), 2);
  EXPECT_GE(FindRow(rows, L"QmListShown", L"Shown"), 0);
  EXPECT_GE(FindRow(rows, L"QmListOwned", L"Owned 1"), 0);
  EXPECT_EQ(FindRow(rows, L"QmListOwned", L"Owned 2"), -1) << "a window with an owner";
  EXPECT_EQ(FindRow(rows, L"QmListHidden", L"Hidden"), -1) << "an invisible window";
  EXPECT_EQ(FindRow(rows, L"QmListTool", L"Tool"), -1) << "a caption-less tool window";
  EXPECT_GE(FindRow(rows, L"QmListSplash", L"Splash"), 0) << "a caption-less window the taskbar would show";
  EXPECT_EQ(FindRow(rows, L"#32770", Texts().add), -1) << "the dialog itself";
  EXPECT_GE(FindRow(rows, L"Quillmere", L"Quillmere"), 0) << "the program's own main window";
  for (const auto& row : rows) {
    EXPECT_NE(row[0], L"Progman");
    EXPECT_NE(row[0], L"Shell_TrayWnd");
  }
  // Item data numbers the rows in the order they were listed.
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) EXPECT_EQ(ListViewItemData(List(dialog), i), i);

  Cancel(dialog);
  EXPECT_EQ(app.Close(), 0);
}

// Every combination of the three boxes, reached by clicks: at most two can
// be ticked, and a click that would tick the third is undone at once with
// every enabled state as it was.
TEST_F(WindowEntryDialog, EnableStatesForEveryCombinationOfTheBoxes) {
  struct Case {
    std::vector<int> clicks;
    bool pos, size, style;  // ticked afterwards
  };
  const Case cases[] = {
      {{}, false, false, false},
      {{IDC_DESABLEPOS}, true, false, false},
      {{IDC_DESABLESIZE}, false, true, false},
      {{IDC_DESABLESTYLE}, false, false, true},
      {{IDC_DESABLEPOS, IDC_DESABLESIZE}, true, true, false},
      {{IDC_DESABLEPOS, IDC_DESABLESTYLE}, true, false, true},
      {{IDC_DESABLESIZE, IDC_DESABLESTYLE}, false, true, true},
      {{IDC_DESABLESIZE, IDC_DESABLESTYLE, IDC_DESABLEPOS}, false, true, true},
      {{IDC_DESABLEPOS, IDC_DESABLESTYLE, IDC_DESABLESIZE}, true, false, true},
      {{IDC_DESABLEPOS, IDC_DESABLESIZE, IDC_DESABLESTYLE}, true, true, false},
      {{IDC_DESABLEPOS, IDC_DESABLEPOS}, false, false, false},
  };
  ASSERT_TRUE(app.Start());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "clicks " << c.clicks.size() << " first " << (c.clicks.empty() ? 0 : c.clicks[0]));
    HWND dialog = OpenDialog(app, IDM_ADD);
    ASSERT_NE(dialog, nullptr);
    Enables before{};
    for (size_t i = 0; i < c.clicks.size(); ++i) {
      if (i + 1 == c.clicks.size()) before = ReadEnables(dialog);
      Click(dialog, c.clicks[i]);
    }
    ExpectChecks(dialog, {{IDC_DESABLEPOS, c.pos}, {IDC_DESABLESIZE, c.size}, {IDC_DESABLESTYLE, c.style}});
    EXPECT_ENABLES(dialog, !c.pos, !c.pos, !c.size, !c.style);
    if (c.clicks.size() == 3) {
      const Enables after = ReadEnables(dialog);
      EXPECT_EQ(after.leftTop, before.leftTop);
      EXPECT_EQ(after.pos, before.pos);
      EXPECT_EQ(after.size, before.size);
      EXPECT_EQ(after.style, before.style);
    }
    Cancel(dialog);
  }
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(WindowEntryDialog, PositionBoxDecidesLeftAndTopWhichKeepTheirText) {
  ASSERT_TRUE(app.Start());
  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  SetText(dialog, IDC_LEFT, L"12");
  SetText(dialog, IDC_TOP, L"-34");

  Choose(dialog, 3);  // " 中央 "
  EXPECT_ENABLES(dialog, false, true, true, true);
  EXPECT_EQ(DlgItemText(dialog, IDC_LEFT), L"12");
  Choose(dialog, 0);  // " 任意 "
  EXPECT_ENABLES(dialog, true, true, true, true);
  EXPECT_EQ(DlgItemText(dialog, IDC_TOP), L"-34");

  // Unticking the position box while an anchor is chosen enables the
  // position box but not left and top.
  Choose(dialog, 5);
  Click(dialog, IDC_DESABLEPOS);
  EXPECT_ENABLES(dialog, false, false, true, true);
  Click(dialog, IDC_DESABLEPOS);
  EXPECT_ENABLES(dialog, false, true, true, true);
  Cancel(dialog);
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(WindowEntryDialog, ChangeLoadsTheEntryAndItsEnabledStates) {
  EntryFields all{L"A all flags", L"QmA", 1, 10, 20, 3, 1, 300, 200, 1, 1, 0, 1};
  EntryFields fixedPos{L"B position fixed", L"QmB", 1, 1, 2, 0, 0, 3, 4, 0, 0, 1, 0};
  EntryFields centred{L"C centred", L"QmC", 0, 1, 2, 3, 0, 3, 4, 0, 1, 1, 1};
  EntryFields odd{L"D odd position", L"QmD", 0, -1920, -8, 9, 0, 640, 480, 0, 0, 0, 0};
  struct Case {
    const EntryFields* entry;
    bool pos, size, style;  // ticked
    int item;               // selected position
    bool leftTop, posEnabled, sizeEnabled, styleEnabled;
  };
  const Case cases[] = {
      // The position box is undone by the other two; left and top stay
      // enabled although an anchor is shown, as no position command runs.
      {&all, false, true, true, 3, true, true, false, false},
      {&fixedPos, true, false, false, 0, false, false, true, true},
      {&centred, false, false, false, 3, false, true, true, true},
      {&odd, false, false, false, -1, false, true, true, true},
  };
  WriteStore(dir, 1, {all, fixedPos, centred, odd}, {});
  ASSERT_TRUE(app.Start());
  for (int row = 0; row < 4; ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE(c.entry->title);
    HWND dialog = OpenChange(app, row);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), Texts().change);
    ExpectTexts(dialog, {{IDC_TITLE, c.entry->title},
                         {IDC_CLASS, c.entry->windowClass},
                         {IDC_LEFT, std::to_wstring(c.entry->left)},
                         {IDC_TOP, std::to_wstring(c.entry->top)},
                         {IDC_WIDTH, std::to_wstring(c.entry->width)},
                         {IDC_HEIGHT, std::to_wstring(c.entry->height)}});
    ExpectChecks(dialog, {{IDC_DESABLEPOS, c.pos}, {IDC_DESABLESIZE, c.size}, {IDC_DESABLESTYLE, c.style}});
    ExpectFrames(dialog, c.entry->border != 0, c.entry->dialogFrame != 0, c.entry->thickFrame != 0);
    EXPECT_EQ(SelectedItem(dialog), c.item);
    EXPECT_ENABLES(dialog, c.leftTop, c.posEnabled, c.sizeEnabled, c.styleEnabled);
    Cancel(dialog);
  }

  // OK without touching anything: the negative coordinates come back as
  // they were, and the position no item stood for is stored as -1.
  HWND dialog = OpenChange(app, 3);
  ASSERT_NE(dialog, nullptr);
  Ok(dialog);
  EntryFields expected = odd;
  expected.pos = -1;
  EXPECT_TRUE(SameEntry(IniWindowEntry(app.EntryPath(), 4), expected));
  EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Left4"), -1920);

  // The entry with all three flags loses the position flag the dialog
  // could not show; its values in disabled controls are kept.
  dialog = OpenChange(app, 0);
  ASSERT_NE(dialog, nullptr);
  Ok(dialog);
  expected = all;
  expected.desablePos = 0;
  EXPECT_TRUE(SameEntry(IniWindowEntry(app.EntryPath(), 1), expected));

  // Left, top and position shown in disabled controls are stored as shown.
  dialog = OpenChange(app, 1);
  ASSERT_NE(dialog, nullptr);
  ASSERT_FALSE(Enabled(dialog, IDC_LEFT));
  Ok(dialog);
  EXPECT_TRUE(SameEntry(IniWindowEntry(app.EntryPath(), 2), fixedPos));
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(WindowEntryDialog, HeaderClicksSortAndTheDirectionOutlivesTheDialog) {
  Target upper, lower, untitled;
  ASSERT_TRUE(upper.Start(L"--class QmSortB --title B"));
  ASSERT_TRUE(lower.Start(L"--class QmSorta --title a"));
  ASSERT_TRUE(untitled.Start(L"--class QmSortC --title \"\""));
  ASSERT_TRUE(app.Start());

  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  HWND list = List(dialog);
  const Rows listed = ListViewRows(list, 2);
  ASSERT_GE(listed.size(), 3u);
  auto columnIs = [&](int column, const std::vector<std::wstring>& expected) {
    if (WaitUntil([&] { return Column(ListViewRows(list, 2), column) == expected; }, 5000)) return true;
    for (const std::wstring& text : Column(ListViewRows(list, 2), column)) ADD_FAILURE() << "have " << testing::PrintToString(text);
    for (const std::wstring& text : expected) ADD_FAILURE() << "want " << testing::PrintToString(text);
    return false;
  };
  const std::vector<std::wstring> classes = Column(listed, 0);
  const std::vector<std::wstring> titles = Column(listed, 1);

  ClickListViewHeader(list, 0);
  EXPECT_TRUE(columnIs(0, Sorted(classes, true))) << "first click: ascending";
  Cancel(dialog);

  // Reopened, the class column continues where it stopped.
  dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  list = List(dialog);
  ClickListViewHeader(list, 0);
  EXPECT_TRUE(columnIs(0, Sorted(classes, false))) << "second click, after reopening: descending";
  ClickListViewHeader(list, 0);
  EXPECT_TRUE(columnIs(0, Sorted(classes, true))) << "third click: ascending";

  // The title column has a direction of its own: ascending first, with the
  // window without a title before "B" and "B" before "a".
  ClickListViewHeader(list, 1);
  ASSERT_TRUE(columnIs(1, Sorted(titles, true)));
  const std::vector<std::wstring> sortedTitles = Column(ListViewRows(list, 2), 1);
  const auto at = [&](const wchar_t* t) { return std::find(sortedTitles.begin(), sortedTitles.end(), t) - sortedTitles.begin(); };
  EXPECT_EQ(sortedTitles.front(), L"");
  EXPECT_LT(at(L"B"), at(L"a"));
  // Rows keep their data through a sort.
  const Rows sorted = ListViewRows(list, 2);
  for (int i = 0; i < static_cast<int>(sorted.size()); ++i) {
    const LPARAM data = ListViewItemData(list, i);
    ASSERT_GE(data, 0);
    ASSERT_LT(data, static_cast<LPARAM>(listed.size()));
    EXPECT_EQ(sorted[i], listed[static_cast<size_t>(data)]);
  }

  // "更新" lists the windows anew, unsorted, and leaves every input alone.
  SetText(dialog, IDC_TITLE, L"name kept");
  SetText(dialog, IDC_CLASS, L"class kept");
  SetText(dialog, IDC_LEFT, L"-5");
  Click(dialog, IDC_DESABLESIZE);
  Choose(dialog, 2);
  Click(dialog, IDC_REFRESH);
  const Rows refreshed = ListViewRows(list, 2);
  ASSERT_FALSE(refreshed.empty());
  for (int i = 0; i < static_cast<int>(refreshed.size()); ++i) EXPECT_EQ(ListViewItemData(list, i), i);
  ExpectTexts(dialog, {{IDC_TITLE, L"name kept"}, {IDC_CLASS, L"class kept"}, {IDC_LEFT, L"-5"}});
  EXPECT_TRUE(Checked(dialog, IDC_DESABLESIZE));
  EXPECT_EQ(SelectedItem(dialog), 2);
  // The title column's next click continues its own alternation.
  ClickListViewHeader(list, 1);
  EXPECT_TRUE(columnIs(1, Sorted(Column(refreshed, 1), false)));
  Cancel(dialog);
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(WindowEntryDialog, GetTakesTheSelectedWindowsTitleRectangleAndFrame) {
  Target untitled, titled;
  // A captioned, sizable window without a title on a monitor left of and
  // above the primary one; a pop-up with a dialog frame.
  ASSERT_TRUE(untitled.Start(L"--class QmTakeUntitled --title \"\" --style 00C40000 --rect -600,-400,300,200"));
  ASSERT_TRUE(titled.Start(L"--class QmTakeTitled --title \"Titled window\" --style 80400000 --rect 50,60,320,240"));
  ASSERT_TRUE(app.Start());
  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  HWND list = List(dialog);
  Rows rows = ListViewRows(list, 2);
  const int untitledRow = FindRow(rows, L"QmTakeUntitled", L"");
  const int titledRow = FindRow(rows, L"QmTakeTitled", L"Titled window");
  ASSERT_GE(untitledRow, 0);
  ASSERT_GE(titledRow, 0);

  // Selecting a row copies only its class.
  SetText(dialog, IDC_TITLE, L"typed name");
  ListViewSelectRows(list, {titledRow});
  EXPECT_EQ(DlgItemText(dialog, IDC_CLASS), L"QmTakeTitled");
  EXPECT_EQ(DlgItemText(dialog, IDC_TITLE), L"typed name");

  // Values go into disabled controls too, and the boxes and the position
  // box stay as they were.
  Click(dialog, IDC_DESABLESIZE);
  Choose(dialog, 4);
  Click(dialog, IDC_GET);
  ExpectTexts(dialog, {{IDC_TITLE, L"Titled window"}, {IDC_LEFT, L"50"}, {IDC_TOP, L"60"}, {IDC_WIDTH, L"320"},
                       {IDC_HEIGHT, L"240"}});
  ExpectFrames(dialog, false, true, false);
  EXPECT_TRUE(Checked(dialog, IDC_DESABLESIZE));
  EXPECT_EQ(SelectedItem(dialog), 4);
  EXPECT_ENABLES(dialog, false, true, false, true);
  Click(dialog, IDC_DESABLESIZE);
  Choose(dialog, 0);

  // A row without a title empties the name; a caption ticks both border
  // and dialog frame; the negative position arrives as it is.
  ListViewSelectRows(list, {untitledRow});
  EXPECT_EQ(DlgItemText(dialog, IDC_CLASS), L"QmTakeUntitled");
  Click(dialog, IDC_GET);
  ExpectTexts(dialog, {{IDC_TITLE, L""}, {IDC_LEFT, L"-600"}, {IDC_TOP, L"-400"}, {IDC_WIDTH, L"300"},
                       {IDC_HEIGHT, L"200"}});
  ExpectFrames(dialog, true, true, true);

  // With the name empty OK does nothing and says nothing.
  Click(dialog, IDOK);
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_EQ(FindOwnedDialogs(app.main()).size(), 1u);

  // Named, the rule keeps the negative position (it used to come back 0).
  SetText(dialog, IDC_TITLE, L"Negative");
  Ok(dialog);
  const EntryFields stored = IniWindowEntry(app.EntryPath(), 1);
  EXPECT_EQ(stored.title, L"Negative");
  EXPECT_EQ(stored.windowClass, L"QmTakeUntitled");
  EXPECT_EQ(stored.left, -600);
  EXPECT_EQ(stored.top, -400);
  EXPECT_EQ(stored.width, 300);
  EXPECT_EQ(stored.height, 200);
  EXPECT_EQ(stored.border + stored.dialogFrame + stored.thickFrame, 3);
  EXPECT_EQ(app.Close(), 0);
}

// A minimised window gives where it returns to, not its parking spot, to
// "取得" and to the save at exit: the program's own main window, minimised as
// Win+M does it (Wine reads another process's placement as its rectangle).
TEST_F(WindowEntryDialog, AMinimisedWindowGivesWhereItReturnsTo) {
  ASSERT_TRUE(app.Start());
  app.Post(MSG_TRAY, 0, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(app.main()) != FALSE; }));
  const RECT shown = WindowRect(app.main());
  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  const int row = FindRow(ListViewRows(List(dialog), 2), L"Quillmere", L"Quillmere");
  ASSERT_GE(row, 0);
  ShowWindow(app.main(), SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(app.main()) != FALSE; }));
  ListViewSelectRows(List(dialog), {row});
  Click(dialog, IDC_GET);
  ExpectTexts(dialog, {{IDC_LEFT, std::to_wstring(shown.left)}, {IDC_TOP, std::to_wstring(shown.top)},
                       {IDC_WIDTH, L"320"}, {IDC_HEIGHT, L"240"}});
  Click(dialog, IDCANCEL);
  EXPECT_EQ(app.Close(), 0);
  EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"Left"), shown.left);
  EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"Top"), shown.top);
}

// A window closed after the list was filled: its title still becomes the
// name, but the numbers and frame boxes keep what they held.
TEST_F(WindowEntryDialog, GetOnAWindowThatIsGoneKeepsTheNumbers) {
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmTakeGone --title \"Soon gone\" --rect 10,20,300,200"));
  ASSERT_TRUE(app.Start());
  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  HWND list = List(dialog);
  const int row = FindRow(ListViewRows(list, 2), L"QmTakeGone", L"Soon gone");
  ASSERT_GE(row, 0);
  ListViewSelectRows(list, {row});
  for (const ControlText& c : {ControlText{IDC_LEFT, L"1"}, {IDC_TOP, L"2"}, {IDC_WIDTH, L"3"}, {IDC_HEIGHT, L"4"}}) {
    SetText(dialog, c.id, c.text);
  }
  Click(dialog, IDC_BORDER);
  target.process().Terminate();
  ASSERT_TRUE(WaitUntil([&] { return FindWindowW(L"QmTakeGone", nullptr) == nullptr; }));

  Click(dialog, IDC_GET);
  ExpectTexts(dialog, {{IDC_TITLE, L"Soon gone"}, {IDC_LEFT, L"1"}, {IDC_TOP, L"2"}, {IDC_WIDTH, L"3"},
                       {IDC_HEIGHT, L"4"}});
  ExpectFrames(dialog, true, false, false);
  Cancel(dialog);
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(WindowEntryDialog, DuplicateClassIsRefusedOnlyWhileAdding) {
  WriteStore(dir, 1, {{L"Existing", L"QmDup"}, {L"Other", L"QmOther"}}, {});
  ASSERT_TRUE(app.Start());
  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  SetText(dialog, IDC_TITLE, L"New");
  SetText(dialog, IDC_CLASS, L"QmDup");
  SetText(dialog, IDC_LEFT, L"-7");
  PostClick(dialog, IDOK);
  HWND box = WaitForMessageBox(app.main(), dialog);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"Quillmere");
  EXPECT_EQ(DlgItemText(box, kMessageBoxText), Texts().classExists);
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
  PostClick(box, IDOK);
  ASSERT_TRUE(WaitClosed(box));
  EXPECT_TRUE(IsWindow(dialog));
  ExpectTexts(dialog, {{IDC_TITLE, L"New"}, {IDC_CLASS, L"QmDup"}, {IDC_LEFT, L"-7"}});
  EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Item"), 2);

  // The comparison is case-sensitive; and an empty class never clashes,
  // however many entries have one.
  SetText(dialog, IDC_CLASS, L"qmdup");
  Ok(dialog);
  for (const wchar_t* name : {L"Empty 1", L"Empty 2"}) {
    dialog = OpenDialog(app, IDM_ADD);
    ASSERT_NE(dialog, nullptr);
    SetText(dialog, IDC_TITLE, name);
    Ok(dialog);
  }
  EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Item"), 5);

  // Changing an entry to a class another entry has is accepted.
  const Rows view = ListViewRows(app.Child(IDC_WINDOWVIEW), 2);
  int otherRow = -1;
  for (size_t i = 0; i < view.size(); ++i) {
    if (view[i][0] == L"Other") otherRow = static_cast<int>(i);
  }
  ASSERT_GE(otherRow, 0);
  dialog = OpenChange(app, otherRow);
  ASSERT_NE(dialog, nullptr);
  SetText(dialog, IDC_CLASS, L"QmDup");
  Ok(dialog);
  EXPECT_EQ(FindOwnedDialog(app.main()), nullptr);
  const EntryFields other = IniWindowEntry(app.EntryPath(), 5);
  EXPECT_EQ(other.title, L"Other");
  EXPECT_EQ(other.windowClass, L"QmDup");
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(WindowEntryDialog, OkStoresSortsRefreshesAndSavesAtOnce) {
  WriteStore(dir, 1, {{L"Alpha", L"QmAlpha"}, {L"Zulu", L"QmZulu"}}, {EntryFields{}});
  ASSERT_TRUE(app.Start());

  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  SetText(dialog, IDC_TITLE, L"Middle");
  SetText(dialog, IDC_CLASS, L"QmMiddle");
  Click(dialog, IDC_DESABLEPOS);
  SetText(dialog, IDC_LEFT, L"-1280");
  SetText(dialog, IDC_WIDTH, L"800");
  Click(dialog, IDC_DESABLESTYLE);
  Click(dialog, IDC_THICKFRAME);
  Ok(dialog);

  // Written before the program exits, in title order.
  EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Item"), 3);
  int n = 1;
  for (const wchar_t* title : {L"Alpha", L"Middle", L"Zulu"}) {
    EXPECT_EQ(IniString(app.EntryPath(), L"Window", (L"Title" + std::to_wstring(n++)).c_str()), title);
  }
  EntryFields middle{L"Middle", L"QmMiddle", 1, -1280, 0, 0, 0, 800, 0, 1, 0, 0, 1};
  EXPECT_TRUE(SameEntry(IniWindowEntry(app.EntryPath(), 2), middle));
  EXPECT_EQ(IniInt(app.EntryPath(), L"Menu", L"Item"), 1);
  EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"List"), 1);
  HWND view = app.Child(IDC_WINDOWVIEW);
  EXPECT_EQ(ListViewRows(view, 2), (Rows{{L"Alpha", L"QmAlpha"}, {L"Middle", L"QmMiddle"}, {L"Zulu", L"QmZulu"}}));

  // A change that renames moves the entry to its new place.
  dialog = OpenChange(app, 2);
  ASSERT_NE(dialog, nullptr);
  SetText(dialog, IDC_TITLE, L"Aardvark");
  Ok(dialog);
  EXPECT_EQ(ListViewRows(view, 2), (Rows{{L"Aardvark", L"QmZulu"}, {L"Alpha", L"QmAlpha"}, {L"Middle", L"QmMiddle"}}));
  EXPECT_EQ(IniString(app.EntryPath(), L"Window", L"Title1"), L"Aardvark");
  EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Item"), 3);
  EXPECT_EQ(app.Close(), 0);
}

// The number boxes take an optional leading minus sign as typed; the
// values come back from OK unchanged across the whole signed range, and a
// number outside it is stored as 0.
TEST_F(WindowEntryDialog, NumberBoxesTakeNegativeNumbers) {
  ASSERT_TRUE(app.Start());
  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  SetText(dialog, IDC_TITLE, L"Typed");
  EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, IDC_LEFT), GWL_STYLE) & ES_NUMBER, 0);

  TypeChars(dialog, IDC_LEFT, L"-12a-3 ");
  EXPECT_EQ(DlgItemText(dialog, IDC_LEFT), L"-123");
  TypeChars(dialog, IDC_TOP, L"\uFF0D\uFF14\uFF15");  // full-width "－４５"
  EXPECT_EQ(DlgItemText(dialog, IDC_TOP), L"-45");
  TypeChars(dialog, IDC_WIDTH, L"99999999999");
  // A sign typed in front of a number that is already there.
  TypeChars(dialog, IDC_HEIGHT, L"2147483648");
  HWND height = GetDlgItem(dialog, IDC_HEIGHT);
  SendTo(height, EM_SETSEL, 0, 0);
  SendTo(height, WM_CHAR, L'-', 1);
  EXPECT_EQ(DlgItemText(dialog, IDC_HEIGHT), L"-2147483648");
  SendTo(height, WM_CHAR, L'-', 1);
  EXPECT_EQ(DlgItemText(dialog, IDC_HEIGHT), L"-2147483648");
  Ok(dialog);
  const EntryFields stored = IniWindowEntry(app.EntryPath(), 1);
  EXPECT_EQ(stored.left, -123);
  EXPECT_EQ(stored.top, -45);
  EXPECT_EQ(stored.width, 0) << "out of range";
  EXPECT_EQ(stored.height, INT32_MIN);
  EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e
