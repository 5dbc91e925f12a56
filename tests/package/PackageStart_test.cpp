// The program as a user gets it: unpacked from the release zip into a folder
// whose name has a space and non-ASCII letters, it starts, reads and writes
// its files there, and exits cleanly. check_package.py unpacks the zip into
// the folder named below under %QM_PACKAGE_DIR% before this runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/E2eSupport.h"
#include "version.h"

namespace e2e {
namespace {

// "Programme – テスト", kept in step with check_package.py.
const wchar_t kFolder[] = L"Programme \u2013 \u30C6\u30B9\u30C8";

std::wstring PackageFolder() {
  wchar_t parent[MAX_PATH] = {};
  GetEnvironmentVariableW(L"QM_PACKAGE_DIR", parent, MAX_PATH);
  std::wstring dir = std::wstring(parent) + L"\\" + kFolder;
  for (wchar_t& c : dir) c = c == L'/' ? L'\\' : c;
  return dir;
}

std::wstring VersionString(const std::wstring& file, const wchar_t* name) {
  DWORD ignored = 0;
  std::string data(GetFileVersionInfoSizeW(file.c_str(), &ignored), '\0');
  if (data.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), &data[0])) return L"";
  struct Translation { WORD language, codePage; }* translation = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size) ||
      size < sizeof(Translation)) {
    return L"";
  }
  wchar_t path[64];
  swprintf(path, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage, name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(data.data(), path, reinterpret_cast<void**>(&value), &size)) return L"";
  return value;
}

TEST(Package, StartsReadsWritesAndExitsInAFolderWithSpaceAndNonAsciiName) {
  const std::wstring dir = PackageFolder();
  const std::wstring exe = dir + L"\\Quillmere.exe";
  ASSERT_TRUE(FileExists(exe)) << "run through ctest: check_package.py unpacks the zip first";
  // What README.txt tells a user to do to start with the example rules.
  ASSERT_TRUE(CopyFileW((dir + L"\\example\\Entry.ini").c_str(), (dir + L"\\Entry.ini").c_str(), FALSE));

  App app(dir, exe);
  ASSERT_TRUE(app.Start());
  wchar_t image[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  ASSERT_TRUE(QueryFullProcessImageNameW(app.process().handle(), 0, image, &length));
  EXPECT_EQ(lstrcmpiW(image, exe.c_str()), 0) << "the unpacked program, not the build's";
  EXPECT_EQ(app.Close(), 0);

  // The example was read and both files written back in that folder.
  EXPECT_EQ(IniInt(app.EntryPath(), L"Window", L"Item"), 1);
  EXPECT_EQ(IniString(app.EntryPath(), L"Window", L"Class1"), L"Notepad");
  EXPECT_EQ(IniInt(app.EntryPath(), L"Menu", L"Item"), 3);
  EXPECT_EQ(IniInt(app.ConfigPath(), L"Config", L"List"), 1);
}

TEST(Package, VersionResourceNamesTheVersionAndTheLicence) {
  const std::wstring exe = PackageFolder() + L"\\Quillmere.exe";
  const std::string version = QM_VERSION_STRING;
  EXPECT_EQ(VersionString(exe, L"ProductVersion"), std::wstring(version.begin(), version.end()));
  EXPECT_NE(VersionString(exe, L"LegalCopyright").find(L"MIT License"), std::wstring::npos);
}

}  // namespace
}  // namespace e2e
