// The entry dialogs in this process, built from the program's own templates:
// what the end-to-end tests cannot reach from outside (an add on a full
// table, which the main window refuses before any dialog opens, and the
// clipboard and input-method paths of the number boxes).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/Win32Glue.h"
#include "dialogs/DialogParts_win.h"
#include "dialogs/Dialogs_win.h"
#include "entries/EntryStore_win.h"
#include "res/resource.h"
#include "tests/support/UiTexts.h"

namespace qm {
namespace {

EntryStore store;

// Message boxes seen while a test ran, answered with OK at once.
std::wstring g_boxCaption;
std::wstring g_boxText;

void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM) -> BOOL {
        wchar_t className[16] = {};
        wchar_t caption[64] = {};
        GetClassNameW(window, className, 16);
        GetWindowTextW(window, caption, 64);
        if (std::wstring(className) != L"#32770" || std::wstring(caption) != L"Quillmere") return TRUE;
        wchar_t text[256] = {};
        GetDlgItemTextW(window, 0xFFFF, text, 256);
        g_boxCaption = caption;
        g_boxText = text;
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        return FALSE;
      },
      0);
}

class DialogTest : public testing::Test {
 protected:
  void SetUp() override {
    g_boxCaption.clear();
    g_boxText.clear();
    timer_ = SetTimer(nullptr, 0, 20, AnswerMessageBox);
  }
  void TearDown() override {
    KillTimer(nullptr, timer_);
    if (dialog_ != nullptr) DestroyWindow(dialog_);
    std::memset(&store.windows, 0, sizeof store.windows);
    std::memset(&store.menus, 0, sizeof store.menus);
    request_.Index = -1;
  }
  HWND Open(int templateId, DLGPROC procedure) {
    dialog_ = CreateDialogParamW(g_instance, MAKEINTRESOURCEW(templateId), nullptr, procedure, DialogParam(request_));
    return dialog_;
  }
  std::wstring Text(int id) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog_, id, text, 256);
    return text;
  }

  HWND dialog_ = nullptr;
  UINT_PTR timer_ = 0;
  DialogRequest request_{&store, -1, nullptr};
};

// The children of a dialog in template order, which is the tab order, with
// the top-left corner of each in dialog units as the template gives it.
struct TemplateControl {
  int id;
  int x, y;
};

void ExpectTemplate(HWND dialog, const std::vector<TemplateControl>& expected) {
  size_t i = 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT), ++i) {
    ASSERT_LT(i, expected.size()) << "more controls than expected";
    SCOPED_TRACE(i);
    RECT units = {expected[i].x, expected[i].y, 0, 0};
    MapDialogRect(dialog, &units);
    RECT actual = {};
    GetWindowRect(child, &actual);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), expected[i].id);
    // The places are the Japanese templates'; the English ones move a few
    // labels and boxes to fit their texts (checked against these elsewhere).
    if (PRIMARYLANGID(qm::test::ExpectedTexts().language) != LANG_JAPANESE) continue;
    EXPECT_EQ(actual.left, units.left);
    EXPECT_EQ(actual.top, units.top);
  }
  EXPECT_EQ(i, expected.size());
}

// The program and monitor controls were added after every existing control
// of the templates: each of those keeps its identifier, place and position
// in the tab order.
TEST_F(DialogTest, NewControlsFollowTheExistingOnes) {
  ASSERT_NE(Open(IDD_WINDOWENTRY, WindowEntryDialogProc), nullptr);
  ExpectTemplate(dialog_, {{IDC_TITLE, 36, 8},         {IDC_WINDOWLIST, 8, 40},   {IDC_DESABLEPOS, 8, 108},
                           {IDC_LEFT, 28, 124},        {IDC_TOP, 28, 140},        {IDC_POS, 28, 156},
                           {IDC_DESABLESIZE, 76, 108}, {IDC_WIDTH, 92, 124},      {IDC_HEIGHT, 92, 140},
                           {IDC_DESABLESTYLE, 148, 108}, {IDC_BORDER, 148, 124},  {IDC_DIALOGFRAME, 148, 136},
                           {IDC_THICKFRAME, 148, 148}, {IDOK, 156, 176},          {IDCANCEL, 196, 176},
                           {-1, 8, 8},                 {-1, 124, 8},              {IDC_CLASS, 148, 8},
                           {-1, 8, 28},                {-1, 8, 124},              {-1, 76, 124},
                           {-1, 8, 140},               {-1, 76, 140},             {-1, 8, 156},
                           {IDC_REFRESH, 192, 24},     {IDC_GET, 152, 24},        {-1, 236, 8},
                           {IDC_PROCESS, 236, 20},     {-1, 236, 108},            {IDC_MONITOR, 236, 120}});
  DestroyWindow(dialog_);
  ASSERT_NE(Open(IDD_MENUENTRY, MenuEntryDialogProc), nullptr);
  ExpectTemplate(dialog_, {{IDC_DESABLEPOS, 8, 8}, {IDC_LEFT, 28, 24},       {IDC_TOP, 28, 40},
                           {IDC_POS, 28, 56},      {IDC_DESABLESIZE, 76, 8}, {IDC_WIDTH, 92, 24},
                           {IDC_HEIGHT, 92, 40},   {IDOK, 68, 76},           {IDCANCEL, 108, 76},
                           {-1, 8, 24},            {-1, 76, 24},             {-1, 8, 40},
                           {-1, 76, 40},           {-1, 8, 56},              {-1, 152, 8},
                           {IDC_MONITOR, 152, 20}});
}

// The main window refuses an add on a full table before a dialog opens;
// should a dialog still be asked to add, OK says so and stores nothing, so
// nothing is written past the last slot.
TEST_F(DialogTest, OkOnAFullTableRefusesTheAdd) {
  store.windows.Count = MaxEntries;
  store.menus.Count = MaxEntries;
  for (int i = 0; i < MaxEntries; ++i) {
    store.windows.Entries[i].Left = i;
    store.menus.Entries[i].Left = i;
  }
  const WindowTable windowsBefore = store.windows;
  const MenuTable menusBefore = store.menus;

  struct Case { int templateId; DLGPROC procedure; };
  const Case cases[] = {{IDD_WINDOWENTRY, WindowEntryDialogProc}, {IDD_MENUENTRY, MenuEntryDialogProc}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.templateId);
    HWND dialog = Open(c.templateId, c.procedure);
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, IDC_TITLE, L"One too many");
    SetDlgItemTextW(dialog, IDC_LEFT, L"-1");
    g_boxText.clear();
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(g_boxCaption, L"Quillmere");
    EXPECT_EQ(g_boxText, qm::test::ExpectedTexts().tableFull);
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog stays open";
    DestroyWindow(dialog);
    dialog_ = nullptr;
  }
  EXPECT_EQ(std::memcmp(&store.windows, &windowsBefore, sizeof store.windows), 0);
  EXPECT_EQ(std::memcmp(&store.menus, &menusBefore, sizeof store.menus), 0);
}

// A change whose index names no entry loads nothing and stores nothing.
TEST_F(DialogTest, ChangeOfAnEntryThatIsNotThereStoresNothing) {
  store.menus.Count = 1;
  store.menus.Entries[0].Width = 5;
  const MenuTable before = store.menus;
  request_.Index = 3;
  HWND dialog = Open(IDD_MENUENTRY, MenuEntryDialogProc);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(IDC_WIDTH), L"");
  SetDlgItemTextW(dialog, IDC_WIDTH, L"9");
  SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(std::memcmp(&store.menus, &before, sizeof store.menus), 0);
  EXPECT_TRUE(g_boxText.empty());
}

void PutOnClipboard(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(block);
  SetClipboardData(CF_UNICODETEXT, block);
  CloseClipboard();
}

TEST_F(DialogTest, PastingIntoANumberBoxTakesWholeNumbersOnly) {
  struct Case {
    const wchar_t* before;
    int selStart, selEnd;
    const wchar_t* pasted;
    const wchar_t* after;
  };
  const Case cases[] = {
      {L"", 0, 0, L"  -1920\r\n", L"-1920"},
      {L"5", 0, 0, L"-", L"-5"},
      {L"", 0, 0, L"\uFF0D\uFF11\uFF12", L"-12"},  // full-width forms
      {L"123", 0, 3, L"-7", L"-7"},                // replaces the selection
      {L"12", 2, 2, L"34", L"1234"},
      {L"-5", 0, 0, L"1", L"-5"},                  // a digit in front of the sign: refused
      {L"-5", 2, 2, L"-", L"-5"},
      {L"7", 1, 1, L"1,000", L"7"},
      {L"7", 0, 1, L"abc", L"7"},
  };
  HWND dialog = Open(IDD_MENUENTRY, MenuEntryDialogProc);
  ASSERT_NE(dialog, nullptr);
  HWND edit = GetDlgItem(dialog, IDC_LEFT);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "pasting \"" << testing::PrintToString(std::wstring(c.pasted)) << "\"");
    SetWindowTextW(edit, c.before);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(c.selStart), c.selEnd);
    PutOnClipboard(c.pasted);
    SendMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(IDC_LEFT), c.after);
  }
}

TEST_F(DialogTest, InputMethodCharactersAreFilteredLikeTypedOnes) {
  HWND dialog = Open(IDD_WINDOWENTRY, WindowEntryDialogProc);
  ASSERT_NE(dialog, nullptr);
  HWND edit = GetDlgItem(dialog, IDC_TOP);
  for (wchar_t c : std::wstring(L"\uFF0Dx\uFF13a0")) SendMessageW(edit, WM_IME_CHAR, c, 1);
  // An edit may hand WM_IME_CHAR on as a posted WM_CHAR.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(Text(IDC_TOP), L"-30");
  // Control characters keep their editing meaning: backspace deletes.
  SendMessageW(edit, WM_CHAR, L'\b', 1);
  EXPECT_EQ(Text(IDC_TOP), L"-3");
}

TEST_F(DialogTest, PositionComboHoldsTheSixAnchorsAndClearsForOtherValues) {
  HWND dialog = Open(IDD_MENUENTRY, MenuEntryDialogProc);
  ASSERT_NE(dialog, nullptr);
  HWND combo = GetDlgItem(dialog, IDC_POS);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), PosCount);
  const int32_t positions[] = {PosFree, PosBottomLeft, PosBottomRight, PosCenter, PosTopLeft, PosTopRight, -1, 6, 1000};
  for (int32_t pos : positions) {
    SelectPosition(dialog, pos);
    const int32_t expected = pos >= 0 && pos < PosCount ? pos : -1;
    EXPECT_EQ(SelectedPosition(dialog), expected) << pos;
  }
}

}  // namespace
}  // namespace qm
