// What both entry dialogs of the real program do alike, once per dialog:
// every way out without OK stores nothing, and Enter presses OK.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/DialogDriver.h"
#include "tests/e2e/E2eSupport.h"

namespace e2e {
namespace {

struct EntryDialogCase {
  const char* name;
  int list;  // Config.ini's List: 1 shows the window list, 0 the menu list
  int view;
  int columns;  // of the view, as the rows are compared
  std::vector<EntryFields> windows, menus;
  int changedRow;
  void (*edit)(HWND dialog);  // inputs that would change the entry
  int focusedId;              // where Escape is pressed
  const wchar_t* title;       // the registered name Enter's add needs, if any
  EntryFields (*stored)(const std::wstring& path, int n);
};

void PrintTo(const EntryDialogCase& c, std::ostream* out) { *out << c.name; }

void EditWindowEntry(HWND dialog) {
  SetText(dialog, IDC_TITLE, L"Changed");
  SetText(dialog, IDC_CLASS, L"QmChanged");
  SetText(dialog, IDC_LEFT, L"99");
  Click(dialog, IDC_DESABLESIZE);
  Choose(dialog, 3);
}

void EditMenuEntry(HWND dialog) {
  Click(dialog, IDC_DESABLESIZE);
  Choose(dialog, 5);
  SetText(dialog, IDC_WIDTH, L"77");
}

const EntryDialogCase kEntryDialogs[] = {
    {"WindowEntry", 1, IDC_WINDOWVIEW, 4, {{L"Alpha", L"QmAlpha", 0, -3, -4, 0, 0, 10, 20}, {L"Beta", L"QmBeta"}},
     {}, 0, EditWindowEntry, IDC_TITLE, L"Typed", IniWindowEntry},
    {"MenuEntry", 0, IDC_MENUVIEW, 2, {},
     {{{}, {}, 0, 1, 2, 0, 0, 3, 4}, {{}, {}, 1, 0, 0, 3, 0, 5, 6}}, 1, EditMenuEntry, IDC_DESABLEPOS, nullptr,
     IniMenuEntry},
};

// Every test runs the program on a store of its own with the dialog's list
// shown.
class EntryDialogs : public testing::TestWithParam<EntryDialogCase> {
 protected:
  TempDir dir;
  App app{dir.path()};
};

TEST_P(EntryDialogs, CancelEscapeAndTheCloseBoxStoreNothing) {
  const EntryDialogCase& c = GetParam();
  WriteStore(dir, c.list, c.windows, c.menus);
  const std::string entryBefore = ReadBytes(dir.File(L"Entry.ini"));
  const std::string configBefore = ReadBytes(dir.File(L"Config.ini"));
  ASSERT_TRUE(app.Start());
  HWND view = app.Child(c.view);
  const auto rowsBefore = ListViewRows(view, c.columns);
  for (WayOut way : kWaysOut) {
    for (int command : {IDM_CHANGE, IDM_ADD}) {
      SCOPED_TRACE(testing::Message() << "way " << static_cast<int>(way) << " command " << command);
      if (command == IDM_CHANGE) ListViewSelectRows(view, {c.changedRow});
      HWND dialog = OpenDialog(app, command);
      ASSERT_NE(dialog, nullptr);
      c.edit(dialog);
      ASSERT_TRUE(LeaveWithoutOk(dialog, way, c.focusedId));
      EXPECT_EQ(ListViewRows(view, c.columns), rowsBefore);
      EXPECT_EQ(ReadBytes(dir.File(L"Entry.ini")), entryBefore);
      EXPECT_EQ(ReadBytes(dir.File(L"Config.ini")), configBefore);
    }
  }
  EXPECT_EQ(app.Close(), 0);
}

// Enter presses the default button.
TEST_P(EntryDialogs, EnterIsOk) {
  const EntryDialogCase& c = GetParam();
  WriteStore(dir, c.list, {}, {});
  ASSERT_TRUE(app.Start());
  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  if (c.title != nullptr) SetText(dialog, IDC_TITLE, c.title);
  TypeChars(dialog, IDC_WIDTH, L"640");
  PostKey(dialog, IDC_WIDTH, VK_RETURN);
  ASSERT_TRUE(WaitClosed(dialog));
  EntryFields expected;
  expected.title = c.title != nullptr ? c.title : L"";
  expected.width = 640;
  EXPECT_TRUE(SameEntry(c.stored(app.EntryPath(), 1), expected));
  EXPECT_EQ(app.Close(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothDialogs, EntryDialogs, testing::ValuesIn(kEntryDialogs),
                         [](const testing::TestParamInfo<EntryDialogCase>& info) { return info.param.name; });

}  // namespace
}  // namespace e2e
