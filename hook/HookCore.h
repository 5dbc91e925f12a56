// The hook library's decisions, apart from the platform: which window events
// lead to which messages, when a new window is placed and kept, where a
// window that left the desktop goes back to, and which middle clicks open
// the preset menu. The Win32 layer feeds it events and window facts and
// carries out what it asks for; it never decides anything itself.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/Geometry.h"

namespace qm {

// A window handle as a number (0: none), and milliseconds of a monotonic
// clock (GetTickCount64 in the library, a counter in the tests).
using HookWindow = uintptr_t;
using HookTime = uint64_t;

// The window events the library listens to, with their platform values.
namespace winevent {
constexpr uint32_t MoveSizeStart = 0x000A;   // EVENT_SYSTEM_MOVESIZESTART
constexpr uint32_t MoveSizeEnd = 0x000B;     // EVENT_SYSTEM_MOVESIZEEND
constexpr uint32_t Destroy = 0x8001;         // EVENT_OBJECT_DESTROY
constexpr uint32_t Show = 0x8002;            // EVENT_OBJECT_SHOW
constexpr uint32_t LocationChange = 0x800B;  // EVENT_OBJECT_LOCATIONCHANGE
constexpr uint32_t NameChange = 0x800C;      // EVENT_OBJECT_NAMECHANGE
constexpr uint32_t Uncloaked = 0x8018;       // EVENT_OBJECT_UNCLOAKED
constexpr int32_t ObjectWindow = 0;          // OBJID_WINDOW
constexpr int32_t ChildSelf = 0;             // CHILDID_SELF
}  // namespace winevent

// A new window is placed as soon as it appears (unless its rule says
// otherwise, see RuleAnswer). Programs often move or size
// their own window a moment later (restoring a saved position, fitting it to
// its content), which would undo that placement, so for kHoldMs after the
// show (or its rule's own hold) the window is held: whenever it is found away from where its rule
// puts it, it is placed again, at most kHoldReplacements times; a program
// that moves it back every time is then left alone. Any user input since
// the show, or the user starting to move or size it, ends the hold at once.
constexpr HookTime kHoldMs = 2000;
constexpr uint8_t kHoldReplacements = 3;
// The program carries a placement out a moment after it was asked for, as
// an asynchronous move that the window's own thread makes when it next reads
// its messages: a busy program makes it much later ("SetWindowPos",
// SWP_ASYNCWINDOWPOS: the request is posted to the window's thread). So a
// placement is judged only by the location events that arrive after it was
// asked for. One that finds the window where its rule puts it says the
// placement landed. One that finds it away says something moved it: its
// program, or the placement itself with its program's move right after;
// kPlacingMs after the last such event the window is looked at again, and if
// still away its program has moved it. Until any event arrives the placement
// is still on its way, however long that takes within the hold, and a window
// that is not where its rule puts it then is not its program's doing.
constexpr HookTime kPlacingMs = 50;
// A window may get its title only after it was shown (browsers do), too late
// for a title rule at the show. Its first title change within the hold
// places it again if the rule then wants it elsewhere (not counted among the
// replacements: it happens once). A window that no rule wanted elsewhere at
// its show is held only for that chance: a rule that only a later title
// meets never places it.

// Capacities. Windows already placed once: a window hidden and shown again
// is not placed again until it is destroyed, unless its rule places it at
// every show. When full, the oldest is
// forgotten (it would be placed again if shown again, nothing worse).
constexpr size_t kKnownCapacity = 4096;
// Windows held. When full, the oldest one's hold ends early.
constexpr size_t kHeldCapacity = 64;
// Windows shown while cloaked, waiting to be uncloaked. When full, the
// oldest is forgotten (its uncloak then places nothing, as for a window that
// was there before the program started).
constexpr size_t kCloakedCapacity = 64;

// When a window's rule places it, with the values of the rule's "Apply".
enum class HookApply : uint8_t { FirstShow = 0, EveryShow = 1, OnDemand = 2, Never = 3 };

// What the program says of a window at its show: whether a rule that places
// windows by itself wants it elsewhere, when that rule places it and how
// long it is held. A window no rule applies to is FirstShow, held kHoldMs
// (for its title chance). OnDemand and Never are neither placed nor held nor
// watched: no timer and no location events for them.
struct RuleAnswer {
  bool off;
  HookApply apply;
  HookTime holdMs;  // 0: placed once, not held
};

// What the core needs to know about a window, asked only when it matters.
class HookFacts {
 public:
  virtual ~HookFacts() = default;
  // The window is its own root (not a child) and belongs to another process.
  virtual bool IsForeignTopLevel(HookWindow window) = 0;
  // A window a user would call a window (IsUserWindow): not cloaked, and
  // not a menu, tooltip, drop-down or other caption-less pop-up.
  virtual bool IsUserWindow(HookWindow window) = 0;
  // DWM keeps the window cloaked (DWMWA_CLOAKED): composed but not shown.
  virtual bool IsCloaked(HookWindow window) = 0;
  // When the user last pressed a key or used the mouse (UserInput), on the
  // core's clock; 0 when not since the library started.
  virtual HookTime LastInputAt() = 0;
  // A window rule applies to the window and it does not stand where that
  // rule puts it (the program knows the rules; asked only for held windows).
  virtual bool OffItsRule(HookWindow window) = 0;
  // The same with the rule's mode and hold; asked once per show. A fact
  // source that knows no modes answers as rules always behaved.
  virtual RuleAnswer AskRule(HookWindow window) { return {OffItsRule(window), HookApply::FirstShow, kHoldMs}; }
};

// What the core asks the library to do.
class HookActions {
 public:
  virtual ~HookActions() = default;
  virtual void Place(HookWindow window) = 0;       // post MSG_PLACE_WINDOW
  virtual void ShowRect(HookWindow window) = 0;    // send its rectangle to the readout
  virtual void HideRect() = 0;                     // post MSG_TIP_HIDE
  virtual void KeepInside(HookWindow window) = 0;  // bring it back inside the desktop
  // Its program moved it back more often than the hold allows and the hold
  // gave up (post MSG_HOLD_GAVE_UP): the program can then say why the
  // window does not stand where its rule puts it.
  virtual void GaveUp(HookWindow window) = 0;
};

struct HookOptions {
  bool tooltip;  // report rectangles while a window is moved or sized
  bool keepIn;   // keep windows inside the desktop after a move or size
};

class HookCore {
 public:
  // Forgets every window and starts with these options.
  void Reset(HookOptions options);

  // One window event as the platform reports it.
  void OnWinEvent(uint32_t event, HookWindow window, int32_t object, int32_t child, HookTime now,
                  HookFacts& facts, HookActions& actions);
  // The clock reached now: looks again at windows whose placement should
  // have landed, ends holds that ran out.
  void OnTimer(HookTime now, HookFacts& facts, HookActions& actions);

  // When OnTimer next has work; false when nothing waits (no timer needed).
  bool NextDeadline(HookTime* when) const;
  // Whether location and title events matter now; the library listens to
  // them only then (the cursor alone raises a location event per movement).
  bool WantsLocationEvents() const;
  bool WantsNameEvents() const;
  // Whether key presses matter now: only a held window's hold ends on them,
  // so the library watches the keyboard only while a window is held.
  bool WantsKeys() const { return heldCount_ > 0; }

  size_t KnownCount() const { return knownCount_; }
  size_t HeldCount() const { return heldCount_; }

 private:
  struct Held {
    HookWindow window;
    HookTime shownAt;
    HookTime holdMs;       // how long after shownAt the hold lasts
    HookTime awayAt;       // the last location event that found it away while placing
    uint8_t replacements;  // placements after the first one, answering its program
    bool placing;          // asked for and not yet seen in place
    bool awaySeen;         // a location event since the request found it away
    bool titleSeen;        // its one title chance is used
    bool ruled;            // a rule wanted it elsewhere at its show or title chance
  };

  void OnShow(HookWindow window, HookTime now, HookFacts& facts, HookActions& actions);
  void OnDestroy(HookWindow window, HookActions& actions);
  void OnLocationChange(HookWindow window, HookTime now, HookFacts& facts, HookActions& actions);
  void OnNameChange(HookWindow window, HookTime now, HookFacts& facts, HookActions& actions);
  void OnMoveSizeStart(HookWindow window);
  void OnMoveSizeEnd(HookWindow window, HookActions& actions);
  // The window may have been moved by its program: placed again if it is
  // away from its rule and the hold still allows; false when its hold ended.
  bool LookAgain(size_t index, HookTime now, HookFacts& facts, HookActions& actions);
  void PlaceHeld(Held& held, HookActions& actions);
  // The hold ran out, or the user pressed a key or used the mouse since the
  // show.
  static bool HoldOver(const Held& held, HookTime now, HookFacts& facts);

  // A window shown while cloaked appears when it is uncloaked; Take
  // forgets it and says whether it was one.
  void AddCloakedShow(HookWindow window);
  bool TakeCloakedShow(HookWindow window);

  bool IsKnown(HookWindow window) const;
  void AddKnown(HookWindow window);
  void ForgetKnown(HookWindow window);
  size_t FindHeld(HookWindow window) const;  // kHeldCapacity when absent
  void RemoveHeld(size_t index);
  Held& AddHeld(HookWindow window, HookTime now, HookTime holdMs);

  HookOptions options_ = {};
  // Both sets keep their windows oldest first, so the oldest is the one
  // dropped when a set is full.
  HookWindow known_[kKnownCapacity] = {};
  size_t knownCount_ = 0;
  Held held_[kHeldCapacity] = {};
  size_t heldCount_ = 0;
  HookWindow cloaked_[kCloakedCapacity] = {};
  size_t cloakedCount_ = 0;
  HookWindow moving_ = 0;  // between move/size start and end
};

// What counts as the user acting, from the input the library's low-level
// hooks see. A mouse button pressed, the wheel turned or the pointer moved
// to another point counts, and so does a key pressed. A release does not:
// the click or key that opened a window is released after it appeared. Nor
// does a mouse move to the point where the pointer already was: the window
// system reports one when a window moves under a still pointer (Wine does,
// and then also counts it as input in GetLastInputInfo, as it does every
// window move and activation). Input injected by a program counts like the
// user's own (tools for the disabled and remote control are injected).
enum class MouseInput { Move, Press, Release, Wheel };

class UserInput {
 public:
  // Where the pointer is when the library starts watching.
  void Start(int32_t x, int32_t y);
  // One mouse event at point (x, y), one key event, at time now.
  void OnMouse(MouseInput kind, int32_t x, int32_t y, HookTime now);
  void OnKey(bool down, HookTime now);
  // When the user last acted; 0 when not since Start.
  HookTime LastAt() const { return lastAt_; }

 private:
  void Acted(HookTime now);
  int32_t x_ = 0;
  int32_t y_ = 0;
  HookTime lastAt_ = 0;
};

// Keeping a window inside the desktop. window is its visible rectangle,
// monitors the rectangles of every monitor, workArea that of the monitor
// nearest to the window. A window that lies wholly on the monitors stays
// where it is, even across two monitors or over the taskbar. Otherwise it
// moves, keeping its size, to the nearest position inside workArea; a window
// wider or taller than workArea is aligned to its left or top edge.
struct KeepInsideMove {
  bool move;
  int32_t dx;
  int32_t dy;
};
KeepInsideMove ComputeKeepInside(const Rect32& window, const Rect32* monitors, size_t monitorCount,
                                 const Rect32& workArea);
// Whether the union of the monitor rectangles covers rect entirely.
bool CoveredByMonitors(const Rect32& rect, const Rect32* monitors, size_t monitorCount);
constexpr size_t kMaxMonitors = 16;

// The middle-click gesture: a middle press on a top-level window's title
// bar asks for the preset menu, or with Shift held for a window rule made
// from where the window stands, and is swallowed, and so is its release;
// every other event passes untouched.
enum class MiddlePress : uint8_t { PassOn, Presets, Rule };

class MiddleClickGesture {
 public:
  // A middle press. onTitleBar: whether it lies on a title bar; shift:
  // whether Shift is down. Anything but PassOn: swallow it and report it.
  MiddlePress Press(bool onTitleBar, bool shift);
  // A middle release. True: swallow it (its press was swallowed).
  bool Release();

 private:
  bool swallowRelease_ = false;
};

// The band at the top of a window where a title bar can lie: its frame and
// caption, doubled for programs that draw a taller title bar of their own.
// Only presses in it are worth asking the window about.
int32_t TitleBandHeight(int32_t frameHeight, int32_t captionHeight);
bool InTitleBand(int32_t x, int32_t y, const Rect32& window, int32_t bandHeight);

}  // namespace qm
