#include "hook/Readout_win.h"

#include <cstring>

#include "base/DpiScale.h"
#include "base/Dpi_win.h"
#include "base/Win32Glue.h"
#include "hook/HookContract.h"
#include "hook/ReadoutText.h"

namespace qm {

HWND g_readoutWindow;

namespace {

constexpr wchar_t kReadoutClass[] = L"Quillmere_Tooltip";
constexpr int kFontPoints = 9;
constexpr DWORD kReadoutExStyle =
    WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT;

// The last rectangle the hook library reported; zero until the first.
TipRectPayload g_readoutRect;

void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  // Points at the DPI of the readout's monitor: a per-monitor aware
  // program's device context reports the system DPI whatever the monitor.
  HFONT font = CreateFontW(FontHeightForDpi(kFontPoints, WindowDpi(window)), 0, 0, 0, FW_DONTCARE, FALSE, FALSE,
                           FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH, L"Tahoma");
  HGDIOBJ previous = SelectObject(dc, font);
  // The text sits on the class's tooltip-coloured background instead of in
  // white boxes, in the matching tooltip text colour.
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  char16_t text[kReadoutTextCapacity];
  ReadoutText(g_readoutRect.left, g_readoutRect.top, g_readoutRect.right, g_readoutRect.bottom, text);
  DrawTextW(dc, AsWide(text), -1, &client, DT_CENTER | DT_WORDBREAK | DT_EXTERNALLEADING | DT_NOPREFIX);
  // The font must be out of the DC before it can be deleted.
  SelectObject(dc, previous);
  DeleteObject(font);
  EndPaint(window, &paint);
}

// Moved onto a monitor of another scale: the suggested rectangle is the
// readout's size scaled to the new DPI; the font follows at the next paint.
void OnDpiChanged(HWND window, const RECT* suggested) {
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window, nullptr, TRUE);
}

LRESULT CALLBACK ReadoutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(window, reinterpret_cast<const RECT*>(lParam));
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

void CreateReadoutWindow() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ReadoutProc;
  wc.hInstance = g_instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
  wc.lpszMenuName = L"";
  wc.lpszClassName = kReadoutClass;
  RegisterClassExW(&wc);
  const SizeForDpi unscaled = ReadoutSizeForDpi(kBaseDpi);
  // Shown during another program's drag, the readout must never take the
  // foreground or the mouse. A topmost tool window is seen without being
  // activated; WS_EX_NOACTIVATE keeps a click from activating it ("Extended
  // Window Styles"). A layered window with WS_EX_TRANSPARENT passes the
  // mouse to the windows beneath ("Window Features", Layered Windows); full
  // opacity leaves it drawn as before.
  g_readoutWindow = CreateWindowExW(kReadoutExStyle, kReadoutClass, L"", WS_POPUP | WS_BORDER, 100, 100,
                                    unscaled.width, unscaled.height, nullptr, nullptr, g_instance, nullptr);
  SetLayeredWindowAttributes(g_readoutWindow, 0, 255, LWA_ALPHA);
  // Its DPI is known once it exists, on the monitor where it was made.
  const SizeForDpi size = ReadoutSizeForDpi(WindowDpi(g_readoutWindow));
  if (size.width != unscaled.width || size.height != unscaled.height) {
    SetWindowPos(g_readoutWindow, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void OnCopyData(HWND, const COPYDATASTRUCT* data) {
  // The payload comes from another process: a short or missing one is
  // ignored rather than read past its end.
  if (data == nullptr || data->dwData != MSG_TIP_RECT) return;
  if (data->lpData == nullptr || data->cbData < sizeof(TipRectPayload)) return;

  // Nothing here activates a window: while the user drags another
  // program's window, Windows' foreground lock refuses SetForegroundWindow
  // (and flashes the taskbar button instead), and where the lock is off
  // taking the foreground would deactivate the window being dragged
  // ("SetForegroundWindow" remarks). Moved, raised above the other topmost
  // windows and shown in one call that activates nothing.
  POINT cursor = {};
  GetCursorPos(&cursor);
  std::memcpy(&g_readoutRect, data->lpData, sizeof(TipRectPayload));
  // Below the cursor's picture, so the readout never hides the hot spot.
  SetWindowPos(g_readoutWindow, HWND_TOPMOST, cursor.x, cursor.y + GetSystemMetrics(SM_CYCURSOR), 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(g_readoutWindow, nullptr, TRUE);
}

void HideReadout() { ShowWindow(g_readoutWindow, SW_HIDE); }

}  // namespace qm
