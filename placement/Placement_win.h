// Carrying placements out on real windows.
#pragma once

#include <windows.h>

#include <cstdint>

#include "entries/EntryTable.h"
#include "placement/DesktopSettle.h"
#include "placement/MonitorNames.h"

namespace qm {

// Each takes the window rules it goes by, the table of the program's store.

// Index of the window entry that applies to window, or -1. A rule naming a
// monitor applies only while that monitor is connected (read now when such
// a rule is the one found).
int32_t FindWindowEntry(const WindowTable& rules, HWND window);
// The same with the monitors read beforehand; null checks no names.
int32_t FindWindowEntry(const WindowTable& rules, HWND window, const NamedMonitors* monitors);
// Moves/sizes window by entry index, then sets its frame style bits.
// monitors: the names read beforehand, null to read them if the entry
// names a monitor.
void ApplyWindowEntry(const WindowTable& rules, HWND window, int32_t index,
                      const NamedMonitors* monitors = nullptr);
// The initialise command: every visible top-level window that has a rule
// and may be placed automatically (not a menu, tooltip or other pop-up, not
// minimised or maximised).
// Returns how many windows a rule matched. onElevated, when given, is called
// for each matched window whose program runs elevated while this one does
// not (Windows refuses to move it); nullptr reads no elevation.
int32_t ApplyToAllWindows(const WindowTable& rules, void (*onElevated)() = nullptr);
// After the desktop changed and settled: the initialise command, except for
// the windows the user moved or sized since they were last placed.
void ReapplyToAllWindows(const WindowTable& rules);
// MSG_USER_MOVED: the user ended a move or size of window. Placing the
// window by its rule forgets it again.
void NoteUserMoved(HWND window);
bool UserMovedSincePlaced(HWND window);
// MSG_HOLD_GAVE_UP: window's program moved it back more often than the hold
// allows. Placing the window by its rule forgets it again.
void NoteHoldGaveUp(HWND window);
bool HoldGaveUpSincePlaced(HWND window);
// The monitors and their work areas as they are now.
DesktopLayout ReadDesktopLayout();
// MSG_PLACE_WINDOW: the rule for window, without a visibility test but
// under the same other conditions; onElevated as above.
void PlaceReportedWindow(const WindowTable& rules, HWND window, void (*onElevated)() = nullptr);
// MSG_WINDOW_OFF_RULE: whether a window rule that places windows by itself
// applies to window and would move or size it now (a minimised or maximised
// window is never off), and the rule's Apply and hold: ApplyAtFirstShow and
// the default hold when no rule applies. Reads only.
struct WindowRuleFacts {
  bool off;
  int32_t apply;
  int32_t holdSeconds;
};
WindowRuleFacts AskWindowRule(const WindowTable& rules, HWND window);
// Whether window's thread handles a message within the placement bound (a
// window of this thread always does).
bool WindowAnswers(HWND window);
// Computes the placement of geometry for window (reading its rectangle,
// invisible borders and the work area only when needed) and carries it out;
// no style step. Shared by window rules and presets. Waits on another
// program's window at most a short bound; false when the window did not
// answer within it.
// monitors as for ApplyWindowEntry.
bool PlaceWindow(HWND window, const EntryGeometry& geometry, const NamedMonitors* monitors = nullptr);
// Restores a minimised or maximised window of another program without
// waiting on it, then waits for the restore at most the same bound; false
// when the window did not answer or is not restored within it.
bool RestoreWithinBound(HWND window);

}  // namespace qm
