// Resource and command identifiers, shared by Quillmere.rc and the code.
// The values are fixed: users' habits (tooltips, menus) and the dialog
// templates are keyed to them, so never renumber.
#pragma once

// Dialog controls.
#define IDC_GET            10001  // "Get": take the selected window's facts
#define IDC_REFRESH        10002  // "Refresh": list the running windows anew
#define IDC_BORDER         10003
#define IDC_DESABLEPOS     10004
#define IDC_DESABLESIZE    10005
#define IDC_DESABLESTYLE   10006
#define IDC_DIALOGFRAME    10007
#define IDC_KEEPIN         10008
#define IDC_TOOLTIP        10009
#define IDC_THICKFRAME     10010
#define IDC_POS            10011
#define IDC_CLASS          10012
#define IDC_LEFT           10013
#define IDC_TOP            10014
#define IDC_WIDTH          10015
#define IDC_HEIGHT         10016
#define IDC_TITLE          10017
#define IDC_WINDOWLIST     10018  // running windows in the window entry dialog

// Dialog templates.
#define IDD_SETTINGS       10019
#define IDD_MENUENTRY      10020
#define IDD_WINDOWENTRY    10021

#define IDI_APP            10022

// Menu and toolbar commands; a toolbar button's tooltip is the string with
// the same identifier.
#define IDM_ABOUT          10023
#define IDM_ADD            10024
#define IDM_CHANGE         10025
#define IDM_SETTINGS       10026
#define IDM_DELETE         10027
#define IDM_EXIT           10028
#define IDM_INITIALISE     10029
#define IDM_MENULIST       10030
#define IDM_WINDOWLIST     10031
#define IDM_SWITCHLIST     40000

#define IDR_MAINMENU       10033

// Settings dialog: the preset-menu hotkey (msctls_hotkey32).
#define IDC_HOTKEY         10050
// Controls added after the first templates, each in space of its own.
#define IDC_PROCESS        10034  // program of a window rule
#define IDC_MONITOR        10035  // monitor whose area the anchors use
// Window entry dialog, the rule's modes (column right of the others).
#define IDC_APPLY          10100  // when the rule places: Apply order
#define IDC_HOLD           10101  // seconds held after placing
#define IDC_MATCH          10102  // how the name meets the title: Match order
#define IDC_TOPMOST        10103
#define IDC_STATE          10104  // maximised after placing
#define IDC_FLASH          10120  // flashes the frame of the selected running window
#define IDC_FOLLOWDESKTOP  10110  // settings: place again when the desktop settles
#define IDC_UNIT           10111  // entry numbers are shares of the work area
#define IDC_RULEHOTKEY     10121  // settings: the hotkey that makes a rule of the foreground window

// String table.
#define IDS_ADD            IDM_ADD
#define IDS_CHANGE         IDM_CHANGE
#define IDS_DELETE         IDM_DELETE
#define IDS_SWITCHLIST     IDM_SWITCHLIST
#define IDS_ABOUT_CAPTION  40001
#define IDS_ABOUT_TEXT     40002
#define IDS_CLASS_EXISTS   40003
#define IDS_POS_FREE       40004  // the six anchor texts, in Pos order
#define IDS_POS_BOTTOMLEFT 40005
#define IDS_POS_BOTTOMRIGHT 40006
#define IDS_POS_CENTER     40007
#define IDS_POS_TOPLEFT    40008
#define IDS_POS_TOPRIGHT   40009
#define IDS_DELETE_CONFIRM 40010
#define IDS_COL_CLASS      40011
#define IDS_COL_NAME       40012
#define IDS_COL_POSITION   40013
#define IDS_COL_SIZE       40014
#define IDS_COL_TITLE      40016
// The program's own messages (save failure, full table), kept clear of the
// ranges above.
#define IDS_SAVE_FAILED    50001
#define IDS_TABLE_FULL     50002
#define IDS_HOTKEY_TAKEN   50010  // %s: the combination, as Config.ini writes it
#define IDS_COL_PROGRAM    50003
#define IDS_MONITOR_PRIMARY 50004  // the three monitor choices, in Monitor order
#define IDS_MONITOR_WINDOW 50005
#define IDS_MONITOR_POINTER 50006
#define IDS_LOAD_FAILED    50007
#define IDS_APPLY_FIRST    50100  // the four Apply choices, in Apply order
#define IDS_APPLY_EVERY    50101
#define IDS_APPLY_DEMAND   50102
#define IDS_APPLY_NEVER    50103
#define IDS_MATCH_CONTAINS 50104  // the three Match choices, in Match order
#define IDS_MATCH_WHOLE    50105
#define IDS_MATCH_WILDCARD 50106
#define IDS_COL_MODE       50107  // window list column: a rule's non-default modes
#define IDS_REASON_NOMONITOR 50124  // reason: the only matching rules name an absent monitor
#define IDS_MONITOR_ABSENT 50125  // after a stored monitor name that is not connected now
#define IDS_COL_RULE       50140  // the running-window list's rule column
#define IDS_REASON_NOENTRY 50141  // the reasons of the rule column (RuleReason)
#define IDS_REASON_ELEVATED 50142
#define IDS_REASON_NOANSWER 50143
#define IDS_REASON_MINMAX  50144
#define IDS_REASON_MOVED   50145
#define IDS_ELEVATED_TITLE 50146  // the tray notice about elevated programs
#define IDS_ELEVATED_TEXT  50147
#define IDS_REASON_GAVEUP  50148  // the hold gave up on the window's program
#define IDS_ONESTEP_TITLE  50149  // the tray notice of a rule made in one step
#define IDS_ONESTEP_ADDED  50150  // %s: the entry's class (and program)
#define IDS_ONESTEP_UPDATED 50151
#define IDS_ONESTEP_BUSY   50152  // a one-step rule waits for the open dialog
#define IDS_RULEHOTKEY_TAKEN 50153  // %s: the combination, as Config.ini writes it

// Main window children and the tray icon.
#define IDC_MENUVIEW       101
#define IDC_WINDOWVIEW     102
#define IDC_TOOLBAR        103
#define ID_TRAYICON        104
