#include "base/Dpi_win.h"

#include "base/DpiScale.h"

namespace qm {

namespace {

// Awareness contexts (windef.h of Windows 10 SDKs) and PROCESS_DPI_AWARENESS,
// MONITOR_DPI_TYPE (shellscalingapi.h) by value: the headers of older SDKs
// lack them.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
constexpr int kProcessPerMonitorDpiAware = 2;
constexpr int kEffectiveDpi = 0;

using SetProcessDpiAwarenessContextFn = BOOL(WINAPI*)(HANDLE);
using SetProcessDpiAwarenessFn = HRESULT(WINAPI*)(int);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using PhysicalToLogicalPointFn = BOOL(WINAPI*)(HWND, POINT*);

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// user32 is loaded with every module that imports it, so its functions are
// looked up while the module initialises (GetProcAddress is safe there).
struct User32Dpi {
  HMODULE module = GetModuleHandleW(L"user32.dll");
  SetProcessDpiAwarenessContextFn setProcessContext =
      Lookup<SetProcessDpiAwarenessContextFn>(module, "SetProcessDpiAwarenessContext");
  GetDpiForSystemFn forSystem = Lookup<GetDpiForSystemFn>(module, "GetDpiForSystem");
  GetDpiForWindowFn forWindow = Lookup<GetDpiForWindowFn>(module, "GetDpiForWindow");
  GetSystemMetricsForDpiFn metrics = Lookup<GetSystemMetricsForDpiFn>(module, "GetSystemMetricsForDpi");
  SystemParametersInfoForDpiFn parameters =
      Lookup<SystemParametersInfoForDpiFn>(module, "SystemParametersInfoForDpi");
  PhysicalToLogicalPointFn toLogical =
      Lookup<PhysicalToLogicalPointFn>(module, "PhysicalToLogicalPointForPerMonitorDPI");
};
const User32Dpi g_user32;

// shcore.dll (Windows 8.1) is not loaded by default and must not be loaded
// while a module initialises: it is loaded on first need, once, whichever
// thread needs it first (the mouse hook has a thread of its own). The
// system's one-time initialisation keeps the C++ runtime's threading out of
// the hook library.
INIT_ONCE g_shcoreOnce = INIT_ONCE_STATIC_INIT;
SetProcessDpiAwarenessFn g_setProcessAwareness;
GetDpiForMonitorFn g_forMonitor;

BOOL CALLBACK ResolveShcore(INIT_ONCE*, void*, void**) {
  HMODULE shcore = LoadLibraryW(L"shcore.dll");
  g_setProcessAwareness = Lookup<SetProcessDpiAwarenessFn>(shcore, "SetProcessDpiAwareness");
  g_forMonitor = Lookup<GetDpiForMonitorFn>(shcore, "GetDpiForMonitor");
  return TRUE;
}

void LoadShcore() { InitOnceExecuteOnce(&g_shcoreOnce, ResolveShcore, nullptr, nullptr); }

uint32_t Known(UINT dpi) { return dpi == 0 ? kBaseDpi : dpi; }

}  // namespace

void MakeProcessDpiAware() {
  if (g_user32.setProcessContext != nullptr) {
    if (g_user32.setProcessContext(kPerMonitorAwareV2) || g_user32.setProcessContext(kPerMonitorAware)) return;
    // Refused because the manifest already set an awareness: keep it.
    if (GetLastError() == ERROR_ACCESS_DENIED) return;
  }
  LoadShcore();
  if (g_setProcessAwareness != nullptr) {
    HRESULT result = g_setProcessAwareness(kProcessPerMonitorDpiAware);
    if (SUCCEEDED(result) || result == E_ACCESSDENIED) return;
  }
  SetProcessDPIAware();
}

uint32_t SystemDpi() {
  if (g_user32.forSystem != nullptr) return Known(g_user32.forSystem());
  HDC screen = GetDC(nullptr);
  int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return Known(dpi > 0 ? static_cast<UINT>(dpi) : 0);
}

uint32_t WindowDpi(HWND window) {
  if (g_user32.forWindow != nullptr) {
    UINT dpi = g_user32.forWindow(window);
    if (dpi != 0) return dpi;
  }
  return SystemDpi();
}

uint32_t MonitorDpi(HMONITOR monitor) {
  LoadShcore();
  UINT x = 0;
  UINT y = 0;
  if (g_forMonitor != nullptr && SUCCEEDED(g_forMonitor(monitor, kEffectiveDpi, &x, &y)) && y != 0) return y;
  return SystemDpi();
}

int MetricForDpi(int index, uint32_t dpi) {
  if (g_user32.metrics != nullptr) return g_user32.metrics(index, dpi);
  return ScaleBetweenDpi(GetSystemMetrics(index), SystemDpi(), dpi);
}

HFONT CreateControlFontForDpi(uint32_t dpi) {
  LOGFONTW font = {};
  if (g_user32.parameters == nullptr ||
      !g_user32.parameters(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0, dpi)) {
    if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0)) return nullptr;
    font.lfHeight = ScaleBetweenDpi(font.lfHeight, SystemDpi(), dpi);
  }
  return CreateFontIndirectW(&font);
}

POINT PhysicalToWindowPoint(HWND window, POINT point) {
  POINT converted = point;
  if (g_user32.toLogical != nullptr && g_user32.toLogical(window, &converted)) return converted;
  return point;
}

}  // namespace qm
