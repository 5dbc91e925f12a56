// The menu entry dialog of the real program, opened through the main
// window's commands while the menu list is shown: its two mutually
// exclusive boxes, loading a preset and OK (the ways out: EntryDialogs_test).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/DialogDriver.h"
#include "tests/e2e/E2eSupport.h"

namespace e2e {
namespace {

EntryFields Preset(int desablePos, int left, int top, int pos, int desableSize, int width, int height) {
  return EntryFields{{}, {}, desablePos, left, top, pos, desableSize, width, height};
}

HWND OpenChange(App& app, int row) {
  ListViewSelectRows(app.Child(IDC_MENUVIEW), {row});
  return OpenDialog(app, IDM_CHANGE);
}

void Ok(HWND dialog) {
  PostClick(dialog, IDOK);
  ASSERT_TRUE(WaitClosed(dialog));
}

void Cancel(HWND dialog) {
  PostClick(dialog, IDCANCEL);
  ASSERT_TRUE(WaitClosed(dialog));
}

// Every test runs the program on a store of its own with the menu list
// shown, without entries unless the test writes it again before starting
// the program.
class MenuEntryDialog : public testing::Test {
 protected:
  MenuEntryDialog() { WriteStore(dir, 0, {}, {}); }
  TempDir dir;
  App app{dir.path()};
};

// The dialog's three states; left and top follow the position box in the
// free and size-fixed states.
enum class State { Free, PositionFixed, SizeFixed };

void ExpectState(HWND dialog, State state) {
  const bool free = SelectedItem(dialog) == 0;
  const bool positionFixed = state == State::PositionFixed;
  const bool sizeFixed = state == State::SizeFixed;
  EXPECT_EQ(Checked(dialog, IDC_DESABLEPOS), positionFixed);
  EXPECT_EQ(Checked(dialog, IDC_DESABLESIZE), sizeFixed);
  for (int id : {IDC_LEFT, IDC_TOP}) EXPECT_EQ(Enabled(dialog, id), !positionFixed && free) << id;
  EXPECT_EQ(Enabled(dialog, IDC_POS), !positionFixed);
  for (int id : {IDC_WIDTH, IDC_HEIGHT}) EXPECT_EQ(Enabled(dialog, id), !sizeFixed) << id;
}

TEST_F(MenuEntryDialog, AddThenOkStoresAnAllZeroPresetInItsPlace) {
  WriteStore(dir, 0, {}, {Preset(0, 5, 0, 0, 0, 10, 10), Preset(0, 0, 0, 1, 0, 10, 10)});
  ASSERT_TRUE(app.Start());
  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), Texts().add);
  EXPECT_EQ(FocusedWindow(dialog), GetDlgItem(dialog, IDC_DESABLEPOS));
  EXPECT_EQ(ComboTexts(dialog),
            AnchorTexts());
  for (int id : {IDC_LEFT, IDC_TOP, IDC_WIDTH, IDC_HEIGHT}) EXPECT_EQ(DlgItemText(dialog, id), L"") << id;
  EXPECT_EQ(SelectedItem(dialog), 0);
  ExpectState(dialog, State::Free);
  Ok(dialog);

  // Saved at once, sorted by position, left, top, width, height.
  EXPECT_EQ(IniInt(app.EntryPath(), L"Menu", L"Item"), 3);
  EXPECT_TRUE(SameEntry(IniMenuEntry(app.EntryPath(), 1), Preset(0, 0, 0, 0, 0, 0, 0)));
  EXPECT_TRUE(SameEntry(IniMenuEntry(app.EntryPath(), 2), Preset(0, 5, 0, 0, 0, 10, 10)));
  EXPECT_TRUE(SameEntry(IniMenuEntry(app.EntryPath(), 3), Preset(0, 0, 0, 1, 0, 10, 10)));
  EXPECT_EQ(ListViewRowCount(app.Child(IDC_MENUVIEW)), 3);
  EXPECT_EQ(ListViewText(app.Child(IDC_MENUVIEW), 0, 1), L" 0 x 0 ");
  EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"List"), 0);
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(MenuEntryDialog, TypedLeftKeptWhenThePositionIsFixed) {
  ASSERT_TRUE(app.Start());
  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  TypeChars(dialog, IDC_LEFT, L"100");
  TypeChars(dialog, IDC_TOP, L"-25");
  Click(dialog, IDC_DESABLEPOS);
  ExpectState(dialog, State::PositionFixed);
  Ok(dialog);
  EXPECT_TRUE(SameEntry(IniMenuEntry(app.EntryPath(), 1), Preset(1, 100, -25, 0, 0, 0, 0)));
  EXPECT_EQ(app.Close(), 0);
}

// Ticking one box clears the other; clearing the ticked one goes back to
// free; for each of the chosen positions.
TEST_F(MenuEntryDialog, TheBoxesLeadBetweenTheThreeStates) {
  struct Case {
    std::vector<int> clicks;
    State state;
  };
  const Case cases[] = {
      {{IDC_DESABLEPOS}, State::PositionFixed},
      {{IDC_DESABLESIZE}, State::SizeFixed},
      {{IDC_DESABLEPOS, IDC_DESABLEPOS}, State::Free},
      {{IDC_DESABLESIZE, IDC_DESABLESIZE}, State::Free},
      {{IDC_DESABLEPOS, IDC_DESABLESIZE}, State::SizeFixed},
      {{IDC_DESABLESIZE, IDC_DESABLEPOS}, State::PositionFixed},
      {{IDC_DESABLEPOS, IDC_DESABLESIZE, IDC_DESABLESIZE}, State::Free},
  };
  const std::string entryBefore = ReadBytes(dir.File(L"Entry.ini"));
  ASSERT_TRUE(app.Start());
  for (int item : {0, 3}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "item " << item << ", clicks " << c.clicks.size() << " first "
                                      << c.clicks[0]);
      HWND dialog = OpenDialog(app, IDM_ADD);
      ASSERT_NE(dialog, nullptr);
      Choose(dialog, item);
      for (int id : c.clicks) Click(dialog, id);
      ExpectState(dialog, c.state);
      Cancel(dialog);
    }
  }
  EXPECT_EQ(ReadBytes(dir.File(L"Entry.ini")), entryBefore) << "nothing saved";
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(MenuEntryDialog, AnAnchorDisablesLeftAndTopWhichKeepTheirText) {
  ASSERT_TRUE(app.Start());
  HWND dialog = OpenDialog(app, IDM_ADD);
  ASSERT_NE(dialog, nullptr);
  TypeChars(dialog, IDC_LEFT, L"-40");
  TypeChars(dialog, IDC_TOP, L"30");
  Choose(dialog, 3);  // " 中央 "
  ExpectState(dialog, State::Free);
  EXPECT_FALSE(Enabled(dialog, IDC_LEFT));
  EXPECT_EQ(DlgItemText(dialog, IDC_LEFT), L"-40");
  Choose(dialog, 0);  // " 任意 "
  EXPECT_TRUE(Enabled(dialog, IDC_LEFT));
  EXPECT_EQ(DlgItemText(dialog, IDC_TOP), L"30");
  // Values in disabled boxes are stored too.
  Choose(dialog, 3);
  TypeChars(dialog, IDC_WIDTH, L"50");
  Click(dialog, IDC_DESABLESIZE);
  EXPECT_FALSE(Enabled(dialog, IDC_WIDTH));
  Ok(dialog);
  EXPECT_TRUE(SameEntry(IniMenuEntry(app.EntryPath(), 1), Preset(0, -40, 30, 3, 1, 50, 0)));
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(MenuEntryDialog, ChangeLoadsThePresetIntoOneOfTheStates) {
  const EntryFields both = Preset(1, 7, 8, 2, 1, 300, 200);
  const EntryFields oddPos = Preset(0, 1, 2, 9, 0, 3, 4);
  const EntryFields negative = Preset(0, -1920, -1080, 0, 0, 640, 480);
  const EntryFields sizeFixed = Preset(0, 5, 6, 4, 1, 10, 20);
  // The table as loaded (in this order; only OK sorts).
  WriteStore(dir, 0, {}, {both, oddPos, negative, sizeFixed});
  ASSERT_TRUE(app.Start());
  struct Case {
    const EntryFields* preset;
    State state;
    int item;
  };
  const Case cases[] = {
      {&both, State::PositionFixed, 2},
      {&oddPos, State::Free, -1},
      {&negative, State::Free, 0},
      {&sizeFixed, State::SizeFixed, 4},
  };
  for (int row = 0; row < 4; ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE(row);
    HWND dialog = OpenChange(app, row);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), Texts().change);
    EXPECT_EQ(SelectedItem(dialog), c.item);
    ExpectState(dialog, c.state);
    const std::pair<int, int EntryFields::*> numbers[] = {
        {IDC_LEFT, &EntryFields::left}, {IDC_TOP, &EntryFields::top},
        {IDC_WIDTH, &EntryFields::width}, {IDC_HEIGHT, &EntryFields::height}};
    for (const auto& [id, field] : numbers) EXPECT_EQ(DlgItemText(dialog, id), std::to_wstring(c.preset->*field)) << id;
    Cancel(dialog);
  }

  // OK on each without a change: both flags become position fixed only,
  // the position no item stood for becomes -1, negative numbers stay.
  for (int pass = 0; pass < 4; ++pass) {
    HWND dialog = OpenChange(app, pass);
    ASSERT_NE(dialog, nullptr);
    Ok(dialog);
  }
  std::vector<EntryFields> stored;
  for (int i = 1; i <= 4; ++i) stored.push_back(IniMenuEntry(app.EntryPath(), i));
  auto has = [&](const EntryFields& e) {
    for (const EntryFields& s : stored) {
      if (SameEntry(s, e)) return true;
    }
    return false;
  };
  EXPECT_TRUE(has(Preset(1, 7, 8, 2, 0, 300, 200)));
  EXPECT_TRUE(has(Preset(0, 1, 2, -1, 0, 3, 4)));
  EXPECT_TRUE(has(negative));
  EXPECT_TRUE(has(sizeFixed));
  for (const EntryFields& s : stored) EXPECT_FALSE(s.desablePos != 0 && s.desableSize != 0);
  // Sorted: the -1 position first.
  EXPECT_EQ(stored[0].pos, -1);
  EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e
