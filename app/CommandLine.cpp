#include "app/CommandLine.h"

namespace qm {

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

// Whether arg is the switch name, given in lower case, after / or -.
bool IsSwitch(U16View arg, U16View name) {
  if (arg.size() != name.size() + 1 || (arg[0] != u'/' && arg[0] != u'-')) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (Lower(arg[i + 1]) != name[i]) return false;
  }
  return true;
}

// A preset number: decimal digits only, 1 up to a bound no table reaches.
bool ParsePresetNumber(U16View text, int32_t& out) {
  constexpr int32_t kLargest = 1000000;
  if (text.empty()) return false;
  int32_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    value = value * 10 + (c - u'0');
    if (value > kLargest) return false;
  }
  out = value;
  return value >= 1;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  c = Lower(c);
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// A handle: at most 16 hexadecimal digits, not 0.
bool ParseHandle(U16View text, uint64_t& out) {
  if (text.size() > 2 && text[0] == u'0' && Lower(text[1]) == u'x') text.remove_prefix(2);
  if (text.empty() || text.size() > 16) return false;
  uint64_t value = 0;
  for (char16_t c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    value = (value << 4) | static_cast<uint64_t>(digit);
  }
  out = value;
  return value != 0;
}

Command ParsePreset(const U16View* args, int count) {
  Command usage{CommandKind::Usage, 0, 0};
  Command command{CommandKind::Preset, 0, 0};
  if (count < 2 || !ParsePresetNumber(args[1], command.preset)) return usage;
  if (count == 2) return command;
  if (count == 4 && IsSwitch(args[2], u"window") && ParseHandle(args[3], command.window)) return command;
  return usage;
}

}  // namespace

Command ParseCommand(const U16View* args, int count) {
  if (count == 0) return {CommandKind::None, 0, 0};
  if (IsSwitch(args[0], u"preset")) return ParsePreset(args, count);
  CommandKind kind = CommandKind::Usage;
  if (IsSwitch(args[0], u"apply")) kind = CommandKind::Apply;
  if (IsSwitch(args[0], u"list")) kind = CommandKind::List;
  if (IsSwitch(args[0], u"exit")) kind = CommandKind::Exit;
  if (count != 1) kind = CommandKind::Usage;
  return {kind, 0, 0};
}

size_t HandleText(uint64_t handle, char16_t* out) {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  size_t length = 0;
  for (int shift = 60; shift >= 0; shift -= 4) {
    const auto digit = static_cast<unsigned>((handle >> shift) & 0xF);
    if (digit != 0 || length > 0 || shift < 32) out[length++] = kDigits[digit];
  }
  out[length] = u'\0';
  return length;
}

size_t ListLine(const U16View (&fields)[kListFields], char16_t* out) {
  size_t length = 0;
  for (int i = 0; i < kListFields; ++i) {
    if (i > 0) out[length++] = u'\t';
    const size_t units = fields[i].size() < kTextCapacity - 1 ? fields[i].size() : kTextCapacity - 1;
    for (size_t k = 0; k < units; ++k) {
      const char16_t c = fields[i][k];
      out[length++] = c == u'\t' || c == u'\r' || c == u'\n' ? u' ' : c;
    }
  }
  out[length++] = u'\r';
  out[length++] = u'\n';
  return length;
}

}  // namespace qm
