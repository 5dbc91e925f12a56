#include "entries/IniFile_win.h"

#include <climits>

#include "base/Win32Glue.h"
#include "entries/EntryFiles.h"
#include "entries/IniText.h"

namespace qm {

namespace {

// The program's files are at most a few megabytes; a bigger file is not
// one of them and is not read.
constexpr LONGLONG kMaxFileSize = 64LL << 20;

// A terminated name the file functions accept at any length.
std::u16string ApiPath(U16View fileName) { return ExtendedLengthPath(fileName); }

IniFileState ReadWholeFile(U16View fileName, IniBytes& bytes) {
  std::u16string path = ApiPath(fileName);
  HANDLE file = CreateFileW(AsWide(path.c_str()), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? IniFileState::Missing
                                                                          : IniFileState::Unreadable;
  }
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxFileSize;
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
      DWORD read = 0;
      if (!ReadFile(file, &bytes[done], static_cast<DWORD>(bytes.size() - done), &read, nullptr) || read == 0) break;
      done += read;
    }
    ok = done == bytes.size();
    bytes.resize(done);
  }
  CloseHandle(file);
  return ok ? IniFileState::Read : IniFileState::Unreadable;
}

std::u16string DecodeCodePage(UINT codePage, const char* bytes, size_t size) {
  if (size == 0) return std::u16string();
  const int length = static_cast<int>(size);
  int units = MultiByteToWideChar(codePage, 0, bytes, length, nullptr, 0);
  std::u16string text(static_cast<size_t>(units > 0 ? units : 0), u'\0');
  if (units > 0) MultiByteToWideChar(codePage, 0, bytes, length, AsWide(&text[0]), units);
  return text;
}

}  // namespace

std::u16string DecodeIniBytes(const IniBytes& bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  DetectedEncoding detected = DetectIniEncoding(data, bytes.size());
  const size_t size = bytes.size() - detected.bomLength;
  switch (detected.encoding) {
    case IniEncoding::Utf16LE: return DecodeUtf16Bytes(data + detected.bomLength, size, false);
    case IniEncoding::Utf16BE: return DecodeUtf16Bytes(data + detected.bomLength, size, true);
    case IniEncoding::Utf8: return DecodeCodePage(CP_UTF8, bytes.data() + detected.bomLength, size);
    case IniEncoding::Ansi: break;
  }
  return DecodeCodePage(CP_ACP, bytes.data(), bytes.size());
}

IniFileState ReadIniFile(U16View fileName, std::u16string& text) {
  IniBytes bytes;
  text.clear();
  const IniFileState state = ReadWholeFile(fileName, bytes);
  if (state == IniFileState::Read) text = DecodeIniBytes(bytes);
  return state;
}

std::u16string ReadIniFileText(U16View fileName) {
  std::u16string text;
  ReadIniFile(fileName, text);
  return text;
}

bool WriteWholeFile(U16View fileName, const IniBytes& bytes) {
  std::u16string path = ApiPath(fileName);
  HANDLE file = CreateFileW(AsWide(path.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(bytes.size() - done < (1u << 30) ? bytes.size() - done : (1u << 30));
    ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written != 0;
    done += written;
  }
  // The rename that follows must never publish a file whose data is still
  // only in the cache: a crash then would leave an empty Entry.ini.
  ok = ok && FlushFileBuffers(file);
  ok = CloseHandle(file) && ok;
  if (!ok) DeleteFileW(AsWide(path.c_str()));
  return ok;
}

// A virus scanner, a sync client or an editor that holds the file open for a
// moment makes the replace fail with one of these; it is worth trying again.
bool MayClearSoon(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool ReplaceFileWith(U16View source, U16View target) {
  // MoveFileExW, unlike ReplaceFileW, also works when the target does not
  // exist yet (first save in a new directory).
  std::u16string from = ApiPath(source);
  std::u16string to = ApiPath(target);
  // Waits between tries, growing, about a second in all: long enough for a
  // scanner to let go, short enough that the user sees the failure soon.
  constexpr DWORD kRetryWaitsMs[] = {10, 20, 40, 80, 150, 250, 450};
  for (size_t attempt = 0;; ++attempt) {
    if (MoveFileExW(AsWide(from.c_str()), AsWide(to.c_str()), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    if (attempt == ARRAYSIZE(kRetryWaitsMs) || !MayClearSoon(GetLastError())) return false;
    Sleep(kRetryWaitsMs[attempt]);
  }
}

void RemoveFile(U16View fileName) {
  std::u16string path = ApiPath(fileName);
  DeleteFileW(AsWide(path.c_str()));
}

}  // namespace qm
