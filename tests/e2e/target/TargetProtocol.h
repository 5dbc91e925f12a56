// Messages the end-to-end driver sends to qm_target.exe windows. The target
// is a stand-in for "some other program": its windows are what Quillmere
// places, and it raises the window events Windows would raise for them.
// Wine 8 raises only EVENT_OBJECT_CREATE itself, but delivers events that a
// process raises with NotifyWinEvent to other processes' hooks; Wine 10
// raises show, hide, destroy, location and minimize events itself, as
// Windows does, but not name changes or the start and end of a move. So the
// target raises every event itself and makes a show or hide real: the tests
// hold whether or not the window system raises the same event as well.
// Start the target after the program: a Wine 8 thread that raised or
// checked for an event before a hook existed keeps believing there is none,
// and its later events are lost.
#pragma once

#include <windows.h>

// wParam: a WinEvent id. The target calls NotifyWinEvent(event, its window,
// OBJID_WINDOW, CHILDID_SELF) and returns 1; for EVENT_OBJECT_SHOW or _HIDE
// it first shows the window (not activating it) or hides it.
#define TARGET_NOTIFY_EVENT (WM_APP + 0x100)
// WM_COPYDATA dwData: the payload is a UTF-16 title; the target sets it.
#define TARGET_SET_TITLE 0x51544954
// Returns how many middle-button presses (double clicks included) and
// releases, in the client area or on the title bar, the target's windows
// have received: a click the hook library swallows never arrives.
#define TARGET_MIDDLE_CLICKS (WM_APP + 0x101)
// What a program restoring its position, or a drag, does to the window, in
// one go: the target raises the WinEvents packed in wParam (16 bits each,
// lowest first, up to four, a 0 ends them) as TARGET_NOTIFY_EVENT does,
// moves the window to lParam = MAKELPARAM(x, y) keeping its size, raises
// EVENT_OBJECT_LOCATIONCHANGE and returns 1.
#define TARGET_MOVE_WINDOW (WM_APP + 0x102)
// Returns how often the window was asked for a position and a size at once
// (MoveWindow, or SetWindowPos without SWP_NOMOVE or SWP_NOSIZE), counting
// requests for the rectangle it already has: a placement that changes
// nothing is seen as well.
#define TARGET_PLACEMENTS (WM_APP + 0x103)
// Returns the window's width as the target itself sees it: on a scaled
// display a target started with --unaware sees it scaled down.
#define TARGET_OWN_WIDTH (WM_APP + 0x104)
// A program that restores its own position a moment after its window
// appears: the target shows the window (ShowWindow, then EVENT_OBJECT_SHOW
// with NotifyWinEvent, for labs that raise none themselves) and, wParam ms
// later (at once for 0, never for 0xFFFFFFFF), moves it to lParam =
// MAKELPARAM(x, y) keeping its size and raises EVENT_OBJECT_LOCATIONCHANGE.
// Returns 1.
#define TARGET_SHOW_THEN_MOVE (WM_APP + 0x107)
// wParam 1: from now on the target moves the window back to where it last
// put it itself each time another process moves or sizes it (posting the
// move to itself, then raising EVENT_OBJECT_LOCATIONCHANGE). Returns 1.
#define TARGET_FIGHT (WM_APP + 0x108)
// What happened to the window since TARGET_SHOW_THEN_MOVE: wParam 0 the
// times another process moved or sized it, 1 the times it moved itself,
// 2 the milliseconds since the show.
#define TARGET_MOVES (WM_APP + 0x109)
// Post it (a send would wait for ever): the window's thread stops answering
// until the named event TARGET_RELEASE_EVENT is set, as a program that hangs.
// At most a minute, so a failed test leaves no process behind.
#define TARGET_HANG (WM_APP + 0x10A)
#define TARGET_RELEASE_EVENT L"QmTargetRelease"
