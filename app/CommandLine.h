// The commands Quillmere.exe takes on its command line, and the text they
// print: decisions over plain text, so that they are tested anywhere.
#pragma once

#include <cstdint>
#include "base/U16.h"

namespace qm {

enum class CommandKind : uint32_t { None, Apply, List, Preset, Exit, Usage };

struct Command {
  CommandKind kind;
  int32_t preset;   // /preset N: N, counted from 1
  uint64_t window;  // /window HANDLE: the handle; 0 for the foreground window
};

// Exit codes of a command.
constexpr int kExitDone = 0;
constexpr int kExitNothing = 1;  // no such preset or window, no running copy, nothing matched
constexpr int kExitUsage = 2;

constexpr char16_t kUsageLine[] = u"usage: Quillmere /apply | /list | /preset N [/window HANDLE] | /exit\r\n";

// The arguments after the program's name. None: start as the program (no
// command). Names are case-insensitive and begin with / or -; N is a decimal
// from 1, HANDLE hexadecimal with or without 0x. Anything else, a missing or
// an extra argument: Usage.
Command ParseCommand(const U16View* args, int count);

// A window handle as /list prints it and /window reads it: eight or more
// hexadecimal digits, into out[kHandleTextCapacity]; returns the length.
constexpr size_t kHandleTextCapacity = 17;
size_t HandleText(uint64_t handle, char16_t* out);

// One line of /list, ended by CR LF: the fields joined by tabs, each cut to
// 255 code units. A tab or a line break inside a field (a title may hold
// either) becomes a space, so that every window stays one line of six
// fields. Into out[kListLineCapacity]; returns the length (no terminator).
constexpr int kListFields = 6;
constexpr size_t kListLineCapacity = kListFields * kTextCapacity + 2;
size_t ListLine(const U16View (&fields)[kListFields], char16_t* out);

}  // namespace qm
