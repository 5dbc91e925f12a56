#include "dialogs/EntryRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "res/resource.h"

namespace qm {
namespace {

using React = int32_t (*)(EntryControlState&, int32_t);

// A command arriving at the dialog, with the commands it sends itself.
void Command(EntryControlState& state, React react, int32_t id) {
  for (int32_t next = id; next != 0;) next = react(state, next);
}

// A user's click on a check box: the box toggles, then notifies.
void Click(EntryControlState& state, React react, int32_t id) {
  bool* box = id == IDC_DESABLEPOS ? &state.DesablePos : id == IDC_DESABLESIZE ? &state.DesableSize : &state.DesableStyle;
  *box = !*box;
  Command(state, react, id);
}

void Choose(EntryControlState& state, React react, int32_t pos) {
  state.PosSelection = pos;
  Command(state, react, IDC_POS);
}

// The controls after an entry is loaded: check marks and selection set
// without notifications, then the commands the dialog sends itself.
EntryControlState Load(React react, int32_t (*commands)(int32_t, int32_t*), int32_t desablePos,
                       int32_t desableSize, int32_t desableStyle, int32_t pos) {
  EntryControlState state = FreshEntryControlState();
  state.DesablePos = desablePos != 0;
  state.DesableSize = desableSize != 0;
  state.DesableStyle = desableStyle != 0;
  state.PosSelection = pos >= PosFree && pos < kPosCount ? pos : -1;
  int32_t ids[4];
  const int32_t count = commands(desablePos, ids);
  for (int32_t i = 0; i < count; ++i) Command(state, react, ids[i]);
  return state;
}

bool Same(const EntryControlState& a, const EntryControlState& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

// What every state reached by clicks and choices must satisfy.
void ExpectWindowInvariant(const EntryControlState& s) {
  EXPECT_LE(s.DesablePos + s.DesableSize + s.DesableStyle, 2);
  EXPECT_EQ(s.PosEnabled, !s.DesablePos);
  EXPECT_EQ(s.LeftTopEnabled, !s.DesablePos && s.PosSelection == PosFree);
  EXPECT_EQ(s.SizeEnabled, !s.DesableSize);
  EXPECT_EQ(s.StyleEnabled, !s.DesableStyle);
}

TEST(DialogsWindowEntryRules, LoadingEveryFlagCombinationAndPosition) {
  for (int32_t flags = 0; flags < 8; ++flags) {
    const int32_t dp = flags & 1, ds = (flags >> 1) & 1, dst = (flags >> 2) & 1;
    for (int32_t pos = -1; pos <= 6; ++pos) {
      SCOPED_TRACE(testing::Message() << "flags " << dp << ds << dst << " pos " << pos);
      const EntryControlState s = Load(ReactWindowEntryCommand, WindowEntryLoadCommands, dp, ds, dst, pos);
      if (dp && ds && dst) {
        // The first command finds the other two boxes ticked and undoes the
        // position box; it sends no position command, so the left and top
        // boxes stay enabled whatever position is selected.
        EXPECT_FALSE(s.DesablePos);
        EXPECT_TRUE(s.DesableSize);
        EXPECT_TRUE(s.DesableStyle);
        EXPECT_TRUE(s.LeftTopEnabled);
        EXPECT_TRUE(s.PosEnabled);
        EXPECT_FALSE(s.SizeEnabled);
        EXPECT_FALSE(s.StyleEnabled);
      } else {
        ExpectWindowInvariant(s);
      }
    }
  }
}

TEST(DialogsWindowEntryRules, AThirdBoxIsUndoneAndChangesNothingElse) {
  const int32_t boxes[] = {IDC_DESABLEPOS, IDC_DESABLESIZE, IDC_DESABLESTYLE};
  for (int32_t third : boxes) {
    for (int32_t pos : {int32_t{PosFree}, int32_t{PosCenter}}) {
      EntryControlState s = FreshEntryControlState();
      Choose(s, ReactWindowEntryCommand, pos);
      for (int32_t other : boxes) {
        if (other != third) Click(s, ReactWindowEntryCommand, other);
      }
      const EntryControlState before = s;
      Click(s, ReactWindowEntryCommand, third);
      EXPECT_TRUE(Same(s, before)) << third << " pos " << pos;
    }
  }
}

TEST(DialogsWindowEntryRules, UntickingPositionKeepsLeftAndTopOffForAnAnchor) {
  EntryControlState s = FreshEntryControlState();
  Click(s, ReactWindowEntryCommand, IDC_DESABLEPOS);
  EXPECT_FALSE(s.LeftTopEnabled);
  EXPECT_FALSE(s.PosEnabled);
  s.PosSelection = PosCenter;  // shown while disabled, as a loaded entry can
  Click(s, ReactWindowEntryCommand, IDC_DESABLEPOS);
  EXPECT_TRUE(s.PosEnabled);
  EXPECT_FALSE(s.LeftTopEnabled);
  Choose(s, ReactWindowEntryCommand, PosFree);
  EXPECT_TRUE(s.LeftTopEnabled);
  // With no item selected the left and top boxes are off as well.
  Choose(s, ReactWindowEntryCommand, -1);
  EXPECT_FALSE(s.LeftTopEnabled);
}

TEST(DialogsWindowEntryRules, RandomClicksKeepTheRules) {
  std::mt19937 random(20240601);
  for (int run = 0; run < 200; ++run) {
    EntryControlState s = Load(ReactWindowEntryCommand, WindowEntryLoadCommands, run & 1, (run >> 1) & 1, 0,
                               static_cast<int32_t>(run % 7) - 1);
    for (int step = 0; step < 30; ++step) {
      const int action = static_cast<int>(random() % 5);
      if (action < 3) {
        Click(s, ReactWindowEntryCommand, IDC_DESABLEPOS + action);
      } else if (s.PosEnabled) {  // a disabled box cannot be chosen from
        Choose(s, ReactWindowEntryCommand, static_cast<int32_t>(random() % 7) - 1);
      }
      ExpectWindowInvariant(s);
      if (testing::Test::HasFailure()) return;
    }
  }
}

// The menu entry dialog's three states.
enum class MenuState { Free, PositionFixed, SizeFixed };

void ExpectMenuState(const EntryControlState& s, MenuState expected) {
  // Left and top are off while the position is fixed or an anchor is chosen.
  const bool anchor = s.PosSelection != PosFree;
  const bool positionFixed = expected == MenuState::PositionFixed;
  const bool sizeFixed = expected == MenuState::SizeFixed;
  EXPECT_EQ(s.DesablePos, positionFixed);
  EXPECT_EQ(s.DesableSize, sizeFixed);
  EXPECT_EQ(s.LeftTopEnabled, !positionFixed && !anchor);
  EXPECT_EQ(s.PosEnabled, !positionFixed);
  EXPECT_EQ(s.SizeEnabled, !sizeFixed);
}

TEST(DialogsMenuEntryRules, LoadingLeadsToOneOfTheThreeStates) {
  struct Case { int32_t dp, ds; MenuState state; };
  const Case cases[] = {
      {0, 0, MenuState::Free},
      {1, 0, MenuState::PositionFixed},
      {0, 1, MenuState::SizeFixed},
      {1, 1, MenuState::PositionFixed},  // the position box wins; OK then stores DesableSize 0
      {7, 0, MenuState::PositionFixed},  // any non-zero flag counts as set
  };
  for (const Case& c : cases) {
    for (int32_t pos = -1; pos <= 6; ++pos) {
      SCOPED_TRACE(testing::Message() << "flags " << c.dp << c.ds << " pos " << pos);
      const EntryControlState s = Load(ReactMenuEntryCommand, MenuEntryLoadCommands, c.dp, c.ds, 0, pos);
      ExpectMenuState(s, c.state);
    }
  }
}

TEST(DialogsMenuEntryRules, EveryClickLeadsWhereTheStateTableSays) {
  struct Case { MenuState from; int32_t click; MenuState to; };
  const Case cases[] = {
      {MenuState::Free, IDC_DESABLEPOS, MenuState::PositionFixed},
      {MenuState::Free, IDC_DESABLESIZE, MenuState::SizeFixed},
      {MenuState::PositionFixed, IDC_DESABLEPOS, MenuState::Free},
      {MenuState::PositionFixed, IDC_DESABLESIZE, MenuState::SizeFixed},
      {MenuState::SizeFixed, IDC_DESABLESIZE, MenuState::Free},
      {MenuState::SizeFixed, IDC_DESABLEPOS, MenuState::PositionFixed},
  };
  for (const Case& c : cases) {
    for (int32_t pos : {int32_t{PosFree}, int32_t{PosCenter}, int32_t{-1}}) {
      SCOPED_TRACE(testing::Message() << "click " << c.click << " pos " << pos);
      EntryControlState s = FreshEntryControlState();
      Choose(s, ReactMenuEntryCommand, pos);
      if (c.from == MenuState::PositionFixed) Click(s, ReactMenuEntryCommand, IDC_DESABLEPOS);
      if (c.from == MenuState::SizeFixed) Click(s, ReactMenuEntryCommand, IDC_DESABLESIZE);
      ExpectMenuState(s, c.from);
      Click(s, ReactMenuEntryCommand, c.click);
      ExpectMenuState(s, c.to);
    }
  }
}

TEST(DialogsMenuEntryRules, ChoosingAPositionOnlyDecidesLeftAndTop) {
  EntryControlState s = FreshEntryControlState();
  Click(s, ReactMenuEntryCommand, IDC_DESABLESIZE);
  Choose(s, ReactMenuEntryCommand, PosCenter);
  ExpectMenuState(s, MenuState::SizeFixed);
  EXPECT_FALSE(s.LeftTopEnabled);
  Choose(s, ReactMenuEntryCommand, PosFree);
  EXPECT_TRUE(s.LeftTopEnabled);
  EXPECT_FALSE(s.SizeEnabled);
}

TEST(DialogsEntryTarget, AddsAtTheEndUnlessRefused) {
  static WindowTable windows;  // large: keep it off the stack
  windows = WindowTable{};
  windows.Count = 2;
  U16CopyTruncated(windows.Entries[0].Class, kTextCapacity, u"Notepad");

  struct Case { int32_t editIndex; const char16_t* cls; int32_t index; EntryRefusal refusal; };
  const Case cases[] = {
      {-1, u"Other", 2, EntryRefusal::None},
      {-1, u"Notepad", -1, EntryRefusal::ClassRegistered},
      {-1, u"notepad", 2, EntryRefusal::None},           // ordinal, case-sensitive
      {-1, u"", 2, EntryRefusal::None},                  // empty classes never clash
      {1, u"Notepad", 1, EntryRefusal::None},            // a change is not tested against others
      {0, u"", 0, EntryRefusal::None},
      {2, u"", -1, EntryRefusal::NoSuchEntry},
      {-2, u"", -1, EntryRefusal::NoSuchEntry},
  };
  for (const Case& c : cases) {
    const EntryTarget t = WindowEntryTarget(windows, c.editIndex, c.cls);
    EXPECT_EQ(t.Index, c.index) << c.editIndex;
    EXPECT_EQ(t.Refusal, c.refusal) << c.editIndex;
  }

  windows.Count = kMaxEntries;
  EXPECT_EQ(WindowEntryTarget(windows, -1, u"Other").Refusal, EntryRefusal::TableFull);
  EXPECT_EQ(WindowEntryTarget(windows, -1, u"").Refusal, EntryRefusal::TableFull);
  EXPECT_EQ(WindowEntryTarget(windows, kMaxEntries - 1, u"").Index, kMaxEntries - 1);

  static MenuTable menus;
  menus = MenuTable{};
  menus.Count = kMaxEntries - 1;
  EXPECT_EQ(MenuEntryTarget(menus, -1).Index, kMaxEntries - 1);
  menus.Count = kMaxEntries;
  EXPECT_EQ(MenuEntryTarget(menus, -1).Refusal, EntryRefusal::TableFull);
  EXPECT_EQ(MenuEntryTarget(menus, 3).Index, 3);
  EXPECT_EQ(MenuEntryTarget(menus, kMaxEntries).Refusal, EntryRefusal::NoSuchEntry);
}

}  // namespace
}  // namespace qm
