#include "entries/HotkeyText.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

constexpr uint32_t CtrlAltShift = kHotkeyCtrl | kHotkeyAlt | kHotkeyShift;

TEST(Hotkey, ReadsTheKeyAsWrittenByHandOrByTheProgram) {
  struct Case {
    const char16_t* text;
    bool ok;
    int32_t hotkey;
  };
  const Case cases[] = {
      {u"Ctrl+Alt+Shift+F10", true, kDefaultHotkey},
      {u"shift+ALT+ctrl+f10", true, kDefaultHotkey},
      {u" Ctrl + Alt + Shift + F10 ", true, kDefaultHotkey},
      {u"Win+Alt+P", true, MakeHotkey(kHotkeyWin | kHotkeyAlt, 'P')},
      {u"Ctrl+Alt+7", true, MakeHotkey(kHotkeyCtrl | kHotkeyAlt, '7')},
      {u"Ctrl+F24", true, MakeHotkey(kHotkeyCtrl, 0x87)},
      {u"Alt+PageDown", true, MakeHotkey(kHotkeyAlt, 0x22)},
      {u"Ctrl+Alt+NumAdd", true, MakeHotkey(kHotkeyCtrl | kHotkeyAlt, 0x6B)},
      {u"Ctrl+Alt+0xba", true, MakeHotkey(kHotkeyCtrl | kHotkeyAlt, 0xBA)},
      {u"", true, 0},
      {u"0", true, 0},
      {u"  ", true, 0},
      // Unreadable texts.
      {u"Ctrl+Alt+", false, 0},
      {u"+P", false, 0},
      {u"Ctrl++P", false, 0},
      {u"Ctrl+Ctrl+P", false, 0},
      {u"Hyper+P", false, 0},
      {u"Ctrl+Alt+F25", false, 0},
      {u"Ctrl+Alt+F0", false, 0},
      {u"Ctrl+Alt+Ä", false, 0},
      {u"Ctrl+Alt+0x", false, 0},
      {u"Ctrl+Alt+0x1FF", false, 0},
      {u"Ctrl+Alt+Shift", false, 0},
      // Combinations that would take a key away from every program.
      {u"F10", false, 0},
      {u"Shift+F10", false, 0},
      {u"Ctrl+Alt+0x12", false, 0},
      {u"Ctrl+Alt+0xFF", false, 0},
      {u"Ctrl+Alt+0x00", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)));
    int32_t hotkey = -1;
    EXPECT_EQ(ParseHotkey(c.text, &hotkey), c.ok);
    EXPECT_EQ(hotkey, c.ok ? c.hotkey : -1);
  }
}

TEST(Hotkey, WritesWhatItReadsBack) {
  struct Case {
    int32_t hotkey;
    const char16_t* text;
  };
  const Case cases[] = {
      {kDefaultHotkey, u"Ctrl+Alt+Shift+F10"},
      {MakeHotkey(kHotkeyWin | kHotkeyAlt | kHotkeyCtrl, 'Q'), u"Ctrl+Alt+Win+Q"},
      {MakeHotkey(kHotkeyAlt, 0x24), u"Alt+Home"},
      {MakeHotkey(kHotkeyCtrl, 0x70), u"Ctrl+F1"},
      {MakeHotkey(kHotkeyCtrl | kHotkeyShift, 0x6F), u"Ctrl+Shift+NumDivide"},
      {MakeHotkey(kHotkeyCtrl | kHotkeyAlt, 0xBA), u"Ctrl+Alt+0xBA"},
      {MakeHotkey(kHotkeyCtrl | kHotkeyAlt, 0x0C), u"Ctrl+Alt+0x0C"},
      {0, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatHotkey(c.hotkey), c.text) << c.hotkey;
    int32_t back = -1;
    EXPECT_TRUE(ParseHotkey(FormatHotkey(c.hotkey), &back)) << c.hotkey;
    EXPECT_EQ(back, c.hotkey);
  }
  // Every usable combination survives the round trip.
  for (uint32_t modifiers = 0; modifiers < 16; ++modifiers) {
    for (uint32_t key = 0; key < 256; ++key) {
      int32_t hotkey = MakeHotkey(modifiers, key);
      if (!IsUsableHotkey(hotkey)) continue;
      int32_t back = -1;
      ASSERT_TRUE(ParseHotkey(FormatHotkey(hotkey), &back)) << hotkey;
      ASSERT_EQ(back, hotkey);
    }
  }
}

TEST(Hotkey, MapsToAndFromTheHotkeyControl) {
  // The control's word: key in the low byte, Shift 1, Ctrl 2, Alt 4,
  // extended 8 in the high byte.
  EXPECT_EQ(HotkeyToControl(kDefaultHotkey), 0x0779);
  EXPECT_EQ(HotkeyToControl(MakeHotkey(kHotkeyAlt, 0x21)), 0x0C21);  // PageUp is an extended key
  EXPECT_EQ(HotkeyToControl(MakeHotkey(kHotkeyCtrl, 0x61)), 0x0261);  // Num1 is not
  EXPECT_EQ(HotkeyToControl(0), 0);

  EXPECT_EQ(HotkeyFromControl(0x0779, 0), kDefaultHotkey);
  EXPECT_EQ(HotkeyFromControl(0x0C21, kDefaultHotkey), MakeHotkey(kHotkeyAlt, 0x21));
  EXPECT_EQ(HotkeyFromControl(0, kDefaultHotkey), 0);
  // The control cannot show Win: unchanged keys keep it, changed ones drop it.
  const int32_t withWin = MakeHotkey(kHotkeyWin | kHotkeyAlt, 'P');
  EXPECT_EQ(HotkeyFromControl(HotkeyToControl(withWin), withWin), withWin);
  EXPECT_EQ(HotkeyFromControl(0x0451, withWin), MakeHotkey(kHotkeyAlt, 'Q'));
  EXPECT_EQ(HotkeyFromControl(0x0651, withWin), MakeHotkey(kHotkeyAlt | kHotkeyCtrl, 'Q'));
  // A combination no program should lose is no hotkey.
  EXPECT_EQ(HotkeyFromControl(0x0179, kDefaultHotkey), 0);
  EXPECT_EQ(HotkeyFromControl(0x0010, 0), 0);
  EXPECT_EQ(MakeHotkey(CtrlAltShift, 0x79), kDefaultHotkey);
}

}  // namespace
}  // namespace qm
