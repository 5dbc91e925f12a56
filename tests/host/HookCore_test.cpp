#include "hook/HookCore.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace qm {
namespace {

using namespace winevent;

// Window facts of a small made-up desktop: windows 90 to 99 belong to the
// program itself or are child windows; 80 to 84 are menus, tooltips and
// other pop-ups; 85 to 89 are cloaked until time 1000; 50 to 59 match no
// rule until a title gives them one; 70 to 79 cannot be brought to where
// their rule puts them (a placement leaves them away from it); 60 to 69
// carry a placement out only at a Lands step (a busy program).
class FakeFacts : public HookFacts {
 public:
  bool IsForeignTopLevel(HookWindow window) override { return window < 90 || window > 99; }
  bool IsUserWindow(HookWindow window) override {
    if (window >= 80 && window <= 84) return false;
    if (window >= 85 && window <= 89) return now >= 1000;
    return true;
  }
  bool IsCloaked(HookWindow window) override { return window >= 85 && window <= 89 && now < 1000; }
  HookTime LastInputAt() override { return inputAt; }
  bool OffItsRule(HookWindow window) override { return off.count(window) != 0; }
  // Modes by hundreds: 200 on demand, 300 never, 400 every show, 500 hold 0 s, 600 hold 5 s.
  RuleAnswer AskRule(HookWindow w) override {
    const HookApply modes[] = {HookApply::OnDemand, HookApply::Never, HookApply::EveryShow};
    return {OffItsRule(w), w / 100 >= 2 && w / 100 <= 4 ? modes[w / 100 - 2] : HookApply::FirstShow,
            w / 100 == 5 ? 0 : w / 100 == 6 ? 5000 : kHoldMs};
  }
  static bool HasRule(HookWindow window) { return window < 50 || window > 59; }
  static bool Late(HookWindow window) { return window >= 60 && window <= 69; }
  static bool Stuck(HookWindow window) { return window >= 70 && window <= 79; }
  HookTime inputAt = 0;
  HookTime now = 0;
  std::set<HookWindow> off;  // away from where their rule puts them
};

// Every action as "<time> <what> <window>"; a placement brings the window
// where its rule puts it.
class Recorder : public HookActions {
 public:
  explicit Recorder(FakeFacts& facts) : facts_(facts) {}
  void Place(HookWindow window) override {
    Add("place", window);
    if (!FakeFacts::Late(window)) Land(window);
  }
  void Land(HookWindow window) {
    if (FakeFacts::Stuck(window) || facts_.off.erase(window) != 0) landed.push_back(window);
  }
  void ShowRect(HookWindow window) override { Add("rect", window); }
  void HideRect() override { Add("hide", 0); }
  void KeepInside(HookWindow window) override { Add("keep", window); }
  void GaveUp(HookWindow window) override { Add("gave-up", window); }
  HookTime now = 0;
  std::vector<std::string> log;
  std::vector<HookWindow> landed;  // moved by a placement: a location event is due

 private:
  void Add(const char* what, HookWindow window) {
    std::string line = std::to_string(now) + " " + what;
    if (window != 0) line += " " + std::to_string(window);
    log.push_back(line);
  }
  FakeFacts& facts_;
};

// Steps that are not window events. Tick only lets the clock reach its time;
// Moves: the window's program moves it away from its rule (if it has one)
// and the location event follows; Titles: it gets a title whose rule wants
// it elsewhere, and the title event follows.
constexpr uint32_t Tick = 0;
constexpr uint32_t Moves = 1;
constexpr uint32_t Titles = 2;
constexpr uint32_t Lands = 3;  // a busy program carries the placement out now

struct Step {
  HookTime at;
  uint32_t event;
  HookWindow window;
  int32_t object;
  int32_t child;
  HookTime inputAt;  // when the user last acted; 0: never
};
Step At(HookTime at, uint32_t event, HookWindow window = 0, HookTime inputAt = 0) {
  return {at, event, window, ObjectWindow, ChildSelf, inputAt};
}

// Plays steps the way the library does: the timer fires at every deadline
// that falls before the next step, then the step's event is handled. A
// new window appears away from where its rule puts it.
class Player {
 public:
  explicit Player(HookOptions options) : core_(new HookCore), recorder_(facts_) { core_->Reset(options); }
  std::vector<std::string> Play(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      RunTimersUntil(step.at);
      recorder_.now = step.at;
      facts_.inputAt = step.inputAt;
      facts_.now = step.at;
      uint32_t event = step.event;
      if (event == Tick) continue;
      bool appears = event == Show && shown_.insert(step.window).second;
      if (event == Destroy) shown_.erase(step.window);
      if (appears || event == Moves) {
        if (FakeFacts::HasRule(step.window) || titled_.count(step.window) != 0) facts_.off.insert(step.window);
      } else if (event == Titles) {
        facts_.off.insert(step.window);
        titled_.insert(step.window);
      }
      if (event == Moves) event = LocationChange;
      if (event == Titles) event = NameChange;
      if (event == Lands) recorder_.Land(step.window);
      if (event != Lands) core_->OnWinEvent(event, step.window, step.object, step.child, step.at, facts_, recorder_);
      DeliverLanded(step.at);
    }
    return recorder_.log;
  }
  HookCore& core() { return *core_; }

 private:
  void RunTimersUntil(HookTime until) {
    HookTime when = 0;
    while (core_->NextDeadline(&when) && when <= until) {
      recorder_.now = when;
      core_->OnTimer(when, facts_, recorder_);
      DeliverLanded(when);
    }
  }
  void DeliverLanded(HookTime now) {
    while (!recorder_.landed.empty()) {
      HookWindow window = recorder_.landed.front();
      recorder_.landed.erase(recorder_.landed.begin());
      core_->OnWinEvent(LocationChange, window, ObjectWindow, ChildSelf, now, facts_, recorder_);
    }
  }
  std::unique_ptr<HookCore> core_;  // large: fixed sets of windows
  FakeFacts facts_;
  Recorder recorder_;
  std::set<HookWindow> shown_;
  std::set<HookWindow> titled_;  // a title gave them a rule
};

struct SequenceCase {
  const char* name;
  HookOptions options;
  std::vector<Step> steps;
  std::vector<std::string> expected;
};

void PlayCases(const std::vector<SequenceCase>& cases) {
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    Player player(c.options);
    EXPECT_EQ(player.Play(c.steps), c.expected);
  }
}

const HookOptions plain = {false, false};

TEST(HookCore, NewWindowsArePlacedAtOnceAndOnce) {
  PlayCases({
      {"a new window is placed as soon as it appears", plain, {At(0, Show, 1), At(3000, Tick)}, {"0 place 1"}},
      {"hidden and shown again, it is not placed again",
       plain, {At(0, Show, 1), At(500, Show, 1), At(5000, Show, 1), At(9000, Tick)}, {"0 place 1"}},
      {"a second show while it is held changes nothing",
       plain, {At(0, Show, 1), At(40, Show, 1), At(3000, Tick)}, {"0 place 1"}},
      {"once destroyed, a window with the same handle is a new one",
       plain, {At(0, Show, 1), At(300, Destroy, 1), At(400, Show, 1), At(3000, Tick)},
       {"0 place 1", "400 place 1"}},
      {"destroyed while it is held, it is never placed again",
       plain, {At(0, Show, 70), At(20, Destroy, 70), At(3000, Tick)}, {"0 place 70"}},
      {"the program's own windows and child windows are not placed",
       plain, {At(0, Show, 90), At(0, Show, 91), At(3000, Tick)}, {}},
      {"pop-ups are not placed, not even when uncloaked",
       plain, {At(0, Show, 80), At(10, Uncloaked, 81), At(3000, Tick)}, {}},
      {"a window shown cloaked appears when it is uncloaked",
       plain, {At(0, Show, 85), At(1000, Uncloaked, 85), At(3000, Tick)}, {"1000 place 85"}},
      {"uncloaking is an appearance only once",
       plain, {At(0, Show, 86), At(1000, Uncloaked, 86), At(1500, Show, 86), At(2000, Uncloaked, 86), At(5000, Tick)},
       {"1000 place 86"}},
      {"a window there all along, uncloaked by a switch of virtual desktops, does not appear",
       plain, {At(0, Uncloaked, 1), At(10, Uncloaked, 86), At(1500, Uncloaked, 86), At(3000, Tick)}, {}},
      {"events about a part of a window or without a window are ignored",
       plain,
       {{0, Show, 1, -4, 0, 0}, {0, Show, 2, 0, 3, 0}, {0, Show, 0, 0, 0, 0}, {0, Show, 3, -9, 0, 0},
        At(3000, Tick)},
       {}},
  });
}

TEST(HookCore, HeldWindowsAreKeptWhereTheirRulePutsThem) {
  PlayCases({
      {"the location events of the placement itself are not its program moving it",
       plain, {At(0, Show, 1), At(2, LocationChange, 1), At(100, LocationChange, 1), At(3000, Tick)},
       {"0 place 1"}},
      {"a busy program carries the placement out late: it is not placed again meanwhile",
       plain, {At(0, Show, 60), At(400, Lands, 60), At(3000, Tick)}, {"0 place 60"}},
      {"moved by its program while the placement is on its way: looked at again when the events settle",
       plain, {At(0, Show, 60), At(100, Moves, 60), At(3000, Tick)}, {"0 place 60", "150 place 60"}},
      {"moved by its program after the placement was seen to land: placed again at once",
       plain, {At(0, Show, 1), At(2, LocationChange, 1), At(20, Moves, 1), At(3000, Tick)},
       {"0 place 1", "20 place 1"}},
      {"moved at 50, 300 and 1500 ms", plain,
       {At(0, Show, 1), At(50, Moves, 1), At(300, Moves, 1), At(1500, Moves, 1), At(3000, Tick)},
       {"0 place 1", "50 place 1", "300 place 1", "1500 place 1"}},
      {"after the hold its program may move it", plain, {At(0, Show, 1), At(2000, Moves, 1)}, {"0 place 1"}},
      {"a program that moves it back every time gets it after three more placements",
       plain,
       {At(0, Show, 1), At(100, Moves, 1), At(200, Moves, 1), At(300, Moves, 1), At(400, Moves, 1),
        At(500, Moves, 1), At(3000, Tick)},
       {"0 place 1", "100 place 1", "200 place 1", "300 place 1", "400 gave-up 1"}},
      {"a window that never gets where its rule says is placed three more times, then given up",
       plain, {At(0, Show, 70), At(3000, Tick)},
       {"0 place 70", "50 place 70", "100 place 70", "150 place 70", "200 gave-up 70"}},
      {"user input since the show ends the hold", plain, {At(0, Show, 1), At(300, Moves, 1, 200)}, {"0 place 1"}},
      {"input before the show does not", plain, {At(100, Show, 1), At(400, Moves, 1, 40)},
       {"100 place 1", "400 place 1"}},
      {"nor input in the same millisecond as the show (the click that opened it)", plain,
       {At(100, Show, 1), At(400, Moves, 1, 100)}, {"100 place 1", "400 place 1"}},
      {"the user moving the window ends its hold",
       plain, {At(0, Show, 1), At(400, MoveSizeStart, 1), At(410, Moves, 1), At(500, MoveSizeEnd, 1),
               At(600, Moves, 1)},
       {"0 place 1"}},
      {"windows are held independently",
       plain, {At(0, Show, 1), At(30, Show, 2), At(90, Moves, 2), At(2010, Moves, 1), At(2020, Moves, 2)},
       {"0 place 1", "30 place 2", "90 place 2", "2020 place 2"}},
      {"a window no rule applies to is reported once", plain, {At(0, Show, 50), At(300, Moves, 50)},
       {"0 place 50"}},
      {"moves of windows that were never shown are ignored", plain, {At(0, Moves, 5), At(100, Moves, 90)}, {}},
  });
}

TEST(HookCore, ALateTitleGetsOneChance) {
  PlayCases({
      {"a title that arrives late places it when its rule wants it elsewhere",
       plain, {At(0, Show, 50), At(700, Titles, 50), At(900, Titles, 50), At(3000, Tick)},
       {"0 place 50", "700 place 50"}},
      {"a title change that leaves it where its rule puts it places nothing",
       plain, {At(0, Show, 1), At(50, NameChange, 1), At(3000, Tick)}, {"0 place 1"}},
      {"only the first title change counts",
       plain, {At(0, Show, 50), At(50, NameChange, 50), At(700, Titles, 50)}, {"0 place 50"}},
      {"the title placement is not one of the three answers to its program",
       plain,
       {At(0, Show, 1), At(100, Titles, 1), At(200, Moves, 1), At(300, Moves, 1), At(400, Moves, 1),
        At(500, Moves, 1)},
       {"0 place 1", "100 place 1", "200 place 1", "300 place 1", "400 place 1", "500 gave-up 1"}},
      {"after the hold a new title changes nothing", plain, {At(0, Show, 50), At(2000, Titles, 50)}, {"0 place 50"}},
      {"user input after the show ends the title chance",
       plain, {At(0, Show, 50), At(700, Titles, 50, 400), At(3000, Tick)}, {"0 place 50"}},
      {"input before the show does not",
       plain, {At(100, Show, 50), At(700, Titles, 50, 40), At(3000, Tick)}, {"100 place 50", "700 place 50"}},
      {"moving the window ends the title chance",
       plain, {At(0, Show, 50), At(400, MoveSizeStart, 50), At(500, MoveSizeEnd, 50), At(700, Titles, 50)},
       {"0 place 50"}},
      {"a rule that only a later title meets does not keep it, not even when its program moves it",
       plain, {At(0, Show, 50), At(50, NameChange, 50), At(100, Titles, 50), At(200, Moves, 50), At(3000, Tick)},
       {"0 place 50"}},
      {"one that its title chance placed is kept from then on",
       plain, {At(0, Show, 50), At(100, Titles, 50), At(200, Moves, 50), At(3000, Tick)},
       {"0 place 50", "100 place 50", "200 place 50"}},
      {"title changes of unknown windows are ignored", plain, {At(0, Titles, 5), At(100, Titles, 90)}, {}},
  });
}

TEST(HookCore, ReadoutAndKeepInsideFollowTheUsersMoves) {
  const HookOptions tooltip = {true, false};
  const HookOptions keepIn = {false, true};
  PlayCases({
      {"the readout follows a moved window between start and end",
       tooltip,
       {At(0, MoveSizeStart, 1), At(10, LocationChange, 1), At(20, LocationChange, 2), At(30, LocationChange, 1),
        At(40, MoveSizeEnd, 1), At(50, LocationChange, 1)},
       {"10 rect 1", "30 rect 1", "40 hide"}},
      {"a new drag takes the readout over",
       tooltip, {At(0, MoveSizeStart, 1), At(10, MoveSizeStart, 2), At(20, LocationChange, 1),
                 At(30, LocationChange, 2)},
       {"30 rect 2"}},
      {"a window destroyed while it is moved hides the readout",
       tooltip, {At(0, MoveSizeStart, 1), At(10, LocationChange, 1), At(20, Destroy, 1), At(30, LocationChange, 1)},
       {"10 rect 1", "20 hide"}},
      {"without the tooltip option there is no readout",
       plain, {At(0, MoveSizeStart, 1), At(10, LocationChange, 1), At(20, MoveSizeEnd, 1)}, {}},
      {"the program's own windows get no readout",
       tooltip, {At(0, MoveSizeStart, 90), At(10, LocationChange, 90), At(20, MoveSizeEnd, 90)}, {}},
      {"keep-inside looks at a window when the user lets go of it",
       keepIn, {At(0, MoveSizeStart, 1), At(10, LocationChange, 1), At(20, MoveSizeEnd, 1), At(30, MoveSizeEnd, 90)},
       {"20 keep 1"}},
      {"both options at once",
       {true, true}, {At(0, MoveSizeStart, 1), At(10, LocationChange, 1), At(20, MoveSizeEnd, 1)},
       {"10 rect 1", "20 hide", "20 keep 1"}},
  });
}

TEST(HookCore, NeedsTimerAndEventsOnlyWhileSomethingIsHeld) {
  Player player({true, false});
  HookCore& core = player.core();
  HookTime when = 0;
  EXPECT_FALSE(core.NextDeadline(&when));
  EXPECT_FALSE(core.WantsLocationEvents());
  EXPECT_FALSE(core.WantsNameEvents());
  EXPECT_FALSE(core.WantsKeys());

  // Placed and seen in place: only the end of the hold is left to wait for.
  player.Play({At(1000, Show, 1)});
  ASSERT_TRUE(core.NextDeadline(&when));
  EXPECT_EQ(when, 1000u + kHoldMs);
  EXPECT_TRUE(core.WantsLocationEvents());
  EXPECT_TRUE(core.WantsNameEvents());
  EXPECT_TRUE(core.WantsKeys());

  player.Play({At(1200, Tick)});
  ASSERT_TRUE(core.NextDeadline(&when));
  EXPECT_EQ(when, 1000u + kHoldMs);
  EXPECT_TRUE(core.WantsLocationEvents());
  EXPECT_TRUE(core.WantsNameEvents());

  // Its title chance used: title events no longer matter.
  player.Play({At(1300, NameChange, 1)});
  EXPECT_FALSE(core.WantsNameEvents());
  EXPECT_TRUE(core.WantsLocationEvents());

  // The hold ran out: nothing waits, so no timer and no listening.
  player.Play({At(1000 + kHoldMs, Tick)});
  EXPECT_FALSE(core.NextDeadline(&when));
  EXPECT_FALSE(core.WantsLocationEvents());
  EXPECT_FALSE(core.WantsNameEvents());
  EXPECT_FALSE(core.WantsKeys());
  EXPECT_EQ(core.HeldCount(), 0u);

  // Left alone after fighting: the hold ends before its time.
  player.Play({At(4000, Show, 70), At(4200, Tick)});
  EXPECT_FALSE(core.NextDeadline(&when));
  EXPECT_FALSE(core.WantsLocationEvents());
  EXPECT_FALSE(core.WantsKeys());

  player.Play({At(5000, MoveSizeStart, 1)});
  EXPECT_TRUE(core.WantsLocationEvents());
  EXPECT_FALSE(core.NextDeadline(&when));
  player.Play({At(5100, MoveSizeEnd, 1)});
  EXPECT_FALSE(core.WantsLocationEvents());
}

TEST(HookCore, DragWithoutTooltipNeedsNoLocationEvents) {
  Player player({false, true});
  player.Play({At(0, MoveSizeStart, 1)});
  EXPECT_FALSE(player.core().WantsLocationEvents());
}

TEST(HookCore, KnownWindowsAreBoundedAndTheOldestIsForgotten) {
  Player player({false, false});
  std::vector<Step> steps;
  HookTime t = 0;
  // Every window shown and placed; none destroyed (a lost destroy event).
  for (HookWindow w = 1; w <= kKnownCapacity + 1; ++w) {
    steps.push_back(At(t, Show, w + 1000));
    t += 3000;
  }
  player.Play(steps);
  EXPECT_EQ(player.core().KnownCount(), kKnownCapacity);
  // Window 1001 was dropped to make room: shown again, it is placed again;
  // window 1002 is still known.
  std::vector<std::string> log = player.Play({At(t, Show, 1002), At(t + 10, Show, 1001), At(t + 3000, Tick)});
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), std::to_string(t + 10) + " place 1001");
  EXPECT_EQ(log.size(), kKnownCapacity + 2);
}

TEST(HookCore, HeldWindowsAreBounded) {
  Player player({false, false});
  // More windows at once than can be held: every one is placed, and the
  // oldest ones lose their hold.
  std::vector<Step> steps;
  for (HookWindow w = 0; w < kHeldCapacity + 2; ++w) steps.push_back(At(0, Show, 1000 + w));
  std::vector<std::string> log = player.Play(steps);
  EXPECT_EQ(log.size(), kHeldCapacity + 2);
  EXPECT_EQ(player.core().HeldCount(), kHeldCapacity);
  // 1001 is no longer held; 1002 still is.
  log = player.Play({At(400, Moves, 1001), At(410, Moves, 1002)});
  ASSERT_EQ(log.size(), kHeldCapacity + 3);
  EXPECT_EQ(log.back(), "410 place 1002");
}

TEST(HookCore, ResetForgetsEverything) {
  Player player({true, true});
  player.Play({At(0, Show, 1), At(200, Tick), At(300, MoveSizeStart, 2)});
  player.core().Reset({false, false});
  EXPECT_EQ(player.core().KnownCount(), 0u);
  EXPECT_EQ(player.core().HeldCount(), 0u);
  EXPECT_FALSE(player.core().WantsLocationEvents());
  std::vector<std::string> log = player.Play({At(400, LocationChange, 2), At(500, Show, 1), At(700, Tick)});
  EXPECT_EQ(log.back(), "500 place 1");
}

struct KeepCase {
  const char* name;
  Rect32 window;
  std::vector<Rect32> monitors;
  Rect32 work;
  KeepInsideMove expected;
};

// Each case starts watching with the pointer at (100, 100) and plays mouse
// events (m: move, p: press, r: release, w: wheel) and keys (d: down, u:
// up), one per millisecond from time 1; the answer is when the user last
// acted.
TEST(UserInput, OnlyWhatTheUserDoesCounts) {
  struct Event {
    char what;
    int32_t x, y;
  };
  struct Case {
    const char* name;
    std::vector<Event> events;
    HookTime lastAt;
  };
  const Case cases[] = {
      {"nothing yet", {}, 0},
      {"a window moving under the still pointer is not input", {{'m', 100, 100}, {'m', 100, 100}}, 0},
      {"the pointer moving to a new point is", {{'m', 100, 100}, {'m', 101, 100}, {'m', 101, 100}}, 2},
      {"so is a press where it rests", {{'p', 100, 100}}, 1},
      {"a press that comes with a move counts once, at its time", {{'m', 100, 100}, {'p', 40, 50}}, 2},
      {"a release alone is not: its press came before", {{'r', 100, 100}}, 0},
      {"the wheel is", {{'m', 100, 100}, {'w', 100, 100}, {'r', 100, 100}}, 2},
      {"a key pressed is, its release is not", {{'d', 0, 0}, {'u', 0, 0}}, 1},
      {"a key released alone is not", {{'u', 0, 0}}, 0},
      {"moves are seen from the last point, whatever the event",
       {{'p', 300, 200}, {'m', 300, 200}, {'r', 300, 200}, {'m', 300, 200}}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UserInput input;
    input.Start(100, 100);
    HookTime now = 0;
    for (const Event& e : c.events) {
      ++now;
      switch (e.what) {
        case 'm': input.OnMouse(MouseInput::Move, e.x, e.y, now); break;
        case 'p': input.OnMouse(MouseInput::Press, e.x, e.y, now); break;
        case 'r': input.OnMouse(MouseInput::Release, e.x, e.y, now); break;
        case 'w': input.OnMouse(MouseInput::Wheel, e.x, e.y, now); break;
        default: input.OnKey(e.what == 'd', now); break;
      }
    }
    EXPECT_EQ(input.LastAt(), c.lastAt);
  }
  // An event stamped earlier than one already seen (threads read the clock
  // one after the other) leaves the later time; Start forgets it.
  UserInput input;
  input.Start(0, 0);
  input.OnKey(true, 500);
  input.OnKey(true, 499);
  EXPECT_EQ(input.LastAt(), 500u);
  input.Start(0, 0);
  EXPECT_EQ(input.LastAt(), 0u);
}

TEST(KeepInside, MovesBackOnlyWhatLeftTheDesktop) {
  const Rect32 screen = {0, 0, 1920, 1080};
  const Rect32 work = {0, 0, 1920, 1040};
  const Rect32 right = {1920, 0, 3840, 1080};
  const Rect32 shortRight = {1920, 0, 3200, 720};
  const Rect32 left = {-1920, 0, 0, 1080};
  const Rect32 leftWork = {-1920, 0, 0, 1040};
  const KeepCase cases[] = {
      {"inside", {100, 100, 500, 400}, {screen}, work, {false, 0, 0}},
      {"over the taskbar but on the screen", {100, 900, 500, 1080}, {screen}, work, {false, 0, 0}},
      {"touching every edge", {0, 0, 1920, 1080}, {screen}, work, {false, 0, 0}},
      {"off the top-left corner", {-50, -20, 350, 280}, {screen}, work, {true, 50, 20}},
      {"off the bottom-right corner", {1800, 900, 2200, 1200}, {screen}, work, {true, -280, -160}},
      {"off the bottom only", {100, 1000, 500, 1300}, {screen}, work, {true, 0, -260}},
      {"wholly outside", {5000, 5000, 5400, 5300}, {screen}, work, {true, 1520 - 5000, 740 - 5000}},
      {"larger than the work area", {-10, -10, 2000, 1100}, {screen}, work, {true, 10, 10}},
      {"wider only: left edge, height kept inside", {-100, 900, 2100, 1200}, {screen}, work, {true, 100, -160}},
      {"across two monitors of one height", {1800, 100, 2200, 400}, {screen, right}, work, {false, 0, 0}},
      {"into the gap beside a shorter monitor", {1800, 600, 2200, 900}, {screen, shortRight}, work,
       {true, -280, 0}},
      {"on a monitor left of the primary one", {-2000, 100, -1600, 400}, {screen, left}, leftWork, {true, 80, 0}},
      {"empty rectangle", {100, 100, 100, 100}, {screen}, work, {false, 0, 0}},
      {"no work area known", {-50, -20, 350, 280}, {screen}, {0, 0, 0, 0}, {false, 0, 0}},
      {"as far out as coordinates go", {INT32_MIN, INT32_MIN, INT32_MIN + 400, INT32_MIN + 300}, {screen}, work,
       {false, 0, 0}},
  };
  for (const KeepCase& c : cases) {
    SCOPED_TRACE(c.name);
    KeepInsideMove move = ComputeKeepInside(c.window, c.monitors.data(), c.monitors.size(), c.work);
    EXPECT_EQ(move.move, c.expected.move);
    EXPECT_EQ(move.dx, c.expected.dx);
    EXPECT_EQ(move.dy, c.expected.dy);
  }
}

TEST(KeepInside, CoverageByMonitorsIsExact) {
  // Four monitors in a square with the top-right one missing.
  const Rect32 monitors[] = {{0, 0, 100, 100}, {0, 100, 100, 200}, {100, 100, 200, 200}};
  struct Case { Rect32 rect; bool covered; };
  const Case cases[] = {
      {{10, 10, 90, 190}, true},      // down across two monitors
      {{10, 150, 190, 190}, true},    // across the bottom pair
      {{50, 50, 150, 150}, false},    // reaches into the missing corner
      {{99, 99, 101, 101}, false},    // one pixel of it
      {{0, 0, 200, 100}, false},
      {{100, 100, 200, 200}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CoveredByMonitors(c.rect, monitors, 3), c.covered)
        << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
  }
  EXPECT_FALSE(CoveredByMonitors({0, 0, 10, 10}, monitors, 0));
}

TEST(MiddleClick, SwallowsTitleBarClicksAndTheirReleasesOnly) {
  struct Case {
    const char* name;
    std::vector<int> events;  // 1: press on a title bar, 0: press elsewhere, -1: release; +10: Shift held
    std::string outcome;      // per event: M presets, R rule, S release swallowed, - passed on
  };
  const Case cases[] = {
      {"click on a title bar", {1, -1}, "MS"},
      {"click elsewhere", {0, -1}, "--"},
      {"double click on a title bar", {1, -1, 1, -1}, "MSMS"},
      {"title bar, then elsewhere", {1, -1, 0, -1}, "MS--"},
      {"a release that went missing does not swallow the next one", {1, 0, -1}, "M--"},
      {"a stray release", {-1}, "-"},
      {"Shift on a title bar asks for a rule", {11, -1}, "RS"},
      {"Shift elsewhere passes, a plain click after it opens the presets", {10, -1, 1, -1}, "--MS"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MiddleClickGesture gesture;
    std::string outcome;
    for (int e : c.events) {
      const MiddlePress press = e < 0 ? MiddlePress::PassOn : gesture.Press(e % 10 == 1, e >= 10);
      outcome += e < 0 ? (gesture.Release() ? 'S' : '-') : "-MR"[static_cast<int>(press)];
    }
    EXPECT_EQ(outcome, c.outcome);
  }
}

TEST(MiddleClick, TitleBandIsTheTopOfTheWindow) {
  const Rect32 window = {100, 200, 500, 500};
  const int32_t band = TitleBandHeight(4, 19);
  EXPECT_EQ(band, 46);
  struct Case { int32_t x, y; bool in; };
  const Case cases[] = {
      {100, 200, true}, {499, 245, true}, {300, 246, false}, {99, 210, false},
      {500, 210, false}, {300, 199, false}, {300, 500, false},
  };
  for (const Case& c : cases) EXPECT_EQ(InTitleBand(c.x, c.y, window, band), c.in) << c.x << "," << c.y;
  // A window lower than the band: only the window itself counts.
  EXPECT_FALSE(InTitleBand(300, 215, {100, 200, 500, 210}, band));
}

// Shown, hidden and shown again: what each mode places and leaves waiting.
TEST(HookCore, RuleModesAtShow) {
  const struct {
    HookWindow window;
    std::vector<std::string> log;
    HookTime deadline;  // 0: nothing waits (no timer, no location events)
  } cases[] = {{200, {}, 0}, {300, {}, 0}, {400, {"1000 place 400", "5000 place 400"}, 7000},
               {500, {"1000 place 500"}, 0}, {600, {"1000 place 600"}, 6000}};
  for (const auto& c : cases) {
    Player player({false, false});
    EXPECT_EQ(player.Play({At(1000, Show, c.window), At(4500, Tick), At(5000, Show, c.window)}), c.log);
    HookTime when = 0;
    EXPECT_EQ(player.core().NextDeadline(&when) ? when : 0, c.deadline) << c.window;
  }
}

}  // namespace
}  // namespace qm
