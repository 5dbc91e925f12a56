// The program's resources come in Japanese and English: every menu, dialog
// template and string exists in both languages with the same identifiers,
// the menus and dialogs hold the same items and controls, the English texts
// are plain ASCII, and every label fits its control.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/Win32Glue.h"
#include "res/resource.h"

namespace {

constexpr LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::vector<LPCWSTR> Names(LPCWSTR type) {
  std::vector<LPCWSTR> names;
  EnumResourceNamesW(
      qm::g_instance, type,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) -> BOOL {
        reinterpret_cast<std::vector<LPCWSTR>*>(list)->push_back(name);  // all numeric here
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&names));
  return names;
}

std::set<LANGID> Languages(LPCWSTR type, LPCWSTR name) {
  std::set<LANGID> languages;
  EnumResourceLanguagesW(
      qm::g_instance, type, name,
      [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR set) -> BOOL {
        reinterpret_cast<std::set<LANGID>*>(set)->insert(language);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&languages));
  return languages;
}

const void* Data(LPCWSTR type, LPCWSTR name, LANGID language, DWORD* size = nullptr) {
  HRSRC found = FindResourceExW(qm::g_instance, type, name, language);
  if (found == nullptr) return nullptr;
  if (size != nullptr) *size = SizeofResource(qm::g_instance, found);
  return LockResource(LoadResource(qm::g_instance, found));
}

// The string with identifier id in the given language ("" when absent).
std::wstring StringIn(LANGID language, UINT id) {
  DWORD size = 0;
  const auto* p = static_cast<const WCHAR*>(Data(RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language, &size));
  if (p == nullptr) return L"";
  for (UINT i = 0; i < id % 16; ++i) p += 1 + *p;  // each string: its length, then its text
  return std::wstring(p + 1, *p);
}

bool PrintableAscii(const std::wstring& text) {
  for (wchar_t c : text)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, ARRAYSIZE(name));
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, ARRAYSIZE(text));
  return text;
}

int TextWidth(HWND control, const std::wstring& text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE extent = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return extent.cx;
}

TEST(Resources, EveryMenuDialogAndStringBlockIsInJapaneseAndEnglish) {
  for (LPCWSTR type : {RT_MENU, RT_DIALOG, RT_STRING}) {
    const std::vector<LPCWSTR> names = Names(type);
    EXPECT_FALSE(names.empty());
    for (LPCWSTR name : names) {
      SCOPED_TRACE(testing::Message() << "type " << reinterpret_cast<ULONG_PTR>(type) << " name "
                                      << reinterpret_cast<ULONG_PTR>(name));
      EXPECT_EQ(Languages(type, name), (std::set<LANGID>{kJapanese, kEnglish}));
    }
  }
}

TEST(Resources, EveryStringHasAnEnglishTextOfPlainAscii) {
  for (LPCWSTR block : Names(RT_STRING)) {
    for (UINT id = (reinterpret_cast<ULONG_PTR>(block) - 1) * 16, end = id + 16; id < end; ++id) {
      SCOPED_TRACE(id);
      const std::wstring english = StringIn(kEnglish, id);
      EXPECT_EQ(StringIn(kJapanese, id).empty(), english.empty());
      EXPECT_TRUE(PrintableAscii(english)) << "a Japanese text left in the English strings?";
    }
  }
}

// One line per item: depth, identifier (or "popup"/"separator") and whether
// it has text; the English text is checked for ASCII on the way.
void Outline(HMENU menu, int depth, std::vector<std::wstring>& lines, bool english) {
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = ARRAYSIZE(text);
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
    std::wstring line = std::to_wstring(depth) + L" ";
    if (item.fType & MFT_SEPARATOR) {
      line += L"separator";
    } else {
      EXPECT_NE(text[0], L'\0');
      if (english) {
        EXPECT_TRUE(PrintableAscii(text)) << text;
      }
      line += item.hSubMenu != nullptr ? L"popup" : std::to_wstring(item.wID);
    }
    lines.push_back(line);
    if (item.hSubMenu != nullptr) Outline(item.hSubMenu, depth + 1, lines, english);
  }
}

TEST(Resources, EnglishMenuHasTheJapaneseItemsInTheSameOrder) {
  std::vector<std::wstring> outlines[2];
  const LANGID languages[2] = {kJapanese, kEnglish};
  for (int i = 0; i < 2; ++i) {
    HMENU menu = LoadMenuIndirectW(Data(RT_MENU, MAKEINTRESOURCEW(IDR_MAINMENU), languages[i]));
    ASSERT_NE(menu, nullptr);
    Outline(menu, 0, outlines[i], languages[i] == kEnglish);
    DestroyMenu(menu);
  }
  EXPECT_EQ(outlines[0].size(), 15u);  // four menus, eleven items and separators
  EXPECT_EQ(outlines[1], outlines[0]);
}

struct Control {
  int id;
  std::wstring className;
  LONG style;
  RECT rect;  // in the dialog's client coordinates
  HWND window;
};

std::vector<Control> Controls(HWND dialog) {
  std::vector<Control> controls;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    Control c = {GetDlgCtrlID(child), ClassOf(child), GetWindowLongW(child, GWL_STYLE), {}, child};
    GetWindowRect(child, &c.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&c.rect), 2);
    controls.push_back(c);
  }
  return controls;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class DialogTemplates : public testing::TestWithParam<int> {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&init);
  }
  void TearDown() override {
    for (HWND dialog : dialogs_) DestroyWindow(dialog);
  }
  HWND Create(LANGID language) {
    const auto* dialogTemplate =
        static_cast<const DLGTEMPLATE*>(Data(RT_DIALOG, MAKEINTRESOURCEW(GetParam()), language));
    if (dialogTemplate == nullptr) return nullptr;
    HWND dialog = CreateDialogIndirectParamW(qm::g_instance, dialogTemplate, nullptr, PlainDialogProc, 0);
    if (dialog != nullptr) dialogs_.push_back(dialog);
    return dialog;
  }

 private:
  std::vector<HWND> dialogs_;
};

TEST_P(DialogTemplates, EnglishHasTheJapaneseControlsAndSize) {
  HWND japanese = Create(kJapanese);
  HWND english = Create(kEnglish);
  ASSERT_NE(japanese, nullptr);
  ASSERT_NE(english, nullptr);
  RECT j = {}, e = {};
  GetClientRect(japanese, &j);
  GetClientRect(english, &e);
  EXPECT_EQ(e.right, j.right);
  EXPECT_EQ(e.bottom, j.bottom);
  const std::vector<Control> jc = Controls(japanese), ec = Controls(english);
  ASSERT_EQ(ec.size(), jc.size());
  for (size_t i = 0; i < jc.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "control " << jc[i].id);
    EXPECT_EQ(ec[i].id, jc[i].id);
    EXPECT_EQ(ec[i].className, jc[i].className);
    EXPECT_EQ(ec[i].style, jc[i].style);
    EXPECT_TRUE(PrintableAscii(TextOf(ec[i].window)));
    EXPECT_EQ(TextOf(ec[i].window).empty(), TextOf(jc[i].window).empty());
  }
  EXPECT_TRUE(PrintableAscii(TextOf(english)));
}

// In both languages every control lies inside its dialog, no two overlap,
// and each label has room for its own text: a check box gives part of its
// width to the box; a drop-down list shows the six anchor texts beside its
// arrow button.
TEST_P(DialogTemplates, LabelsFitTheirControlsInsideTheDialogAndNoControlsOverlap) {
  for (LANGID language : {kJapanese, kEnglish}) {
    SCOPED_TRACE(testing::Message() << "language " << language);
    HWND dialog = Create(language);
    ASSERT_NE(dialog, nullptr);
    RECT client = {};
    GetClientRect(dialog, &client);
    const std::vector<Control> controls = Controls(dialog);
    for (const Control& c : controls) {
      SCOPED_TRACE(testing::Message() << "control " << c.id);
      RECT inside = {};
      EXPECT_TRUE(IntersectRect(&inside, &c.rect, &client) && EqualRect(&inside, &c.rect));
      const int width = c.rect.right - c.rect.left;
      if (c.className == L"ComboBox") {
        for (UINT id = IDS_POS_FREE; id <= IDS_POS_TOPRIGHT; ++id)
          EXPECT_LE(TextWidth(c.window, StringIn(language, id)), width - GetSystemMetrics(SM_CXVSCROLL) - 4)
              << StringIn(language, id);
      } else if (c.className == L"Button" || c.className == L"Static") {
        const std::wstring text = TextOf(c.window);
        const bool checkBox = (c.style & BS_TYPEMASK) == BS_AUTOCHECKBOX && c.className == L"Button";
        const int room = checkBox ? width - GetSystemMetrics(SM_CXMENUCHECK) - 4 : width;
        EXPECT_LE(TextWidth(c.window, text), room) << text;
      }
      for (const Control& other : controls) {
        RECT overlap = {};
        if (&other == &c) continue;
        EXPECT_FALSE(IntersectRect(&overlap, &c.rect, &other.rect)) << "and " << other.id;
      }
    }
  }
}

// The version resource names both languages, each with its own block of
// texts, so that a file's properties show them in either language.
TEST(Resources, VersionInformationIsInJapaneseAndEnglish) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(qm::g_instance, path, MAX_PATH);
  std::vector<BYTE> info(GetFileVersionInfoSizeW(path, nullptr));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()));
  struct Translation { WORD language, codePage; };
  Translation* translations = nullptr;
  UINT size = 0;
  ASSERT_TRUE(
      VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &size));
  ASSERT_EQ(size, 2 * sizeof(Translation));
  EXPECT_EQ(translations[0].language, kJapanese);
  EXPECT_EQ(translations[1].language, kEnglish);
  for (UINT i = 0; i < 2; ++i) EXPECT_EQ(translations[i].codePage, 1200) << "UTF-16";
  for (const wchar_t* block : {L"041104B0", L"040904B0"}) {
    SCOPED_TRACE(testing::Message() << block);
    wchar_t* name = nullptr;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\") + block + L"\\ProductName";
    ASSERT_TRUE(VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&name), &size));
    EXPECT_EQ(std::wstring(name), L"Quillmere");
  }
}

INSTANTIATE_TEST_SUITE_P(AllDialogs, DialogTemplates, testing::Values(IDD_SETTINGS, IDD_MENUENTRY, IDD_WINDOWENTRY));

}  // namespace
