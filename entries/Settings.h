// The persistent settings kept in Config.ini.
#pragma once

#include <cstdint>

namespace qm {

struct Settings {
  int32_t Left;    // main window outer rectangle
  int32_t Top;
  int32_t Width;
  int32_t Height;
  int32_t List;     // 1: window list shown, 0: menu list
  int32_t Tooltip;  // hook library reports rectangles for the readout
  int32_t KeepIn;   // hook library keeps windows inside the desktop
  // The hotkey that opens the preset menu for the foreground window, as
  // HotkeySetting (HotkeyText.h) keeps it: 0 for the default, so a record
  // without it and a file without the key mean the default.
  int32_t Hotkey;
  // Whether the window list is applied again once the desktop settles after
  // a change of monitors, work areas or session. Kept as the file's value
  // less 1, as every optional number is: 0 (a record without it, or a file
  // without the key) is on, -1 (the file's 0) is off, and only off is
  // written.
  int32_t FollowDesktop;
  // The hotkey that makes a window rule of the foreground window where it
  // stands, kept as Hotkey is with its own default (kDefaultRuleHotkey).
  int32_t RuleHotkey;
};

inline bool FollowsDesktop(const Settings& settings) { return settings.FollowDesktop != -1; }

// The settings of a missing Config.ini: a 320 x 240 window centred on a
// screen of the given size (quotients toward zero), window list shown.
inline Settings DefaultSettings(int32_t screenWidth, int32_t screenHeight) {
  return Settings{(screenWidth - 320) / 2, (screenHeight - 240) / 2, 320, 240, 1, 0, 0, 0, 0, 0};
}

}  // namespace qm
