// The hook library: the window events Windows raises, played by the target
// (Wine 8 raises none of them itself but delivers those raised with
// NotifyWinEvent; Wine 10 raises some of them too), middle clicks injected
// with SendInput, and what the real program then does to other programs'
// windows. A target whose appearance a test times starts hidden: where the
// window system reports new windows itself, one shown at start-up is placed
// at once. The last cases load the library into this process to check its
// contract on its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "hook/HookContract.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/PlacementFixtures.h"
#include "tests/e2e/target/TargetProtocol.h"

namespace e2e {
namespace {

#define EXPECT_RECT(actual, expected) \
  EXPECT_TRUE(SameRect(actual, expected)) << "got " << RectText(actual).c_str() << " want " << RectText(expected).c_str()

// The events come from the target's own process, as on Windows from the
// window's own thread. (A thread in Wine 8 caches which hooks exist when it
// first raises or checks for an event and does not notice hooks set later,
// so this driver, running since before the program, could not raise them;
// every target here starts after the program.)
WPARAM PackEvents(std::initializer_list<DWORD> events) {
  WPARAM packed = 0;
  int shift = 0;
  for (DWORD event : events) {
    packed |= static_cast<WPARAM>(event & 0xFFFF) << shift;
    shift += 16;
  }
  return packed;
}

// Raises the events first, then moves the window and raises the location
// event, all inside the target in one go.
void MoveTo(Target& target, size_t i, int x, int y, std::initializer_list<DWORD> first = {}) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(target.window(i), TARGET_MOVE_WINDOW, PackEvents(first), MAKELPARAM(x, y), SMTO_ABORTIFHUNG,
                      kWaitMs, &result);
}

void Drag(Target& target, size_t i, int x, int y) {
  MoveTo(target, i, x, y, {EVENT_SYSTEM_MOVESIZESTART});
  target.Notify(EVENT_SYSTEM_MOVESIZEEND, i);
}

bool HasRect(HWND window, const RECT& rect) { return SameRect(WindowRect(window), rect); }

void WriteConfig(const TempDir& dir, int tooltip, int keepIn) {
  WriteUtf16File(dir.File(L"Config.ini"), L"[Config]\r\nTooltip=" + std::to_wstring(tooltip) +
                                              L"\r\nKeepIn=" + std::to_wstring(keepIn) + L"\r\n");
}

// Proof that the library has handled every event raised so far: a fresh
// window of the sentinel class is shown and the program places it. Events
// are handled in the order they were raised, and a placement comes at least
// the settle time after its show, after any earlier decision. The rule puts
// the window where it already is, and the target reports the request: Wine
// 10 takes a window that moves, changes its frame or is activated for user
// input (GetLastInputInfo), which would spoil what the program knows of the
// user since a show.
constexpr wchar_t kSentinelClass[] = L"QmHookSentinel";
const WindowRule kSentinelRule = {L"sentinel rule", kSentinelClass, {0, 700, 700, 0, 0, 300, 200}};

LRESULT Placements(HWND targetWindow) {
  DWORD_PTR count = 0;
  SendMessageTimeoutW(targetWindow, TARGET_PLACEMENTS, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &count);
  return static_cast<LRESULT>(count);
}

class Sentinel {
 public:
  bool Start(int windows = 6) {
    return target_.Start(std::wstring(L"--class ") + kSentinelClass + L" --hidden --rect 700,700,300,200 --count " +
                             std::to_wstring(windows),
                         windows);
  }
  // Shows the next window and waits until the program has placed it.
  bool Sync() {
    if (next_ >= target_.windows().size()) return false;
    HWND window = target_.window(next_);
    target_.Notify(EVENT_OBJECT_SHOW, next_++);
    return WaitUntil([&] { return Placements(window) > 0; });
  }

 private:
  Target target_;
  size_t next_ = 0;
};

// The first point from the top of the window's middle column where the
// window itself says its title bar is.
bool TitleBarPoint(HWND window, POINT* point) {
  RECT rect = WindowRect(window);
  int x = (rect.left + rect.right) / 2;
  for (int y = rect.top; y < rect.bottom; ++y) {
    DWORD_PTR hit = HTNOWHERE;
    SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, kWaitMs, &hit);
    if (hit == HTCAPTION) {
      *point = POINT{x, y + 2};
      return true;
    }
  }
  return false;
}

HWND OpenPopupMenu(DWORD processId) {
  for (HWND menu : FindProcessWindows(processId, L"#32768")) {
    if (IsWindowVisible(menu)) return menu;
  }
  return nullptr;
}

LRESULT MiddleClicksReceived(HWND targetWindow) {
  DWORD_PTR count = 0;
  SendMessageTimeoutW(targetWindow, TARGET_MIDDLE_CLICKS, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &count);
  return static_cast<LRESULT>(count);
}

// Every test runs the program on a folder of its own; those that need to
// know every event so far was handled start the sentinel after it.
class Hook : public testing::Test {
 protected:
  bool StartWithSentinel() { return app.Start() && sentinel.Start(); }
  TempDir dir;
  App app{dir.path()};
  Sentinel sentinel;
};

TEST_F(Hook, PlacesANewWindowOnceUntilItIsDestroyed) {
  const RECT ruled = MakeRect(300, 200, 500, 400);
  WriteEntryIni(dir, {{L"placed by class", L"QmHookPlace", {0, 300, 200, 0, 0, 500, 400}}, kSentinelRule});
  ASSERT_TRUE(StartWithSentinel());
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmHookPlace --hidden --rect 100,100,400,300"));
  HWND window = target.window();

  target.Notify(EVENT_OBJECT_SHOW);
  ASSERT_TRUE(WaitUntil([&] { return HasRect(window, ruled); }));

  // Hidden and shown again, it stays where it has been put since.
  MoveTo(target, 0, 50, 60);
  target.Notify(EVENT_OBJECT_HIDE);
  target.Notify(EVENT_OBJECT_SHOW);
  ASSERT_TRUE(sentinel.Sync());
  EXPECT_RECT(WindowRect(window), MakeRect(50, 60, 500, 400));

  // Once destroyed, its handle names a new window, and a new window is placed.
  target.Notify(EVENT_OBJECT_DESTROY);
  target.Notify(EVENT_OBJECT_SHOW);
  EXPECT_TRUE(WaitUntil([&] { return HasRect(window, ruled); }));
  EXPECT_EQ(app.Close(), 0);
}

// Programs often move their own window right after showing it (restoring
// a saved position); the placement comes after that move and wins. A user
// who grabs the window as it appears keeps it where they put it.
TEST_F(Hook, PlacementWaitsForTheProgramButNeverFightsTheUser) {
  const RECT ruled = MakeRect(320, 240, 500, 400);
  WriteEntryIni(dir, {{L"settle rule", L"QmHookSettle", {0, 320, 240, 0, 0, 500, 400}}, kSentinelRule});
  ASSERT_TRUE(StartWithSentinel());
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmHookSettle --hidden --rect 100,100,400,300 --count 2", 2));

  HWND restoring = target.window(0);
  MoveTo(target, 0, 900, 500, {EVENT_OBJECT_SHOW});
  EXPECT_TRUE(WaitUntil([&] { return HasRect(restoring, ruled); }));

  HWND grabbed = target.window(1);
  MoveTo(target, 1, 640, 480, {EVENT_OBJECT_SHOW, EVENT_SYSTEM_MOVESIZESTART});
  target.Notify(EVENT_SYSTEM_MOVESIZEEND, 1);
  ASSERT_TRUE(sentinel.Sync());
  EXPECT_RECT(WindowRect(grabbed), MakeRect(640, 480, 400, 300));
  EXPECT_EQ(app.Close(), 0);
}

// A window that gets its title only after it was shown (browsers do) meets
// its title rule on that first title change; later changes, or a change
// after the user touched the mouse, place nothing.
TEST_F(Hook, ALateTitleGetsOneMoreChance) {
  const RECT ruled = MakeRect(260, 180, 520, 380);
  WriteEntryIni(dir, {{L"Late Page", L"", {0, 260, 180, 0, 0, 520, 380}}, kSentinelRule});
  ASSERT_TRUE(StartWithSentinel());
  // Shown with no title at all.
  Target target, other;
  ASSERT_TRUE(target.Start(L"--class QmHookLate --title \"\" --hidden --rect 100,100,400,300"));
  ASSERT_TRUE(other.Start(L"--class QmHookLate --title \"\" --hidden --rect 100,100,400,300"));
  const RECT untouched = MakeRect(100, 100, 400, 300);
  // Wine takes a window appearing under the cursor for mouse input (the
  // last input time moves), which would count as the user acting.
  PutCursor(1200, 100);

  HWND late = target.window();
  target.Notify(EVENT_OBJECT_SHOW);
  ASSERT_TRUE(sentinel.Sync());
  EXPECT_RECT(WindowRect(late), untouched);  // reported, but no rule for an empty title
  target.SetTitle(L"Late Page - Browser");
  target.Notify(EVENT_OBJECT_NAMECHANGE);
  EXPECT_TRUE(WaitUntil([&] { return HasRect(late, ruled); }));

  // Only the first title change counts.
  MoveTo(target, 0, 100, 100);
  target.SetTitle(L"Late Page - Another");
  target.Notify(EVENT_OBJECT_NAMECHANGE);
  ASSERT_TRUE(sentinel.Sync());
  EXPECT_RECT(WindowRect(late), MakeRect(100, 100, 520, 380));

  // The user moved the mouse after the show: hands off.
  HWND touched = other.window();
  other.Notify(EVENT_OBJECT_SHOW);
  ASSERT_TRUE(sentinel.Sync());
  INPUT nudge = {};
  nudge.type = INPUT_MOUSE;
  nudge.mi.dwFlags = MOUSEEVENTF_MOVE;
  nudge.mi.dx = 1;
  SendInput(1, &nudge, sizeof(nudge));
  other.SetTitle(L"Late Page - Touched");
  other.Notify(EVENT_OBJECT_NAMECHANGE);
  ASSERT_TRUE(sentinel.Sync());
  EXPECT_RECT(WindowRect(touched), untouched);
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(Hook, MiddleClickOnATitleBarOpensThePresets) {
  const RECT work = WorkArea();
  // Sorted as the program keeps them: the free preset first.
  WriteEntryIni(dir, {}, {{0, 10, 20, 0, 0, 640, 480}, {0, 0, 0, 4, 0, 500, 350}});
  ASSERT_TRUE(app.Start());
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmHookMenu --rect 400,300,400,300"));
  HWND window = target.window();
  POINT title = {};
  ASSERT_TRUE(TitleBarPoint(window, &title));

  MiddleClickAt(title.x, title.y);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = OpenPopupMenu(app.process().id())) != nullptr; }));
  PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitUntil([&] { return HasRect(window, MakeRect(work.left, work.top, 500, 350)); }));
  EXPECT_TRUE(WaitUntil([&] { return OpenPopupMenu(app.process().id()) == nullptr; }));
  // Neither the press nor its release reached the window.
  EXPECT_EQ(MiddleClicksReceived(window), 0);

  // A middle click anywhere else goes through untouched.
  RECT rect = WindowRect(window);
  MiddleClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  ASSERT_TRUE(WaitUntil([&] { return MiddleClicksReceived(window) == 2; }));
  EXPECT_EQ(OpenPopupMenu(app.process().id()), nullptr);
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(Hook, ReadoutFollowsAMovedWindowAndHidesAtTheEnd) {
  WriteConfig(dir, 1, 0);
  ASSERT_TRUE(app.Start());
  ASSERT_NE(app.readout(), nullptr);
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmHookReadout --rect 100,100,400,300"));
  HWND window = target.window();
  const int below = GetSystemMetrics(SM_CYCURSOR);
  auto readoutAt = [&](int x, int y) {
    RECT r = WindowRect(app.readout());
    return IsWindowVisible(app.readout()) && r.left == x && r.top == y;
  };

  SetCursorPos(500, 400);
  MoveTo(target, 0, 150, 120, {EVENT_SYSTEM_MOVESIZESTART});
  // The library listens for moves only once it has heard of the start, and
  // a move raised before that goes unheard: a drag goes on moving.
  EXPECT_TRUE(WaitUntil([&] {
    MoveTo(target, 0, 150, 120);
    return readoutAt(500, 400 + below);
  }));
  SetCursorPos(700, 600);
  MoveTo(target, 0, 300, 250);
  EXPECT_TRUE(WaitUntil([&] { return readoutAt(700, 600 + below); }));
  target.Notify(EVENT_SYSTEM_MOVESIZEEND);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(app.readout()); }));
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(Hook, KeepInsideBringsBackWhatLeftTheDesktop) {
  WriteConfig(dir, 0, 1);
  const RECT work = WorkArea();
  const int screenBottom = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_LT(work.bottom, screenBottom) << "the test display leaves a taskbar strip";
  ASSERT_TRUE(app.Start());
  struct Case {
    const char* name;
    int width, height;
    POINT drop;
    POINT expected;
  };
  const Case cases[] = {
      {"off the top-left corner", 400, 300, {-50, -20}, {work.left, work.top}},
      {"off the bottom-right corner", 400, 300, {work.right - 200, work.bottom - 100},
       {work.right - 400, work.bottom - 300}},
      {"over the taskbar strip, still on the screen", 400, 300, {200, screenBottom - 300},
       {200, screenBottom - 300}},
      {"larger than the work area", work.right - work.left + 40, work.bottom - work.top + 30, {-10, -10},
       {work.left, work.top}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Target target;
    ASSERT_TRUE(target.Start(L"--class QmHookKeep --rect 100,100," + std::to_wstring(c.width) + L"," +
                                 std::to_wstring(c.height) + L" --count 2",
                             2));
    HWND window = target.window(0);
    // The window system may cut a window larger than the screen down a
    // little; it still is larger than the work area.
    const RECT created = WindowRect(window);
    const int width = created.right - created.left, height = created.bottom - created.top;
    Drag(target, 0, c.drop.x, c.drop.y);
    // The library has the window's own thread move it. A second window of
    // that thread dragged off the screen afterwards is moved back after the
    // first one would have been.
    HWND probe = target.window(1);
    Drag(target, 1, -60, -60);
    ASSERT_TRUE(WaitUntil([&] { return HasRect(probe, MakeRect(work.left, work.top, width, height)); }));
    EXPECT_RECT(WindowRect(window), MakeRect(c.expected.x, c.expected.y, width, height));
  }
  EXPECT_EQ(app.Close(), 0);
}

TEST_F(Hook, WithBothOptionsOffNothingFollowsAndNothingComesBack) {
  WriteConfig(dir, 0, 0);
  WriteEntryIni(dir, {kSentinelRule});
  ASSERT_TRUE(StartWithSentinel());
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmHookOff --rect 100,100,400,300"));
  HWND window = target.window();

  MoveTo(target, 0, -50, -20, {EVENT_SYSTEM_MOVESIZESTART});
  ASSERT_TRUE(sentinel.Sync());
  EXPECT_FALSE(IsWindowVisible(app.readout()));
  target.Notify(EVENT_SYSTEM_MOVESIZEEND);
  ASSERT_TRUE(sentinel.Sync());
  EXPECT_RECT(WindowRect(window), MakeRect(-50, -20, 400, 300));
  EXPECT_EQ(app.Close(), 0);
}

// The library on its own, loaded into this process with a window of this
// thread as the main window; the messages it delivers are recorded.
std::vector<MSG> g_delivered;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case MSG_PLACE_WINDOW:
    case MSG_MENU_WINDOW:
    case MSG_TIP_HIDE:
      g_delivered.push_back(MSG{window, message, wParam, lParam, 0, {}});
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

size_t Delivered(UINT message, HWND about) {
  size_t count = 0;
  for (const MSG& msg : g_delivered) {
    if (msg.message == message && msg.wParam == reinterpret_cast<WPARAM>(about)) ++count;
  }
  return count;
}

class Library {
 public:
  using SetHookFn = void(__stdcall*)(HWND, HWND, int, int);
  using FreeHookFn = void(__stdcall*)();
  Library() {
    module_ = LoadLibraryW((ExeDir() + L"\\Quillmere.dll").c_str());
    if (module_ == nullptr) return;
    set = reinterpret_cast<SetHookFn>(reinterpret_cast<void*>(GetProcAddress(module_, "SetHook")));
    free = reinterpret_cast<FreeHookFn>(reinterpret_cast<void*>(GetProcAddress(module_, "FreeHook")));
  }
  ~Library() {
    if (free != nullptr) free();
    if (module_ != nullptr) FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  bool loaded() const { return set != nullptr && free != nullptr; }
  SetHookFn set = nullptr;
  FreeHookFn free = nullptr;

 private:
  HMODULE module_ = nullptr;
};

HWND CreateMainStandIn() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QmHookMainStandIn";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

TEST(HookLibrary, SetAndFreeInAnyOrderNeverDoubleOrLeaveAHook) {
  g_delivered.clear();
  Library library;
  ASSERT_TRUE(library.loaded());
  // Without SetHook, and twice.
  library.free();
  library.free();

  HWND main = CreateMainStandIn();
  ASSERT_NE(main, nullptr);
  Target target;
  ASSERT_TRUE(target.Start(L"--class QmHookLib --rect 300,300,400,300 --count 5", 5));
  library.set(main, nullptr, 0, 0);
  library.set(main, nullptr, 0, 0);

  // One report per window however often SetHook was called.
  target.Notify(EVENT_OBJECT_SHOW, 0);
  ASSERT_TRUE(WaitUntil([&] { return Delivered(MSG_PLACE_WINDOW, target.window(0)) == 1; }));
  target.Notify(EVENT_OBJECT_SHOW, 1);
  ASSERT_TRUE(WaitUntil([&] { return Delivered(MSG_PLACE_WINDOW, target.window(1)) == 1; }));
  EXPECT_EQ(Delivered(MSG_PLACE_WINDOW, target.window(0)), 1u);

  // The program's own windows are never reported. (Windows skips events
  // this process raises; Wine delivers them, and the library must skip them
  // itself. This thread set the hook, so Wine knows it exists.)
  HWND own = CreateWindowExW(0, L"QmHookMainStandIn", L"own", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  NotifyWinEvent(EVENT_OBJECT_SHOW, own, OBJID_WINDOW, CHILDID_SELF);
  target.Notify(EVENT_OBJECT_SHOW, 2);
  ASSERT_TRUE(WaitUntil([&] { return Delivered(MSG_PLACE_WINDOW, target.window(2)) == 1; }));
  EXPECT_EQ(Delivered(MSG_PLACE_WINDOW, own), 0u);
  DestroyWindow(own);

  // The middle click on a title bar comes here and not to the window.
  HWND clicked = target.window(0);
  SetWindowPos(clicked, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  POINT title = {};
  ASSERT_TRUE(TitleBarPoint(clicked, &title));
  MiddleClickAt(title.x, title.y);
  ASSERT_TRUE(WaitUntil([&] { return Delivered(MSG_MENU_WINDOW, clicked) == 1; }));
  EXPECT_EQ(MiddleClicksReceived(clicked), 0);

  // Freed: no window event and no click is caught any more. A window shown
  // meanwhile is not reported after the next SetHook either.
  library.free();
  target.Notify(EVENT_OBJECT_SHOW, 3);
  MiddleClickAt(title.x, title.y);
  ASSERT_TRUE(WaitUntil([&] { return MiddleClicksReceived(clicked) == 2; }));
  library.set(main, nullptr, 0, 0);
  target.Notify(EVENT_OBJECT_SHOW, 4);
  ASSERT_TRUE(WaitUntil([&] { return Delivered(MSG_PLACE_WINDOW, target.window(4)) == 1; }));
  EXPECT_EQ(Delivered(MSG_PLACE_WINDOW, target.window(3)), 0u);
  EXPECT_EQ(Delivered(MSG_MENU_WINDOW, clicked), 1u);

  // The main window goes first, with a window still settling: clicks go
  // through, the settled window's report goes nowhere, FreeHook afterwards
  // is harmless, and SetHook with no main window installs nothing.
  target.Notify(EVENT_OBJECT_DESTROY, 3);
  target.Notify(EVENT_OBJECT_SHOW, 3);
  DestroyWindow(main);
  MiddleClickAt(title.x, title.y);
  ASSERT_TRUE(WaitUntil([&] { return MiddleClicksReceived(clicked) == 4; }));
  library.free();
  library.free();
  library.set(main, nullptr, 1, 1);
  MiddleClickAt(title.x, title.y);
  EXPECT_TRUE(WaitUntil([&] { return MiddleClicksReceived(clicked) == 6; }));
}

}  // namespace
}  // namespace e2e
