// The program a window belongs to, as rules name it: the file name of its
// executable ("notepad.exe"), compared the way the file system compares
// names, without regard to case.
#pragma once

#include "base/U16.h"

namespace qm {

// The file name part of an executable's full path: what follows the last
// backslash or slash ("C:\Windows\notepad.exe" -> "notepad.exe").
U16View ProgramFileName(U16View imagePath);

// Whether two program names are the same file name: equal after upper-casing
// ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and full-width Latin
// letters, the letters whose case the file system folds. An empty name is
// the same as no other name, not even another empty one.
bool SameProgramName(U16View a, U16View b);

// The process that frames every Store app's window: its windows are
// reported by the app's own executable, which owns a child window of the
// frame.
constexpr char16_t kStoreAppHostName[] = u"ApplicationFrameHost.exe";
inline bool IsStoreAppHost(U16View program) { return SameProgramName(program, kStoreAppHostName); }

}  // namespace qm
