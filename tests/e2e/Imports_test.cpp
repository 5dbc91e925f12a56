// The shipped binaries must run on a bare Windows: they may import system
// DLLs and, for the program, its own hook library, and nothing else (no
// MinGW runtime DLLs such as libstdc++-6.dll or libwinpthread-1.dll).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace e2e {
namespace {

// Names of the DLLs in a PE file's import directory, read from the file.
std::vector<std::string> ImportedDlls(const std::wstring& path) {
  std::string image = ReadBytes(path);
  std::vector<std::string> names;
  if (image.size() < sizeof(IMAGE_DOS_HEADER)) return names;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(image.data() + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
  auto toOffset = [&](DWORD rva) -> size_t {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const IMAGE_SECTION_HEADER& s = sections[i];
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize) {
        return rva - s.VirtualAddress + s.PointerToRawData;
      }
    }
    return 0;
  };
  size_t offset = toOffset(dir.VirtualAddress);
  for (;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto* desc = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + offset);
    if (desc->Name == 0) break;
    std::string name = image.data() + toOffset(desc->Name);
    std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(tolower(c)); });
    names.push_back(name);
  }
  return names;
}

TEST(Imports, BinariesImportOnlySystemDllsAndTheHookLibrary) {
  const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll",
                                        "shell32.dll", "shlwapi.dll", "msvcrt.dll", "advapi32.dll",
                                        "dwmapi.dll", "wtsapi32.dll"};
  const std::set<std::string> delayed = {"comctl32.dll", "dwmapi.dll", "wtsapi32.dll"};
  struct Case { const wchar_t* file; bool mayImportHook; };
  for (const Case& c : {Case{L"Quillmere.exe", true}, Case{L"Quillmere.dll", false}}) {
    SCOPED_TRACE(std::string(c.file, c.file + wcslen(c.file)));
    std::vector<std::string> dlls = ImportedDlls(ExeDir() + L"\\" + c.file);
    ASSERT_FALSE(dlls.empty());
    bool importsHook = false;
    for (const std::string& dll : dlls) {
      if (dll == "quillmere.dll") {
        importsHook = true;
        EXPECT_TRUE(c.mayImportHook);
        continue;
      }
      EXPECT_TRUE(system.count(dll) == 1) << "unexpected import " << dll;
      // Imported with a delay, so they load at their first call instead of
      // at every start: the common controls at the window's first show, the
      // window manager's and the session library when first asked.
      EXPECT_TRUE(delayed.count(dll) == 0) << dll << " is imported at start";
    }
    // The program loads the hook library through its import table.
    EXPECT_EQ(importsHook, c.mayImportHook);
  }
}

}  // namespace
}  // namespace e2e
