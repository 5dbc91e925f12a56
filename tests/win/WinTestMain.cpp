// Runs the Windows unit tests with the shell's instance handle set, so the
// program's resources (strings, menus, dialog templates) load as they do in
// Quillmere.exe.
#include <gtest/gtest.h>

#include "base/Win32Glue.h"

int main(int argc, char** argv) {
  qm::g_instance = GetModuleHandleW(nullptr);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
