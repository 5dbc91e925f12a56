// The system-wide key combination that opens the preset menu for the
// foreground window: how Config.ini writes it ("Hotkey"), and how it maps to
// the hotkey control of the settings dialog.
#pragma once

#include <cstdint>
#include <string>

#include "base/U16.h"

namespace qm {

// Modifier bits as RegisterHotKey takes them.
constexpr uint32_t kHotkeyAlt = 0x1;
constexpr uint32_t kHotkeyCtrl = 0x2;
constexpr uint32_t kHotkeyShift = 0x4;
constexpr uint32_t kHotkeyWin = 0x8;

// A hotkey in one integer, as the settings keep it: the modifier bits times
// 256 plus a virtual-key code; 0 is no hotkey.
constexpr int32_t MakeHotkey(uint32_t modifiers, uint32_t key) {
  return static_cast<int32_t>(((modifiers & 0xF) << 8) | (key & 0xFF));
}
constexpr uint32_t HotkeyModifiers(int32_t hotkey) { return (static_cast<uint32_t>(hotkey) >> 8) & 0xF; }
constexpr uint32_t HotkeyKey(int32_t hotkey) { return static_cast<uint32_t>(hotkey) & 0xFF; }

// Ctrl+Alt+Shift+F10. Function keys carry no character on any keyboard
// layout, while Ctrl+Alt is AltGr on many of them, so Ctrl+Alt with a letter
// or digit would take a character away from someone's typing; Shift+F10 is
// the keyboard's own key for a context menu, which this menu is; Windows
// keeps the Win key's combinations for itself; and programs seldom bind a
// key that needs all three modifiers.
constexpr uint32_t kVirtualKeyF10 = 0x79;
constexpr int32_t kDefaultHotkey = MakeHotkey(kHotkeyCtrl | kHotkeyAlt | kHotkeyShift, kVirtualKeyF10);
// The key beside it, for the same reasons: Ctrl+Alt+Shift+F11 makes a window
// rule of the foreground window where it stands.
constexpr uint32_t kVirtualKeyF11 = 0x7A;
constexpr int32_t kDefaultRuleHotkey = MakeHotkey(kHotkeyCtrl | kHotkeyAlt | kHotkeyShift, kVirtualKeyF11);

// How the settings keep a hotkey: 0 for its default, so that settings
// and files from before there was that hotkey mean the default,
// kNoHotkeySetting for none, else the hotkey.
constexpr int32_t kNoHotkeySetting = -1;
constexpr int32_t HotkeyInUse(int32_t setting, int32_t defaultHotkey = kDefaultHotkey) {
  return setting == 0 ? defaultHotkey : setting == kNoHotkeySetting ? 0 : setting;
}
constexpr int32_t HotkeySetting(int32_t hotkey, int32_t defaultHotkey = kDefaultHotkey) {
  return hotkey == defaultHotkey ? 0 : hotkey == 0 ? kNoHotkeySetting : hotkey;
}

// Whether hotkey can be registered as it stands: a key that is not itself a
// modifier, with Ctrl, Alt or Win (with Shift alone or nothing at all, every
// program would lose that key while Quillmere runs).
bool IsUsableHotkey(int32_t hotkey);

// The text of the "Hotkey" key: modifiers from "Ctrl", "Alt", "Shift" and
// "Win" in any order, then one key, joined by "+" ("Ctrl+Alt+Shift+F10").
// Keys: A to Z, 0 to 9, F1 to F24, the names in the table in
// HotkeyText.cpp (Space, Home, PageUp, Num0, ...), or any virtual-key code
// in hexadecimal ("0xBA"). Names are read without regard to case and blanks
// around the parts are ignored. An empty text or "0" is no hotkey. False,
// with *hotkey untouched, for any other text or a combination that is not
// usable.
bool ParseHotkey(U16View text, int32_t* hotkey);
// The text ParseHotkey reads back to hotkey, modifiers in the order Ctrl,
// Alt, Shift, Win; empty for no hotkey.
std::u16string FormatHotkey(int32_t hotkey);

// The hotkey control (msctls_hotkey32) holds a word: the key in its low
// byte and flags in its high byte (Shift 1, Ctrl 2, Alt 4, extended key 8).
// It cannot show the Win key.
uint16_t HotkeyToControl(int32_t hotkey);
// What the control's word means as a hotkey. A word that shows the same
// keys as previous keeps previous, Win key included; a combination that is
// not usable, or an empty control, is no hotkey.
int32_t HotkeyFromControl(uint16_t word, int32_t previous);

}  // namespace qm
