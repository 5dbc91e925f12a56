// Shared by the placement, popup and readout end-to-end tests and the
// placement benchmark: Entry.ini text for window rules and presets, and the
// screen facts the expected positions are computed from.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace e2e {

// The seven fields that rules and presets share.
struct Geometry {
  int desablePos = 0;
  int left = 0;
  int top = 0;
  int pos = 0;
  int desableSize = 0;
  int width = 0;
  int height = 0;
  int monitor = 0;  // written only when not 0, as the program writes it
};

struct WindowRule {
  std::wstring title;
  std::wstring cls;
  Geometry geometry;
  int desableStyle = 1;
  int border = 0;
  int dialogFrame = 0;
  int thickFrame = 0;
  std::wstring process = L"";  // written only when not empty
  std::vector<std::pair<const wchar_t*, int>> modes = {};  // keys after the others ("Apply", 3)
  std::vector<std::pair<const wchar_t*, std::wstring>> texts = {};  // then these ("MonitorName", L"Display2")
};

inline std::wstring IniKey(const wchar_t* name, size_t i, int value) {
  return name + std::to_wstring(i) + L"=" + std::to_wstring(value) + L"\r\n";
}

inline std::wstring GeometryKeys(size_t i, const Geometry& g) {
  return IniKey(L"DesablePos", i, g.desablePos) + IniKey(L"Left", i, g.left) + IniKey(L"Top", i, g.top) +
         IniKey(L"Pos", i, g.pos) + IniKey(L"DesableSize", i, g.desableSize) + IniKey(L"Width", i, g.width) +
         IniKey(L"Height", i, g.height) + (g.monitor != 0 ? IniKey(L"Monitor", i, g.monitor) : L"");
}

// The whole Entry.ini text for these rules and presets, in this order.
inline std::wstring EntryIniText(const std::vector<WindowRule>& rules, const std::vector<Geometry>& presets) {
  std::wstring text = L"[Window]\r\nItem=" + std::to_wstring(rules.size()) + L"\r\n";
  for (size_t k = 0; k < rules.size(); ++k) {
    const WindowRule& r = rules[k];
    std::wstring n = std::to_wstring(k + 1);
    text += L"Title" + n + L"=" + r.title + L"\r\nClass" + n + L"=" + r.cls + L"\r\n";
    text += GeometryKeys(k + 1, r.geometry);
    text += IniKey(L"DesableStyle", k + 1, r.desableStyle) + IniKey(L"Border", k + 1, r.border) +
            IniKey(L"DialogFrame", k + 1, r.dialogFrame) + IniKey(L"ThickFrame", k + 1, r.thickFrame);
    if (!r.process.empty()) text += L"Process" + n + L"=" + r.process + L"\r\n";
    for (const auto& [key, value] : r.modes) text += IniKey(key, k + 1, value);
    for (const auto& [key, value] : r.texts) text += key + n + L"=" + value + L"\r\n";
  }
  text += L"[Menu]\r\nItem=" + std::to_wstring(presets.size()) + L"\r\n";
  for (size_t k = 0; k < presets.size(); ++k) text += GeometryKeys(k + 1, presets[k]);
  return text;
}

inline void WriteEntryIni(const TempDir& dir, const std::vector<WindowRule>& rules,
                          const std::vector<Geometry>& presets = {}) {
  WriteUtf16File(dir.File(L"Entry.ini"), EntryIniText(rules, presets));
}

inline RECT WorkArea() {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::wstring RectText(const RECT& r) {
  return L"(" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L")-(" + std::to_wstring(r.right) + L"," +
         std::to_wstring(r.bottom) + L")";
}

inline RECT MakeRect(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

// Moves the cursor and waits until the window system reports it there.
inline void PutCursor(int x, int y) {
  SetCursorPos(x, y);
  WaitUntil([&] {
    POINT p = {};
    GetCursorPos(&p);
    return p.x == x && p.y == y;
  });
}

// A target's first window with an owner (owned) or without one. Windows
// come in z-order, where an owned window lies above its owner.
inline HWND WindowByOwner(const Target& target, bool owned) {
  for (HWND window : target.windows()) {
    if ((GetWindow(window, GW_OWNER) != nullptr) == owned) return window;
  }
  return nullptr;
}

inline DWORD WindowStyle(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }

}  // namespace e2e
