// Holds the program's own INI reader to the platform's private-profile
// functions: the same files, in every encoding the platform recognises, are
// read through GetPrivateProfileStringW/IntW and through ReadIniFileText +
// IniDocument, for many section and key names.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "base/Win32Glue.h"
#include "entries/IniFile_win.h"
#include "entries/IniText.h"

namespace qm {
namespace {

using test::ScratchDirectory;

enum class FileForm { Utf16LE, Utf8, Ansi, Utf16BE };
const FileForm AllForms[] = {FileForm::Utf16LE, FileForm::Utf8, FileForm::Ansi, FileForm::Utf16BE};
const char* FormName(FileForm form) {
  switch (form) {
    case FileForm::Utf16LE: return "UTF-16LE";
    case FileForm::Utf8: return "UTF-8";
    case FileForm::Ansi: return "ANSI";
    case FileForm::Utf16BE: return "UTF-16BE";
  }
  return "?";
}

std::string Narrow(UINT codePage, const std::u16string& text) {
  if (text.empty()) return std::string();
  int size = WideCharToMultiByte(codePage, 0, AsWide(text.c_str()), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, AsWide(text.c_str()), static_cast<int>(text.size()), &bytes[0], size, nullptr,
                      nullptr);
  return bytes;
}

std::string Encode(FileForm form, const std::u16string& text) {
  switch (form) {
    case FileForm::Utf16LE: return test::AsString(EncodeUtf16LeWithBom(text));
    case FileForm::Utf8: return "\xEF\xBB\xBF" + Narrow(CP_UTF8, text);
    case FileForm::Ansi: return Narrow(CP_ACP, text);
    case FileForm::Utf16BE: {
      std::string bytes = test::AsString(EncodeUtf16LeWithBom(text));
      for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
      return bytes;
    }
  }
  return std::string();
}

// Wine loses the last unit of a quoted value whose inner text exactly fills
// the caller's buffer ("\"" + 255 units + "\"" read into 256 units gives
// 254). The platform's documented rule - quotes are removed, then the text
// is cut to the buffer - keeps all 255, and the program's reader follows
// that rule. True when `platform` is Wine's form of `ours`.
bool IsWineQuoteCut(const IniDocument& doc, const wchar_t* section, const wchar_t* key, size_t capacity,
                    const std::u16string& ours, const std::u16string& platform) {
  U16View raw;
  if (!doc.FindValue(AsU16(section), AsU16(key), &raw)) return false;
  const bool quoted = raw.size() >= 2 && (raw[0] == u'"' || raw[0] == u'\'') && raw.back() == raw[0];
  return quoted && raw.size() == capacity + 1 && ours.size() == capacity - 1 &&
         platform == ours.substr(0, capacity - 2);
}

int Compared = 0;
int FoundByPlatform = 0;  // pairs where the platform found a value

// Compares every section/key pair of the two name lists on one file.
void ExpectSameReadings(const std::wstring& path, const std::vector<const wchar_t*>& sections,
                        const std::vector<const wchar_t*>& keys, const std::string& label) {
  IniDocument doc(ReadIniFileText(AsU16View(path.c_str(), path.size())));
  for (const wchar_t* section : sections) {
    for (const wchar_t* key : keys) {
      wchar_t platform[kTextCapacity];
      DWORD length = GetPrivateProfileStringW(section, key, L"<def>", platform, kTextCapacity, path.c_str());
      const std::u16string platformText(AsU16(platform), length);
      if (platformText != u"<def>") ++FoundByPlatform;
      char16_t ours[kTextCapacity];
      const std::u16string ourText(ours, doc.ReadString(AsU16(section), AsU16(key), u"<def>", ours, kTextCapacity));
      if (ourText != platformText) {
        EXPECT_TRUE(IsWineQuoteCut(doc, section, key, kTextCapacity, ourText, platformText))
            << label << " [" << testing::PrintToString(std::wstring(section)) << "] "
            << testing::PrintToString(std::wstring(key)) << " platform " << testing::PrintToString(std::wstring(platform))
            << " ours " << testing::PrintToString(std::wstring(AsWide(ourText.c_str())));
      }

      const int32_t platformInt = static_cast<int32_t>(GetPrivateProfileIntW(section, key, 777, path.c_str()));
      const int32_t ourInt = doc.ReadInt(AsU16(section), AsU16(key), 777);
      if (ourInt != platformInt) {
        // Same Wine cut, inside GetPrivateProfileIntW's 30-unit buffer.
        char16_t text[30];
        const std::u16string ourShort(text, doc.ReadString(AsU16(section), AsU16(key), u"", text, 30));
        const bool wineCut = ourShort.size() == 29 && IniParseInt(ourShort.substr(0, 28), 777) == platformInt;
        EXPECT_TRUE(wineCut) << label << " [" << testing::PrintToString(std::wstring(section)) << "] "
                             << testing::PrintToString(std::wstring(key)) << " platform " << platformInt << " ours "
                             << ourInt;
      }
      ++Compared;
    }
  }
}

// '~' stands for U+0000, which a literal cannot carry through a
// terminated string.
std::u16string WithNul(std::u16string text) {
  for (char16_t& c : text) {
    if (c == u'~') c = u'\0';
  }
  return text;
}

struct HandCase {
  const char* what;
  std::u16string text;
  std::vector<const wchar_t*> sections;  // besides "", "S" and "s"
};

const std::vector<HandCase>& HandCases() {
  static const std::u16string long300(300, u'a');
  static const std::u16string inner255(255, u'q');
  static const std::vector<HandCase> cases = {
      {"spacing", u"  [ S ]  \r\n \t Sp ace \t=  v a l  \r\n\x1a\x0b k\x0c=\x1a 5\x1a\r\nb = 2 \r\n", {L" S "}},
      {"quotes",
       u"[S]\r\na=\"x\"\r\nb='x'\r\nc=\"x'\r\nd=\"\r\ne=\"\"\r\nf=''\r\ng= \"  x y \" \r\nh=\"x\" z\r\n"
       u"i=\"x\"\"\r\nj='\"x\"'\r\nk=\"\"\"\r\nn=\"-5\"\r\n",
       {}},
      {"duplicates",
       u"[S]\r\nK=1\r\nk=2\r\nItem\r\nItem=5\r\na=1\r\n[T]\r\nt=1\r\n[s]\r\na=2\r\nb=3\r\n[S]\r\nc=4\r\n",
       {L"T"}},
      {"comments and junk",
       u"; a comment\r\n# another\r\ntop=4\r\n[S]\r\n;a=3\r\na=1 ;tail\r\njunk line\r\n= e\r\nx==y\r\n"
       u"[B] junk\r\nb=2\r\n[D]]\r\nd=4\r\n[X]=5\r\nx=1\r\n[C=5\r\nc=3\r\n[]\r\ng=7\r\n",
       {L"B", L"D", L"D]", L"X"}},
      {"missing sections", u"[Other]\r\na=1\r\n", {L"Other", L"missing"}},
      {"line ends", u"[S]\ra=1\rb=2\nc=3\n\n\r\rd=4", {}},
      {"long values", u"[S]\r\na=" + long300 + u"\r\nb=\"" + inner255 + u"\"\r\nc=\"" + inner255 + u"Z\"\r\nd=\"" +
                          inner255.substr(1) + u"\"\r\n",
       {}},
      {"integers",
       u"[S]\r\na= -100\r\nb=+5\r\nc=12abc\r\nd=0x10\r\ne=99999999999\r\nf=\r\ng=abc\r\nh=0X10\r\ni=0b101\r\n"
       u"j=0o17\r\nk=- 5\r\nl=--5\r\nm=4294967295\r\nn=2147483648\r\no=-2147483649\r\n"
       u"p=000000000000000000000000000000000123\r\nq=1 2\r\nr=0x\r\ns=-0x10\r\nt=+-3\r\nu=12.5\r\nv='7'\r\n"
       u"w=\uff11\r\nx=\"0000000000000000000000000012\"\r\ny=\"00000000000000000000000000012\"\r\n",
       {}},
      {"non-ASCII", u"[\u00c4]\r\n\u00e9=1\r\nK=\u4e2d\U0001F600\r\n[\u4e2d]\r\n\u3000k\u3000=\u3000v\u3000\r\n",
       {L"\u00c4", L"\u00e4", L"\u4e2d"}},
      {"NUL", WithNul(u"[S]\r\na~b=1\r\nc=x~y\r\nd=\"x~\"\r\ne= ~x\r\nk~x=5\r\n[N~]]\r\nn=1\r\n[R ~x]\r\nr=1\r\n"), {L"N", L"R", L"R "}},
  };
  return cases;
}

const std::vector<const wchar_t*> KeyNames = {
    L"a", L"A", L"b", L"c", L"d", L"e", L"f", L"g", L"h", L"i", L"j", L"k", L"K", L"l", L"m", L"n", L"o", L"p",
    L"q", L"r", L"s", L"t", L"u", L"v", L"w", L"x", L"y", L"Item", L"Sp ace", L"top", L";a", L"[C", L"", L"junk line",
    L"\u00e9", L"\u00c9", L"\u3000k\u3000", L"none"};

TEST(ProfileDifferential, HandWrittenFilesInEveryEncoding) {
  ScratchDirectory dir;
  int file = 0;
  for (const HandCase& c : HandCases()) {
    for (FileForm form : AllForms) {
      // A new name per file: the platform caches parsed files by name.
      const std::wstring path = dir.File(L"hand" + std::to_wstring(++file) + L".ini");
      ASSERT_TRUE(test::WriteBytes(path, Encode(form, c.text)));
      std::vector<const wchar_t*> sections = {L"", L"S", L"s"};
      sections.insert(sections.end(), c.sections.begin(), c.sections.end());
      ExpectSameReadings(path, sections, KeyNames, std::string(c.what) + " " + FormName(form));
    }
  }
  // Guards against agreeing only because neither side read anything.
  EXPECT_GT(FoundByPlatform, 300);
}

TEST(ProfileDifferential, ByteLevelOddities) {
  ScratchDirectory dir;
  const std::pair<const char*, std::string> files[] = {
      {"empty", ""},
      {"mark only", std::string("\xFF\xFE", 2)},
      {"UTF-16 without mark", std::string("[\0S\0]\0\r\0\n\0a\0=\0" "1\0", 16)},
      {"invalid UTF-8", "\xEF\xBB\xBF[S]\r\na=\xff\xfe\xC3\r\nb=\xC3\xA9\r\n"},
      {"UTF-8 without mark", "[S]\r\na=\xC3\xA9\xE4\xB8\xAD\r\n"},
      {"ANSI high bytes", "[S]\r\na=\xe9\x80\x81\xff\r\n[\xc4]\r\nk=1\r\n"},
      {"UTF-8 mark then UTF-16 mark", "\xEF\xBB\xBF\xFF\xFE[S]\r\na=1\r\n"},
  };
  int file = 0;
  for (const auto& [what, bytes] : files) {
    const std::wstring path = dir.File(L"bytes" + std::to_wstring(++file) + L".ini");
    ASSERT_TRUE(test::WriteBytes(path, bytes));
    ExpectSameReadings(path, {L"", L"S", L"\u00c4", L"\u00e4"}, {L"a", L"b", L"k", L"S"}, what);
  }
  ExpectSameReadings(dir.File(L"does-not-exist.ini"), {L"S"}, {L"a"}, "missing file");
}

TEST(ProfileDifferential, RandomFilesInEveryEncoding) {
  static const char16_t* const pieces[] = {
      u"[", u"]", u"=", u" ", u"\t", u"\r", u"\n", u"\r\n", u"\r\n", u"\r\n", u"\r\n", u"\"", u"'", u"\x1a",
      u"\u3000", u";", u"a", u"A", u"b", u"S", u"s", u"Item", u"-", u"+", u"0x", u"1", u"9", u"\u00e9",
      u"\U0001F600", u"[S]", u"[s]\r\n", u"a=", u"Item=", u"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"};
  const std::vector<const wchar_t*> names = {L"", L"a", L"A", L"b", L"S", L"s", L"Item", L"x", L"S]", L"[S", L"1"};
  ScratchDirectory dir;
  std::mt19937 random(424242);
  std::uniform_int_distribution<size_t> pieceOf(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> lengthOf(0, 60);
  int file = 0;
  for (int round = 0; round < 40; ++round) {
    std::u16string text;
    for (int n = lengthOf(random); n > 0; --n) text += pieces[pieceOf(random)];
    for (FileForm form : AllForms) {
      const std::wstring path = dir.File(L"random" + std::to_wstring(++file) + L".ini");
      ASSERT_TRUE(test::WriteBytes(path, Encode(form, text)));
      ExpectSameReadings(path, names, names, "round " + std::to_string(round) + " " + FormName(form));
    }
  }
  RecordProperty("pairs_compared", Compared);
}

}  // namespace
}  // namespace qm
