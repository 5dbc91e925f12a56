// Window rules applied by the real program to real windows of other
// processes: qm_target.exe windows and Wine's own notepad.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "hook/HookContract.h"
#include "res/resource.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/PlacementFixtures.h"

namespace e2e {
namespace {

constexpr DWORD kFrameBits = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME;

void SetRect(HWND window, const RECT& r) {
  SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The client area a window of this style and size gets, as the window system
// lays it out for this process: a hidden window of this process given the
// style the way the program gives it. (AdjustWindowRectEx would do on
// Windows; Wine 10 computes it with the display's real DPI in a program
// that is not DPI aware, whose windows it lays out with 96-DPI metrics.)
SIZE ClientSizeFor(DWORD style, DWORD exStyle, int width, int height) {
  HWND probe = CreateWindowExW(exStyle, L"STATIC", L"", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  SetWindowLongW(probe, GWL_STYLE, static_cast<LONG>(style & ~WS_VISIBLE));
  SetWindowPos(probe, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client = {};
  GetClientRect(probe, &client);
  DestroyWindow(probe);
  return SIZE{client.right, client.bottom};
}

// MSG_PLACE_WINDOW as the hook library sends it; the program answers 0.
LRESULT Place(App& app, HWND window) {
  return app.Send(MSG_PLACE_WINDOW, reinterpret_cast<WPARAM>(window));
}

#define EXPECT_RECT(actual, expected) \
  EXPECT_TRUE(SameRect(actual, expected)) << "got " << RectText(actual).c_str() << " want " << RectText(expected).c_str()

// Every test writes its rules into a folder of its own and then starts the
// program on it.
class Placement : public testing::Test {
 protected:
  TempDir dir;
  App app{dir.path()};
};

// Every anchor and both flags, against the work area and screen size the
// window system really reports (1920 x 1080 with a 40-pixel taskbar strip
// in the test display, so centring on the screen and on the work area
// differ).
TEST_F(Placement, AnchorsAndFlagsFromTheRealWorkArea) {
  const RECT work = WorkArea();
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  const RECT start = MakeRect(100, 100, 400, 300);
  const RECT odd = MakeRect(60, 70, 801, 601);
  struct Case {
    const char* name;
    Geometry g;
    RECT from;
    RECT expected;
  };
  const std::vector<Case> cases = {
      {"free point", {0, -100, 50, 0, 0, 640, 480}, start, MakeRect(-100, 50, 640, 480)},
      {"bottom left", {0, 7, 7, 1, 0, 500, 350}, start, MakeRect(work.left, work.bottom - 350, 500, 350)},
      {"bottom right", {0, 7, 7, 2, 0, 500, 350}, start, MakeRect(work.right - 500, work.bottom - 350, 500, 350)},
      {"centre of the screen", {0, 7, 7, 3, 0, 500, 350}, start, MakeRect((cx - 500) / 2, (cy - 350) / 2, 500, 350)},
      {"top left", {0, 7, 7, 4, 0, 500, 350}, start, MakeRect(work.left, work.top, 500, 350)},
      {"top right", {0, 7, 7, 5, 0, 500, 350}, start, MakeRect(work.right - 500, work.top, 500, 350)},
      {"unknown anchor keeps Left, Top", {0, 33, 44, 7, 0, 500, 350}, start, MakeRect(33, 44, 500, 350)},
      {"centre keeping an odd size", {0, 0, 0, 3, 1, 500, 350}, odd, MakeRect((cx - 801) / 2, (cy - 601) / 2, 801, 601)},
      {"bottom right keeping the size", {0, 0, 0, 2, 1, 500, 350}, start,
       MakeRect(work.right - 400, work.bottom - 300, 400, 300)},
      {"free point keeping the size", {0, 250, 260, 0, 1, 500, 350}, start, MakeRect(250, 260, 400, 300)},
      {"DesablePos only resizes", {1, 7, 7, 4, 0, 500, 350}, start, MakeRect(100, 100, 500, 350)},
      {"both flags, anchored: current size", {1, 7, 7, 5, 1, 500, 350}, start, start},
      {"both flags, free: stored size", {1, 7, 7, 0, 1, 500, 350}, start, MakeRect(100, 100, 500, 350)},
  };
  ASSERT_EQ((cx - 801) % 2, 1) << "the odd-size case must have a quotient to round";

  std::vector<WindowRule> rules;
  for (size_t k = 0; k < cases.size(); ++k) {
    rules.push_back(WindowRule{L"[case " + std::to_wstring(k) + L"]", L"", cases[k].g});
  }
  WriteEntryIni(dir, rules);
  ASSERT_TRUE(app.Start());
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmAnchors --count " + std::to_wstring(cases.size()), static_cast<int>(cases.size())));

  for (size_t k = 0; k < cases.size(); ++k) {
    const Case& c = cases[k];
    SCOPED_TRACE(c.name);
    HWND window = target.window(k);
    target.SetTitle(L"Target [case " + std::to_wstring(k) + L"] window", k);
    SetRect(window, c.from);
    EXPECT_EQ(Place(app, window), 0);
    EXPECT_RECT(WindowRect(window), c.expected);
  }
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(Placement, StyleStepChangesOnlyTheThreeFrameBits) {
  struct Case {
    const char* name;
    DWORD before;
    int desableStyle, border, dialogFrame, thickFrame;
  };
  const Case cases[] = {
      {"caption and sizing frame to a thin border", WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS, 0, 1, 0, 0},
      {"popup gets all three", WS_POPUP | WS_SYSMENU, 0, 1, 1, 1},
      {"everything cleared", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 0, 0},
      {"dialog frame only", WS_OVERLAPPEDWINDOW, 0, 0, 1, 0},
      {"DesableStyle leaves the frame alone", WS_OVERLAPPEDWINDOW, 1, 1, 0, 0},
  };
  std::vector<WindowRule> rules;
  size_t k = 0;
  for (const Case& c : cases) {
    rules.push_back(WindowRule{L"[style " + std::to_wstring(k++) + L"]", L"", {0, 200, 150, 0, 0, 600, 400},
                               c.desableStyle, c.border, c.dialogFrame, c.thickFrame});
  }
  WriteEntryIni(dir, rules);
  ASSERT_TRUE(app.Start());
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmStyles --count " + std::to_wstring(std::size(cases)), static_cast<int>(std::size(cases))));

  k = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND window = target.window(k);
    target.SetTitle(L"[style " + std::to_wstring(k) + L"]", k);
    ++k;
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(c.before | WS_VISIBLE));
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const DWORD before = WindowStyle(window);

    EXPECT_EQ(Place(app, window), 0);

    DWORD expected = before;
    if (!c.desableStyle) {
      expected &= ~kFrameBits;
      if (c.border) expected |= WS_BORDER;
      if (c.dialogFrame) expected |= WS_DLGFRAME;
      if (c.thickFrame) expected |= WS_THICKFRAME;
    }
    const DWORD after = WindowStyle(window);
    EXPECT_EQ(after, expected) << std::hex << "before " << before << " after " << after;
    // The frame change took effect: the client area is the outer
    // rectangle less the frame of the new style.
    const SIZE expectedClient =
        ClientSizeFor(after, static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), 600, 400);
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, expectedClient.cx);
    EXPECT_EQ(client.bottom, expectedClient.cy);
    EXPECT_RECT(WindowRect(window), MakeRect(200, 150, 600, 400));
  }
  EXPECT_EQ(app.Close(), 0);
}

// Class beats title, both compared case-sensitively; a rule with an empty
// title (only a hand-edited file holds one) catches nothing; an entry that
// matches nothing leaves the window alone.
TEST_F(Placement, ClassBeforeTitleCaseSensitiveAndNoMatch) {
  WriteEntryIni(dir, {
                         {L"", L"", {0, 5, 5, 0, 0, 300, 200}},
                         {L"Untitled", L"", {0, 0, 0, 4, 0, 500, 350}},
                         {L"zzz", L"QmPrecedence", {0, 0, 0, 5, 0, 520, 360}},
                         {L"yyy", L"qmcase", {0, 0, 0, 1, 0, 540, 370}},
                     });
  ASSERT_TRUE(app.Start());
  const RECT work = WorkArea();
  const RECT start = MakeRect(100, 100, 400, 300);
  struct Case {
    const char* name;
    const wchar_t* args;
    RECT expected;
  } cases[] = {
      {"class of a later entry beats an earlier title", L"--class QmPrecedence --title \"Untitled - Target\"",
       MakeRect(work.right - 520, work.top, 520, 360)},
      {"title substring when no class matches", L"--class QmOther --title \"Untitled - Target\"",
       MakeRect(work.left, work.top, 500, 350)},
      {"class and title differ only in case", L"--class QmCase --title \"untitled - target\"", start},
      {"nothing matches, not even the nameless rule", L"--class QmNothing --title \"Nothing here\"", start},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Target target;
    ASSERT_TRUE(target.Start(std::wstring(c.args) + L" --rect 100,100,400,300"));
    EXPECT_EQ(Place(app, target.window()), 0);
    EXPECT_RECT(WindowRect(target.window()), c.expected);
  }
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(Placement, InvalidAndDestroyedHandlesAreHarmless) {
  WriteEntryIni(dir, {{L"", L"", {0, 5, 5, 0, 0, 300, 200}, 0, 1, 1, 1},
                      {L"Target", L"QmGone", {0, 0, 0, 3, 0, 500, 350}}});
  ASSERT_TRUE(app.Start());

  HWND gone = nullptr;
  {
    Target target;
    ASSERT_TRUE(target.Start(L"--class QmGone"));
    gone = target.window();
    target.process().Terminate();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(gone); }));
  }
  const WPARAM handles[] = {0, 0x12345678, reinterpret_cast<WPARAM>(gone), reinterpret_cast<WPARAM>(HWND_BROADCAST),
                            static_cast<WPARAM>(-1)};
  for (WPARAM handle : handles) {
    SCOPED_TRACE(handle);
    EXPECT_EQ(app.Send(MSG_PLACE_WINDOW, handle), 0);
  }
  // Still running and still placing.
  ASSERT_TRUE(app.process().Running());
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmGone"));
  EXPECT_EQ(Place(app, target.window()), 0);
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_RECT(WindowRect(target.window()), MakeRect((cx - 500) / 2, (cy - 350) / 2, 500, 350));
  EXPECT_EQ(app.Close(), 0);
}

// A real program's window: Wine's notepad, class "Notepad".
TEST_F(Placement, WineNotepadByClass) {
  WriteEntryIni(dir, {{L"Note", L"", {0, 0, 0, 4, 0, 300, 200}},
                      {L"Editor", L"Notepad", {0, 0, 0, 2, 0, 800, 600}, 0, 1, 1, 0}});
  ASSERT_TRUE(app.Start());
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  Process notepad;
  ASSERT_TRUE(notepad.Start(std::wstring(system) + L"\\notepad.exe", L"", dir.path()));
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    auto found = FindProcessWindows(notepad.id(), L"Notepad");
    window = found.empty() ? nullptr : found[0];
    return window != nullptr && IsWindowVisible(window);
  }));
  // Its title ("Untitled - Notepad") is in the user interface language.
  ASSERT_NE(WindowText(window).find(L" - "), std::wstring::npos);
  const DWORD before = WindowStyle(window);

  EXPECT_EQ(Place(app, window), 0);

  const RECT work = WorkArea();
  EXPECT_RECT(WindowRect(window), MakeRect(work.right - 800, work.bottom - 600, 800, 600));
  EXPECT_EQ(WindowStyle(window), (before & ~kFrameBits) | WS_CAPTION);
  EXPECT_EQ(app.Close(), 0);
  notepad.Terminate();
}

// The initialise command places every visible top-level window that has a
// rule, and only those.
TEST_F(Placement, InitialisePlacesOnlyVisibleMatchingWindows) {
  WriteEntryIni(dir, {{L"QmInit", L"QmInit", {0, 0, 0, 4, 0, 500, 350}, 0, 1, 0, 0}});
  // Open before the program starts, so that only the command can place
  // them (a window system that reports new windows itself would have the
  // program place them as they appear).
  Target visible, hidden, other;
  ASSERT_TRUE(visible.Start(L"--class QmInit --count 2 --rect 300,300,400,300", 2));
  ASSERT_TRUE(hidden.Start(L"--class QmInit --hidden --rect 300,300,400,300"));
  ASSERT_TRUE(other.Start(L"--class QmOther --rect 300,300,400,300"));
  ASSERT_TRUE(app.Start());
  const DWORD hiddenStyle = WindowStyle(hidden.window());

  // Sent rather than posted: when the call returns, the whole enumeration
  // has run.
  EXPECT_EQ(app.Send(WM_COMMAND, IDM_INITIALISE), 0);

  const RECT work = WorkArea();
  for (HWND window : visible.windows()) {
    EXPECT_RECT(WindowRect(window), MakeRect(work.left, work.top, 500, 350));
    EXPECT_EQ(WindowStyle(window) & kFrameBits, static_cast<DWORD>(WS_BORDER));
  }
  EXPECT_RECT(WindowRect(hidden.window()), MakeRect(300, 300, 400, 300));
  EXPECT_EQ(WindowStyle(hidden.window()), hiddenStyle);
  EXPECT_RECT(WindowRect(other.window()), MakeRect(300, 300, 400, 300));

  // The same hidden window reported by the hook library is placed: the
  // message applies its rule without a visibility test.
  EXPECT_EQ(Place(app, hidden.window()), 0);
  EXPECT_RECT(WindowRect(hidden.window()), MakeRect(work.left, work.top, 500, 350));
  EXPECT_EQ(app.Close(), 0);
}

// Automatic placement, by the hook library's report and by the initialise
// command alike, touches only windows a user would call windows, and only
// while they are neither minimised nor maximised.
TEST_F(Placement, OnlyNormalUserWindowsArePlacedAutomatically) {
  // The rule keeps a caption, so a dialog is still one on the second road.
  WriteEntryIni(dir, {{L"QmKinds", L"QmKinds", {0, 0, 0, 4, 0, 500, 350}, 0, 1, 1, 0}});
  ASSERT_TRUE(app.Start());
  struct Kind {
    const char* name;
    const wchar_t* args;
    bool owned;  // the target's owned window is the one tested
    int show;    // 0: as the target shows it
    bool placed;
  };
  const Kind kinds[] = {
      {"main window", L"", false, 0, true},
      {"dialog: owned, with a caption", L"--style 80C80000 --owned --count 2", true, 0, true},
      {"caption-less owned pop-up", L"--style 80800000 --owned --count 2", true, 0, false},
      {"caption-less tool window", L"--style 80800000 --exstyle 80", false, 0, false},
      {"maximised", L"", false, SW_MAXIMIZE, false},
      {"minimised", L"", false, SW_SHOWMINNOACTIVE, false},
  };
  const RECT start = MakeRect(300, 300, 400, 300);
  const RECT ruled = MakeRect(WorkArea().left, WorkArea().top, 500, 350);
  std::vector<Target> targets(std::size(kinds));
  std::vector<HWND> windows;
  for (size_t k = 0; k < std::size(kinds); ++k) {
    const Kind& kind = kinds[k];
    // A window meant to be maximised or minimised first appears that way,
    // as a program that remembers its state shows it: maximised after its
    // show, it would race with the placement the show itself asks for.
    const std::wstring hidden = kind.show != 0 ? L" --hidden" : L"";
    ASSERT_TRUE(targets[k].Start(std::wstring(L"--class QmKinds --rect 300,300,400,300 ") + kind.args + hidden,
                                 kind.owned ? 2 : 1));
    HWND tested = WindowByOwner(targets[k], kind.owned);
    ASSERT_NE(tested, nullptr);
    windows.push_back(tested);
    if (kind.show != 0) ShowWindow(tested, kind.show);
  }
  // Each road in turn, from the same start.
  const auto check = [&](const char* road, const std::function<void()>& run) {
    SCOPED_TRACE(road);
    std::vector<RECT> rects;
    std::vector<DWORD> styles;
    for (HWND window : windows) {
      if (!IsIconic(window) && !IsZoomed(window)) SetRect(window, start);
      rects.push_back(WindowRect(window));
      styles.push_back(WindowStyle(window));
    }
    run();
    for (size_t k = 0; k < std::size(kinds); ++k) {
      SCOPED_TRACE(kinds[k].name);
      HWND window = windows[k];
      if (kinds[k].placed) {
        EXPECT_RECT(WindowRect(window), ruled);
        EXPECT_EQ(WindowStyle(window) & kFrameBits, static_cast<DWORD>(WS_CAPTION));
      } else {
        EXPECT_RECT(WindowRect(window), rects[k]);
        EXPECT_EQ(WindowStyle(window), styles[k]);
      }
    }
    EXPECT_TRUE(IsZoomed(windows[4]));
    EXPECT_TRUE(IsIconic(windows[5]));
  };
  check("initialise", [&] { EXPECT_EQ(app.Send(WM_COMMAND, IDM_INITIALISE), 0); });
  check("reported by the hook library", [&] {
    for (HWND window : windows) EXPECT_EQ(Place(app, window), 0);
  });
  EXPECT_EQ(app.Close(), 0);
}

}  // namespace
}  // namespace e2e
