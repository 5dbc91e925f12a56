#include "entries/HotkeyText.h"

namespace qm {

namespace {

struct KeyName {
  const char16_t* name;
  uint32_t key;
  bool extended;  // the control tells these apart from their number-pad twins
};

// Keys known by name besides letters, digits and function keys. The number
// pad's operators have words, since "+" joins the parts.
const KeyName KeyNames[] = {
    {u"Backspace", 0x08, false}, {u"Tab", 0x09, false},        {u"Enter", 0x0D, false},
    {u"Pause", 0x13, false},     {u"Escape", 0x1B, false},     {u"Space", 0x20, false},
    {u"PageUp", 0x21, true},     {u"PageDown", 0x22, true},    {u"End", 0x23, true},
    {u"Home", 0x24, true},       {u"Left", 0x25, true},        {u"Up", 0x26, true},
    {u"Right", 0x27, true},      {u"Down", 0x28, true},        {u"PrintScreen", 0x2C, false},
    {u"Insert", 0x2D, true},     {u"Delete", 0x2E, true},      {u"Num0", 0x60, false},
    {u"Num1", 0x61, false},      {u"Num2", 0x62, false},       {u"Num3", 0x63, false},
    {u"Num4", 0x64, false},      {u"Num5", 0x65, false},       {u"Num6", 0x66, false},
    {u"Num7", 0x67, false},      {u"Num8", 0x68, false},       {u"Num9", 0x69, false},
    {u"NumMultiply", 0x6A, false}, {u"NumAdd", 0x6B, false},   {u"NumSubtract", 0x6D, false},
    {u"NumDecimal", 0x6E, false},  {u"NumDivide", 0x6F, true},
};

struct ModifierName {
  const char16_t* name;
  uint32_t bit;
};

// In the order FormatHotkey writes them.
const ModifierName ModifierNames[] = {
    {u"Ctrl", kHotkeyCtrl}, {u"Alt", kHotkeyAlt}, {u"Shift", kHotkeyShift}, {u"Win", kHotkeyWin}};

constexpr uint32_t kFirstFunctionKey = 0x70;  // F1
constexpr int kFunctionKeyCount = 24;

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SameName(U16View a, U16View b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

U16View Trim(U16View text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  c = AsciiUpper(c);
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// A key by its name; 0 when the text names none.
uint32_t ParseKey(U16View text) {
  if (text.size() == 1) {
    char16_t c = AsciiUpper(text[0]);
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) return c;
    return 0;
  }
  if ((text[0] == u'F' || text[0] == u'f') && text.size() <= 3) {
    int number = 0;
    for (size_t i = 1; i < text.size(); ++i) {
      if (text[i] < u'0' || text[i] > u'9') return 0;
      number = number * 10 + (text[i] - u'0');
    }
    if (number >= 1 && number <= kFunctionKeyCount) return kFirstFunctionKey + static_cast<uint32_t>(number - 1);
    return 0;
  }
  if (text.size() >= 3 && text.size() <= 4 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    uint32_t key = 0;
    for (size_t i = 2; i < text.size(); ++i) {
      int digit = HexDigit(text[i]);
      if (digit < 0) return 0;
      key = key * 16 + static_cast<uint32_t>(digit);
    }
    return key;
  }
  for (const KeyName& k : KeyNames) {
    if (SameName(text, k.name)) return k.key;
  }
  return 0;
}

const KeyName* FindKeyName(uint32_t key) {
  for (const KeyName& k : KeyNames) {
    if (k.key == key) return &k;
  }
  return nullptr;
}

void AppendKey(std::u16string& text, uint32_t key) {
  if ((key >= u'A' && key <= u'Z') || (key >= u'0' && key <= u'9')) {
    text += static_cast<char16_t>(key);
  } else if (key >= kFirstFunctionKey && key < kFirstFunctionKey + kFunctionKeyCount) {
    char16_t digits[12];
    size_t length = U16FormatInt(static_cast<int32_t>(key - kFirstFunctionKey + 1), digits);
    text += u'F';
    text.append(digits, length);
  } else if (const KeyName* name = FindKeyName(key)) {
    text += name->name;
  } else {
    const char16_t hex[] = u"0123456789ABCDEF";
    text += u"0x";
    text += hex[(key >> 4) & 0xF];
    text += hex[key & 0xF];
  }
}

// The control's flag bits beside the modifiers they stand for.
constexpr uint16_t kControlShift = 0x1, kControlCtrl = 0x2, kControlAlt = 0x4, kControlExtended = 0x8;

}  // namespace

bool IsUsableHotkey(int32_t hotkey) {
  if (hotkey <= 0 || hotkey != MakeHotkey(HotkeyModifiers(hotkey), HotkeyKey(hotkey))) return false;
  uint32_t key = HotkeyKey(hotkey);
  // Shift, Ctrl, Alt, the Win keys and their left and right forms are
  // modifiers, not keys; 0xFF is no key at all.
  bool modifierKey = (key >= 0x10 && key <= 0x12) || key == 0x5B || key == 0x5C || (key >= 0xA0 && key <= 0xA5);
  if (key == 0 || key == 0xFF || modifierKey) return false;
  return (HotkeyModifiers(hotkey) & (kHotkeyCtrl | kHotkeyAlt | kHotkeyWin)) != 0;
}

bool ParseHotkey(U16View text, int32_t* hotkey) {
  text = Trim(text);
  if (text.empty() || text == u"0") {
    *hotkey = 0;
    return true;
  }
  uint32_t modifiers = 0;
  for (;;) {
    size_t plus = text.find(u'+');
    U16View part = Trim(text.substr(0, plus));
    if (part.empty()) return false;
    if (plus == U16View::npos) {
      int32_t parsed = MakeHotkey(modifiers, ParseKey(part));
      if (!IsUsableHotkey(parsed)) return false;
      *hotkey = parsed;
      return true;
    }
    uint32_t bit = 0;
    for (const ModifierName& m : ModifierNames) {
      if (SameName(part, m.name)) bit = m.bit;
    }
    if (bit == 0 || (modifiers & bit) != 0) return false;
    modifiers |= bit;
    text.remove_prefix(plus + 1);
  }
}

std::u16string FormatHotkey(int32_t hotkey) {
  std::u16string text;
  if (hotkey == 0) return text;
  for (const ModifierName& m : ModifierNames) {
    if ((HotkeyModifiers(hotkey) & m.bit) == 0) continue;
    text += m.name;
    text += u'+';
  }
  AppendKey(text, HotkeyKey(hotkey));
  return text;
}

uint16_t HotkeyToControl(int32_t hotkey) {
  if (hotkey == 0) return 0;
  uint32_t modifiers = HotkeyModifiers(hotkey);
  uint16_t flags = 0;
  if ((modifiers & kHotkeyShift) != 0) flags |= kControlShift;
  if ((modifiers & kHotkeyCtrl) != 0) flags |= kControlCtrl;
  if ((modifiers & kHotkeyAlt) != 0) flags |= kControlAlt;
  const KeyName* name = FindKeyName(HotkeyKey(hotkey));
  if (name != nullptr && name->extended) flags |= kControlExtended;
  return static_cast<uint16_t>((flags << 8) | HotkeyKey(hotkey));
}

int32_t HotkeyFromControl(uint16_t word, int32_t previous) {
  uint32_t key = word & 0xFFu;
  uint32_t flags = (word >> 8) & 0xFFu;
  uint32_t modifiers = 0;
  if ((flags & kControlShift) != 0) modifiers |= kHotkeyShift;
  if ((flags & kControlCtrl) != 0) modifiers |= kHotkeyCtrl;
  if ((flags & kControlAlt) != 0) modifiers |= kHotkeyAlt;
  int32_t hotkey = MakeHotkey(modifiers, key);
  if (previous != 0 && hotkey == MakeHotkey(HotkeyModifiers(previous) & ~kHotkeyWin, HotkeyKey(previous))) {
    return previous;
  }
  return IsUsableHotkey(hotkey) ? hotkey : 0;
}

}  // namespace qm
