// The contract between Quillmere.exe and the hook library Quillmere.dll:
// the messages the library delivers to the main window, the readout payload
// and the two exports. Both sides include this header and nothing else of
// each other.
#pragma once

#include <windows.h>

#include <cstdint>

// Messages, all in the WM_APP range and all defined here; each returns 0
// unless said otherwise. These go to the main window.
#define MSG_TIP_HIDE      0x8000  // hide the geometry readout
#define MSG_PLACE_WINDOW  0x8001  // wParam: a window to place by its rule
#define MSG_TIP_RECT      0x8002  // COPYDATASTRUCT.dwData of a WM_COPYDATA
#define MSG_MENU_WINDOW   0x8003  // wParam: a window for the preset popup
#define MSG_TRAY          0x8004  // the tray icon's callback (not the library's)
// wParam: a window the library sees appear or holds after placing it. Sent,
// not posted, from the thread that owns the main window, so it is a plain
// call; it only reads. Returns, as RuleAnswerResult packs them: bit 0 set
// when a window rule that places windows by itself applies to it and it does
// not stand where that rule puts it (its own program moved or sized it);
// bits 1-2 that rule's "Apply" (0 when no rule applies); bits 3-8 its hold
// in seconds (2 when no rule applies).
#define MSG_WINDOW_OFF_RULE 0x8005

// The program's and the library's other messages take the values after
// these, so that every message either side defines has a value of its own.
// Posted to the main window at start-up when a file could not be read: the
// box shows once the message loop runs, so start-up never waits on the user.
#define MSG_STARTUP_NOTICE 0x8006
// Thread messages to the library's hook thread. MSG_WATCH_KEYS: wParam
// non-zero to set the keyboard hook, zero to remove it. MSG_RENEW_HOOKS:
// set the low-level hooks afresh.
#define MSG_WATCH_KEYS 0x8007
#define MSG_RENEW_HOOKS 0x8008
// Posted by SetHook to the library's hidden window: register for session
// notices once the message loop runs.
#define MSG_REGISTER_SESSION 0x8009
// Posted to the main window by the library. MSG_USER_MOVED: wParam is a
// window whose move or size the user ended (EVENT_SYSTEM_MOVESIZEEND).
// MSG_DESKTOP_CHANGED: the session was unlocked or connected, which the
// library hears of as it registered for session changes; the monitors may
// have changed meanwhile.
#define MSG_USER_MOVED 0x8020
#define MSG_DESKTOP_CHANGED 0x8021

constexpr LRESULT RuleAnswerResult(bool off, int32_t apply, int32_t holdSeconds) {
  return (off ? 1 : 0) | ((apply & 3) << 1) | ((holdSeconds & 0x3F) << 3);
}
constexpr bool RuleAnswerOff(LRESULT result) { return (result & 1) != 0; }
constexpr int32_t RuleAnswerApply(LRESULT result) { return static_cast<int32_t>((result >> 1) & 3); }
constexpr int32_t RuleAnswerHoldSeconds(LRESULT result) { return static_cast<int32_t>((result >> 3) & 0x3F); }
// A command given on the command line of a second copy, carried out by the
// running one: COPYDATASTRUCT.dwData of a WM_COPYDATA to the main window
// with a CommandRequest. The answer is 0x100 plus the command's exit code
// (0 from a copy that does not know commands). While it runs, the running
// copy sends the command's output to the request's reply window as
// WM_COPYDATA with dwData MSG_COMMAND_OUTPUT: UTF-16 text, in pieces.
#define MSG_COMMAND_REQUEST 0x8010
#define MSG_COMMAND_OUTPUT  0x8011
// Posted to the main window by the library. MSG_RULE_WINDOW: wParam is a
// window whose title bar the user middle-clicked with Shift held (the click
// swallowed): a window rule is made, or updated, from where it stands.
// MSG_HOLD_GAVE_UP: wParam is a window whose own program moved it back more
// often than the hold allows; the library stopped holding it.
#define MSG_RULE_WINDOW     0x8012
#define MSG_HOLD_GAVE_UP    0x8013
constexpr LRESULT kCommandAnswered = 0x100;

struct CommandRequest {
  uint32_t kind;         // a CommandKind other than None and Usage
  int32_t preset;        // /preset N: N
  uint64_t window;       // /preset: the window, 0 for none
  uint64_t replyWindow;  // a window of class "Quillmere_Reply"
};
static_assert(sizeof(CommandRequest) == 24, "the command request is 24 bytes");

// WM_COPYDATA payload of MSG_TIP_RECT: 16 bytes, four little-endian signed
// integers in screen pixels.
struct TipRectPayload {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
static_assert(sizeof(TipRectPayload) == 16, "the readout payload is 16 bytes");

#ifdef QM_BUILDING_HOOK
#define QM_HOOK_API extern "C" __declspec(dllexport)
#else
#define QM_HOOK_API extern "C" __declspec(dllimport)
#endif

// Installs the library's hooks. main receives the messages above; dummy is
// the program's hidden helper window. tooltip non-zero: report rectangles
// while a window is moved or sized. keepIn non-zero: keep windows inside the
// desktop. A second call without FreeHook changes nothing.
QM_HOOK_API void __stdcall SetHook(HWND main, HWND dummy, int tooltip, int keepIn);

// Removes every hook. Safe without SetHook and when called twice.
QM_HOOK_API void __stdcall FreeHook();
