// Which folder holds Config.ini and Entry.ini.
#pragma once

#include "base/U16.h"

namespace qm {

// Whether directory is one of the Windows system folders given (System32, or
// SysWOW64 for a 32-bit program; an empty name matches nothing). A program
// started from the Run key or the Startup folder with no working folder of
// its own gets the system folder as its current directory; its files are
// not there. Paths compare without regard to ASCII case and to one trailing
// backslash, as the file system names them.
bool IsSystemFolder(U16View directory, U16View system, U16View systemWow64);

// The folder part of a file's full path, without the trailing backslash
// unless it is a drive root ("C:\"); empty when the path has no folder.
U16View FolderOfPath(U16View path);

}  // namespace qm
