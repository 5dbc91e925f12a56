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
  g_readoutWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kReadoutClass, L"", WS_POPUP | WS_BORDER,
                                    100, 100, unscaled.width, unscaled.height, nullptr, nullptr, g_instance, nullptr);
  // Its DPI is known once it exists, on the monitor where it was made.
  const SizeForDpi size = ReadoutSizeForDpi(WindowDpi(g_readoutWindow));
  if (size.width != unscaled.width || size.height != unscaled.height) {
    SetWindowPos(g_readoutWindow, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void OnCopyData(HWND mainWindow, const COPYDATASTRUCT* data) {
  // The payload comes from another process: a short or missing one is
  // ignored rather than read past its end.
  if (data == nullptr || data->dwData != MSG_TIP_RECT) return;
  if (data->lpData == nullptr || data->cbData < sizeof(TipRectPayload)) return;

  SetForegroundWindow(mainWindow);
  POINT cursor = {};
  GetCursorPos(&cursor);
  // Below the cursor's picture, so the readout never hides the hot spot.
  SetWindowPos(g_readoutWindow, HWND_TOP, cursor.x, cursor.y + GetSystemMetrics(SM_CYCURSOR), 0, 0, SWP_NOSIZE);
  std::memcpy(&g_readoutRect, data->lpData, sizeof(TipRectPayload));
  ShowWindow(g_readoutWindow, SW_SHOW);
  InvalidateRect(g_readoutWindow, nullptr, TRUE);
}

void HideReadout() { ShowWindow(g_readoutWindow, SW_HIDE); }

}  // namespace qm
