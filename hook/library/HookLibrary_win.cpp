// Quillmere.dll: keeps what SetHook is given until FreeHook.
#include "hook/HookContract.h"

namespace {

struct HookState {
  HWND main;
  HWND dummy;
  int tooltip;
  int keepIn;
  bool installed;
};
HookState g_hook;

}  // namespace

QM_HOOK_API void __stdcall SetHook(HWND main, HWND dummy, int tooltip, int keepIn) {
  if (g_hook.installed) return;
  g_hook = HookState{main, dummy, tooltip, keepIn, true};
}

QM_HOOK_API void __stdcall FreeHook() {
  g_hook = HookState{};
}
