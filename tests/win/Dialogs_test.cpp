// The entry dialogs in this process, built from the program's own templates:
// what the end-to-end tests cannot reach from outside (an add on a full
// table, which the main window refuses before any dialog opens, and the
// clipboard and input-method paths of the number boxes).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
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

// The main window refuses an add on a full table before a dialog opens;
// should a dialog still be asked to add, OK says so and stores nothing, so
// nothing is written past the last slot.
TEST_F(DialogTest, OkOnAFullTableRefusesTheAdd) {
  store.windows.Count = kMaxEntries;
  store.menus.Count = kMaxEntries;
  for (int i = 0; i < kMaxEntries; ++i) {
    store.windows.Entries[i].Left = i;
    store.menus.Entries[i].Left = i;
  }
  // On the heap: together the tables are nearly two megabytes.
  const auto windowsBefore = std::make_unique<WindowTable>(store.windows);
  const auto menusBefore = std::make_unique<MenuTable>(store.menus);

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
  EXPECT_EQ(std::memcmp(&store.windows, windowsBefore.get(), sizeof store.windows), 0);
  EXPECT_EQ(std::memcmp(&store.menus, menusBefore.get(), sizeof store.menus), 0);
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
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), kPosCount);
  const int32_t positions[] = {PosFree, PosBottomLeft, PosBottomRight, PosCenter, PosTopLeft, PosTopRight, -1, 6, 1000};
  for (int32_t pos : positions) {
    SelectPosition(dialog, pos);
    const int32_t expected = pos >= 0 && pos < kPosCount ? pos : -1;
    EXPECT_EQ(SelectedPosition(dialog), expected) << pos;
  }
}

}  // namespace
}  // namespace qm
