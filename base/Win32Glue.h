// Glue between the portable core and the Win32 API: char16_t text to and
// from the W functions, core rectangles from RECTs, the program's module and
// screen, and the small window helpers every room of the shell shares
// (string resources, message boxes, list-view columns and selection). Only
// the Win32 layer includes this header.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/Geometry.h"
#include "base/U16.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text must be UTF-16");

namespace qm {

// Hands core buffers straight to API calls (the targets build with
// -fno-strict-aliasing, so the reinterpretation is safe there).
inline wchar_t* AsWide(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }
inline const wchar_t* AsWide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline char16_t* AsU16(wchar_t* s) { return reinterpret_cast<char16_t*>(s); }
inline const char16_t* AsU16(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }
inline U16View AsU16View(const wchar_t* s, size_t n) { return U16View(AsU16(s), n); }

inline Rect32 ToRect32(const RECT& r) { return Rect32{r.left, r.top, r.right, r.bottom}; }

// The program's name: main window class and title, tray tip, and the
// caption of the messages that have no caption string of their own.
constexpr wchar_t kProgramName[] = L"Quillmere";

// The module whose resources the shell loads (Quillmere.exe, or a test
// executable linked with the same resources); set once at start.
extern HINSTANCE g_instance;

// String id of the string table into out[kTextCapacity]; empty if missing.
void LoadText(UINT id, char16_t* out);
inline void LoadText(UINT id, wchar_t* out) { LoadText(id, AsU16(out)); }
// Sets a window's text (a dialog's caption) to string id.
void SetCaptionText(HWND window, UINT id);

// A message box with string textId, captioned by string captionId or, when
// captionId is 0, by the program's name; returns MessageBoxW's answer.
int ShowStringMessage(HWND owner, UINT textId, UINT captionId, UINT type);

// Report list views: a left-aligned column headed by string textId, extra
// extended styles, the lowest selected row (-1 if none), and the selected
// rows in ascending order (at most capacity of them; returns how many).
void InsertListColumn(HWND view, int column, UINT textId);
// Makes each of a list view's first columns as wide as its widest cell.
void FitListColumns(HWND view, int columns);
void AddListViewStyle(HWND view, DWORD extendedStyle);
int32_t FirstSelectedRow(HWND view);
int32_t SelectedRows(HWND view, int32_t* rows, int32_t capacity);

// A window's outer rectangle where it shows when not minimised. The
// rectangle of a minimised window is the spot Windows parks it at
// (-32000, -32000 and about 160 x 28; a screen corner under Wine); where it
// returns to is its restore rectangle (GetWindowPlacement), which this gives
// in screen coordinates.
bool ReadRestoredRect(HWND window, RECT* out);

}  // namespace qm
