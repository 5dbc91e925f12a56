#include "entries/StoreFolder.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(StoreFolder, OnlyTheSystemFoldersCountAsSystemFolders) {
  struct Case {
    const char16_t* directory;
    bool system;
  };
  const Case cases[] = {
      {u"C:\\Windows\\system32", true},
      {u"C:\\WINDOWS\\System32\\", true},  // case and one trailing backslash do not matter
      {u"c:\\windows\\syswow64", true},
      {u"C:\\Windows", false},
      {u"C:\\Windows\\system32\\drivers", false},
      {u"C:\\Windows\\system3", false},
      {u"D:\\Tools\\Quillmere", false},
      {u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSystemFolder(c.directory, u"C:\\Windows\\system32", u"C:\\Windows\\SysWOW64"), c.system)
        << testing::PrintToString(std::u16string(c.directory));
  }
  // A 64-bit Windows without SysWOW64, or a failed lookup, names nothing.
  EXPECT_FALSE(IsSystemFolder(u"D:\\Tools", u"C:\\Windows\\system32", u""));
  EXPECT_FALSE(IsSystemFolder(u"", u"", u""));
}

TEST(StoreFolder, FolderOfAProgramPath) {
  EXPECT_EQ(FolderOfPath(u"D:\\Tools\\Quillmere\\Quillmere.exe"), u"D:\\Tools\\Quillmere");
  EXPECT_EQ(FolderOfPath(u"C:\\Quillmere.exe"), u"C:\\");
  EXPECT_EQ(FolderOfPath(u"\\\\server\\share\\Quillmere.exe"), u"\\\\server\\share");
  EXPECT_EQ(FolderOfPath(u"Quillmere.exe"), u"");
}

}  // namespace
}  // namespace qm
