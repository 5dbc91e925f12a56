#include "entries/IniText.h"

#include <gtest/gtest.h>

#include <ctime>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace qm {
namespace {

// Reads like GetPrivateProfileStringW with a 256-unit buffer and a default
// that cannot occur in the files below.
std::u16string Read(const IniDocument& doc, U16View section, U16View key) {
  char16_t out[kTextCapacity];
  size_t length = doc.ReadString(section, key, u"<def>", out, kTextCapacity);
  return std::u16string(out, length);
}

constexpr int32_t NoInt = 777;

struct LookupCase {
  const char* what;
  std::u16string text;
  const char16_t* section;
  const char16_t* key;
  const char16_t* expected;  // as GetPrivateProfileStringW returned it
  int32_t expectedInt;       // as GetPrivateProfileIntW returned it with default 777
};

// Every expectation here was first observed through the platform's own
// functions on files of exactly this text.
const std::vector<LookupCase>& LookupCases() {
  static const std::vector<LookupCase> cases = {
      {"plain", u"[S]\r\na=1\r\n", u"S", u"a", u"1", 1},
      {"section and key ignore ASCII case", u"[s]\r\nKEY=2\r\n", u"S", u"key", u"2", 2},
      {"non-ASCII letters do not fold", u"[\u00c4]\r\nk=1\r\n", u"\u00e4", u"k", u"<def>", NoInt},
      {"non-ASCII key does not fold", u"[S]\r\n\u00e9=1\r\n", u"S", u"\u00c9", u"<def>", NoInt},
      {"blanks around names and values", u"  [ S ]  \r\n \t Sp ace \t=  v a l  \r\n", u"S", u"Sp ace", u"v a l", 0},
      {"ctrl-z, VT and FF are blanks", u"[S]\r\n\x1a\x0b k\x0c=\x1a 5\x1a\r\n", u"S", u"k", u"5", 5},
      {"ideographic space is no blank", u"[S]\r\n\u3000k=1\r\n", u"S", u"k", u"<def>", NoInt},
      {"value keeps inner ideographic space", u"[S]\r\nk=\u3000x\u3000\r\n", u"S", u"k", u"\u3000x\u3000", 0},
      {"first key wins", u"[S]\r\nK=1\r\nk=2\r\n", u"S", u"k", u"1", 1},
      {"valueless first key hides a later value", u"[S]\r\nItem\r\nItem=5\r\n", u"S", u"Item", u"<def>", NoInt},
      {"repeated section is never read", u"[S]\r\na=1\r\n[T]\r\n[s]\r\nb=3\r\n", u"S", u"b", u"<def>", NoInt},
      {"repeated section does not override", u"[S]\r\na=1\r\n[S]\r\na=2\r\n", u"S", u"a", u"1", 1},
      {"keys before any section", u"top=4\r\n[S]\r\n", u"", u"top", u"4", 4},
      {"[] repeats the nameless section", u"top=4\r\n[]\r\ng=7\r\n", u"", u"g", u"<def>", NoInt},
      {"junk after the bracket", u"[B] junk\r\nb=2\r\n", u"B", u"b", u"2", 2},
      {"last bracket closes", u"[D]]\r\nd=4\r\n", u"D]", u"d", u"4", 4},
      {"header with equals sign", u"[X]=5\r\nx=1\r\n", u"X", u"x", u"1", 1},
      {"unclosed bracket is a key", u"[S]\r\n[C=5\r\n", u"S", u"[C", u"5", 5},
      {"unclosed bracket keeps the section", u"[S]\r\n[C\r\nc=3\r\n", u"S", u"c", u"3", 3},
      {"comment lines are keys", u"[S]\r\n;c=3\r\n", u"S", u";c", u"3", 3},
      {"comment is not stripped from a value", u"[S]\r\nk=1 ;note\r\n", u"S", u"k", u"1 ;note", 1},
      {"empty key name", u"[S]\r\n= e\r\n", u"S", u"", u"e", 0},
      {"first equals splits", u"[S]\r\nx==y\r\n", u"S", u"x", u"=y", 0},
      {"lone CR ends a line", u"[S]\ra=1\rb=2", u"S", u"b", u"2", 2},
      {"lone LF ends a line", u"[S]\nb=2\n", u"S", u"b", u"2", 2},
      {"missing key", u"[S]\r\na=1\r\n", u"S", u"z", u"<def>", NoInt},
      {"missing section", u"[S]\r\na=1\r\n", u"T", u"a", u"<def>", NoInt},
      {"empty value", u"[S]\r\nf=\r\n", u"S", u"f", u"", NoInt},
      {"double quotes", u"[S]\r\na=\"x\"\r\n", u"S", u"a", u"x", 0},
      {"single quotes", u"[S]\r\na='x'\r\n", u"S", u"a", u"x", 0},
      {"mixed quotes stay", u"[S]\r\na=\"x'\r\n", u"S", u"a", u"\"x'", 0},
      {"lone quote stays", u"[S]\r\na=\"\r\n", u"S", u"a", u"\"", 0},
      {"empty quotes", u"[S]\r\na=\"\"\r\n", u"S", u"a", u"", NoInt},
      {"quotes keep inner blanks", u"[S]\r\ng= \"  x y \" \r\n", u"S", u"g", u"  x y ", 0},
      {"text after closing quote", u"[S]\r\nh=\"x\" z\r\n", u"S", u"h", u"\"x\" z", 0},
      {"one pair only", u"[S]\r\nj='\"x\"'\r\n", u"S", u"j", u"\"x\"", 0},
      {"typographic quotes stay", u"[S]\r\nm=\u201cx\u201c\r\n", u"S", u"m", u"\u201cx\u201c", 0},
      {"NUL ends a value", std::u16string(u"[S]\r\nc=x\0y\r\n", 12), u"S", u"c", u"x", 0},
      {"NUL ends a key name", std::u16string(u"[S]\r\na\0b=1\r\n", 12), u"S", u"a", u"1", 1},
      {"NUL after blank keeps the blank", std::u16string(u"[S]\r\na \0 b = 1\r\n", 16), u"S", u"a", u"<def>", NoInt},
      {"NUL in a section name", std::u16string(u"[N\0]]\r\nn=1\r\n", 12), u"N", u"n", u"1", 1},
      {"NUL before a quote", std::u16string(u"[S]\r\nd=\"x\0\"\r\n", 13), u"S", u"d", u"\"x", 0},
      {"int: sign and leading blank", u"[S]\r\na= -100\r\n", u"S", u"a", u"-100", -100},
      {"int: plus", u"[S]\r\nb=+5\r\n", u"S", u"b", u"+5", 5},
      {"int: trailing junk", u"[S]\r\nc=12abc\r\n", u"S", u"c", u"12abc", 12},
      {"int: hex prefix", u"[S]\r\nd=0x10\r\n", u"S", u"d", u"0x10", 16},
      {"int: upper-case hex prefix is no prefix", u"[S]\r\nh=0X10\r\n", u"S", u"h", u"0X10", 0},
      {"int: binary prefix", u"[S]\r\ni=0b101\r\n", u"S", u"i", u"0b101", 5},
      {"int: octal prefix", u"[S]\r\nj=0o17\r\n", u"S", u"j", u"0o17", 15},
      {"int: negative hex", u"[S]\r\nw=-0x10\r\n", u"S", u"w", u"-0x10", -16},
      {"int: wraps modulo 2^32", u"[S]\r\ne=99999999999\r\n", u"S", u"e", u"99999999999", 1215752191},
      {"int: 2^32-1", u"[S]\r\nm=4294967295\r\n", u"S", u"m", u"4294967295", -1},
      {"int: 2^31", u"[S]\r\nn=2147483648\r\n", u"S", u"n", u"2147483648", INT32_MIN},
      {"int: below INT32_MIN", u"[S]\r\no=-2147483649\r\n", u"S", u"o", u"-2147483649", INT32_MAX},
      {"int: letters", u"[S]\r\ng=abc\r\n", u"S", u"g", u"abc", 0},
      {"int: blank after sign", u"[S]\r\nk=- 5\r\n", u"S", u"k", u"- 5", 0},
      {"int: two signs", u"[S]\r\nl=--5\r\n", u"S", u"l", u"--5", 0},
      {"int: control characters skipped", u"[S]\r\np=\x01\x02" u"7\r\n", u"S", u"p", u"\x01\x02" u"7", 7},
      {"int: only 29 units are read", u"[S]\r\nq=000000000000000000000000000000000123\r\n", u"S", u"q",
       u"000000000000000000000000000000000123", 0},
      {"int: quoted", u"[S]\r\nn=\"-5\"\r\n", u"S", u"n", u"-5", -5},
      {"int: decimal point", u"[S]\r\ny=12.5\r\n", u"S", u"y", u"12.5", 12},
      {"int: fullwidth digit", u"[S]\r\nu=\uff11\r\n", u"S", u"u", u"\uff11", 0},
      {"int: blank value", u"[S]\r\nz=\x1a\r\n", u"S", u"z", u"", NoInt},
  };
  return cases;
}

TEST(IniText, LookupsFollowTheProfileReader) {
  for (const LookupCase& c : LookupCases()) {
    IniDocument doc(c.text);
    EXPECT_EQ(Read(doc, c.section, c.key), std::u16string(c.expected)) << c.what;
    EXPECT_EQ(doc.ReadInt(c.section, c.key, NoInt), c.expectedInt) << c.what;
  }
}

TEST(IniText, ValuesAreCutToTheBuffer) {
  const std::u16string a300(300, u'a');
  const std::u16string inner255(255, u'd');
  IniDocument doc(u"[S]\r\nlong=" + a300 + u"\r\nq255=\"" + inner255 + u"\"\r\nq256=\"" + inner255 + u"Z\"\r\n");
  EXPECT_EQ(Read(doc, u"S", u"long"), a300.substr(0, 255));
  // A quoted inner text of exactly 255 units fits a 256-unit buffer whole.
  // (Wine gives one unit less here; the platform's documented rule does not.)
  EXPECT_EQ(Read(doc, u"S", u"q255"), inner255);
  EXPECT_EQ(Read(doc, u"S", u"q256"), inner255);

  char16_t small[4];
  EXPECT_EQ(doc.ReadString(u"S", u"long", u"", small, 4), 3u);
  EXPECT_EQ(U16ViewOf(small), U16View(u"aaa"));
  EXPECT_EQ(doc.ReadString(u"S", u"none", u"fallback", small, 4), 3u);
  EXPECT_EQ(U16ViewOf(small), U16View(u"fal"));
}

TEST(IniText, QueryNamesAreTrimmed) {
  IniDocument doc(u"[Sec]\r\nkey=v\r\n");
  EXPECT_EQ(Read(doc, u" Sec\t", u"\tkey "), u"v");
}

TEST(IniText, EncodingIsChosenByByteOrderMark) {
  struct Case {
    std::string bytes;
    IniEncoding encoding;
    size_t bom;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF[S]", IniEncoding::Utf8, 3},
      {std::string("\xFF\xFE", 2), IniEncoding::Utf16LE, 2},
      {std::string("\xFE\xFF\0[", 4), IniEncoding::Utf16BE, 2},
      {std::string("[\0S\0", 4), IniEncoding::Ansi, 0},  // UTF-16 without a mark reads as ANSI
      {"\xEF\xBB", IniEncoding::Ansi, 0},
      {"\xFF", IniEncoding::Ansi, 0},
      {"", IniEncoding::Ansi, 0},
  };
  for (const Case& c : cases) {
    DetectedEncoding got = DetectIniEncoding(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size());
    EXPECT_EQ(got.encoding, c.encoding) << c.bytes;
    EXPECT_EQ(got.bomLength, c.bom) << c.bytes;
  }
}

TEST(IniText, Utf16BytesDecodeInBothOrders) {
  const unsigned char le[] = {0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE, 'x'};
  const unsigned char be[] = {0x4E, 0x2D, 0xD8, 0x3D, 0xDE, 0x00, 'x'};
  EXPECT_EQ(DecodeUtf16Bytes(le, 6, false), u"\u4e2d\U0001F600");
  EXPECT_EQ(DecodeUtf16Bytes(be, 6, true), u"\u4e2d\U0001F600");
  // The platform's reader turns a final odd byte into one more unit.
  EXPECT_EQ(DecodeUtf16Bytes(le, 7, false), u"\u4e2d\U0001F600x");
  EXPECT_EQ(DecodeUtf16Bytes(be, 7, true), u"\u4e2d\U0001F600x");
}

TEST(IniText, EncodesUtf16LeWithMark) {
  const char expected[] = "\xFF\xFE" "A\0\x2D\x4E";
  EXPECT_EQ(EncodeUtf16LeWithBom(u"A\u4e2d"), IniBytes(expected, expected + 6));
  IniBytes bytes = EncodeUtf16LeWithBom(u"[S]\r\nk=\U0001F600\r\n");
  IniDocument doc(DecodeUtf16Bytes(reinterpret_cast<const unsigned char*>(bytes.data()) + 2, bytes.size() - 2, false));
  EXPECT_EQ(Read(doc, u"S", u"k"), u"\U0001F600");
}

// A second reader of the same rules built the slow way: for every query it
// walks the lines from the top, finds the first header of the section and
// scans to the next header. The fuzz test holds the indexed reader to it.
struct OracleResult {
  bool found;
  std::u16string value;
};

OracleResult OracleFind(U16View text, U16View section, U16View key) {
  section = IniTrim(section);
  key = IniTrim(key);
  bool inSection = IniNamesEqual(section, u"");  // the nameless section starts the file
  bool sectionSeen = inSection;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find_first_of(u"\r\n", pos);
    if (end == U16View::npos) end = text.size();
    U16View line = IniTrim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty()) continue;
    size_t close = line.rfind(u']');
    if (line[0] == u'[' && close != U16View::npos) {
      if (inSection) return {false, {}};  // the first occurrence ended
      U16View name = IniTrim(line.substr(1, close - 1));
      name = name.substr(0, name.find(u'\0'));
      if (!sectionSeen && IniNamesEqual(name, section)) inSection = sectionSeen = true;
      continue;
    }
    if (!inSection) continue;
    size_t equals = line.find(u'=');
    U16View name = equals == U16View::npos ? line : IniTrim(line.substr(0, equals));
    name = name.substr(0, name.find(u'\0'));
    if (!IniNamesEqual(name, key)) continue;
    if (equals == U16View::npos) return {false, {}};
    U16View value = IniTrim(line.substr(equals + 1));
    return {true, std::u16string(value.substr(0, value.find(u'\0')))};
  }
  return {false, {}};
}

TEST(IniText, RandomTextsAgreeWithTheLineByLineReader) {
  static const char16_t* const pieces[] = {
      u"[", u"]", u"=", u" ", u"\t", u"\r", u"\n", u"\r\n", u"\r\n", u"\r\n", u"\"", u"'", u"\x1a",
      u"\u3000", u";", u"a", u"A", u"b", u"S", u"s", u"Item", u"-", u"+", u"0x", u"0b", u"1", u"9",
      u"\u00e9", u"\U0001F600", u"\xd800", u"x", u"[S]", u"[s]\r\n", u"a=", u"Item="};
  static const char16_t* const names[] = {u"", u"a", u"A", u"b", u"S", u"s", u"Item", u" a", u"x", u"S]",
                                          u"[S", u"a=", u"1", u";"};
  std::mt19937 random(20240611);
  std::uniform_int_distribution<size_t> pieceOf(0, std::size(pieces) - 1);
  std::uniform_int_distribution<size_t> nameOf(0, std::size(names) - 1);
  std::uniform_int_distribution<int> lengthOf(0, 80);
  for (int round = 0; round < 3000; ++round) {
    std::u16string text;
    for (int n = lengthOf(random); n > 0; --n) text += pieces[pieceOf(random)];
    if (round % 7 == 0) text.insert(text.size() / 2, 1, u'\0');
    IniDocument doc(text);
    for (int q = 0; q < 12; ++q) {
      const char16_t* section = names[nameOf(random)];
      const char16_t* key = names[nameOf(random)];
      OracleResult expected = OracleFind(text, section, key);
      U16View value;
      const bool found = doc.FindValue(section, key, &value);
      ASSERT_EQ(found, expected.found) << "round " << round;
      if (found) {
        ASSERT_EQ(std::u16string(value), expected.value) << "round " << round;
      }
      char16_t out[8];
      size_t length = doc.ReadString(section, key, u"", out, 8);
      ASSERT_LE(length, 7u);
      ASSERT_EQ(out[length], u'\0');
    }
  }
}

TEST(IniText, IntReadingAgreesWithStrtoulOnDecimals) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int64_t> valueOf(-(int64_t{1} << 40), int64_t{1} << 40);
  for (int i = 0; i < 2000; ++i) {
    int64_t value = valueOf(random);
    std::string digits = std::to_string(value);
    std::u16string text(digits.begin(), digits.end());
    EXPECT_EQ(IniParseInt(text, 0), static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))))
        << digits;
  }
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

#ifndef _WIN32
std::u16string Number(int value) {
  char16_t text[12];
  return std::u16string(text, U16FormatInt(value, text));
}

// Reading time must grow with the file's size whatever its shape. Each shape
// is read at n and at 4n parts in the same run: a linear reader takes 4 to 6
// times as long (the larger tables miss the caches more), a quadratic one 16
// times and more. The thread's own processor time is measured, best of five,
// so other work on a busy machine does not count. Host only: under Wine the
// thread times tick in 10 ms steps.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

TEST(IniText, ReadingTimeGrowsLinearlyForEveryShape) {
  struct Shape {
    const char* what;
    std::u16string (*make)(int parts);
  };
  const Shape shapes[] = {
      {"one-key sections",
       [](int parts) {
         std::u16string text;
         for (int i = 0; i < parts; ++i) text += u"[S" + Number(i) + u"]\r\nk=v\r\n";
         return text;
       }},
      {"keys of one section",
       [](int parts) {
         std::u16string text = u"[Window]\r\n";
         for (int i = 0; i < parts; ++i) text += u"Title" + Number(i) + u"=x\r\n";
         return text;
       }},
      {"one section name repeated",
       [](int parts) {
         std::u16string text;
         for (int i = 0; i < parts; ++i) text += u"[Window]\r\nItem=" + Number(i) + u"\r\n";
         return text;
       }},
  };
  constexpr int kParts = 4000;
  for (const Shape& shape : shapes) {
    auto bestRead = [&](int parts) {
      const std::u16string text = shape.make(parts);
      double best = 1e9;
      for (int round = 0; round < 5; ++round) {
        const double start = ThreadSeconds();
        IniDocument doc(text);
        const double spent = ThreadSeconds() - start;
        EXPECT_GE(doc.KeyCount(), 1u);
        if (spent < best) best = spent;
      }
      return best;
    };
    const double small = bestRead(kParts);
    const double large = bestRead(4 * kParts);
    EXPECT_LT(large, 10 * small) << shape.what << ": " << small << " s for " << kParts << ", " << large
                                 << " s for " << 4 * kParts;
  }
}
#endif

}  // namespace
}  // namespace qm
