#include "placement/RuleStanding_win.h"

#include "base/Win32Glue.h"
#include "placement/Placement_win.h"
#include "placement/WindowFacts_win.h"
#include "res/resource.h"

namespace qm {

namespace {

// TokenElevation of a process token; false when it cannot be read.
bool TokenElevated(HANDLE token) {
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  return GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size) &&
         elevation.TokenIsElevated != 0;
}

// Whether process runs elevated. A process of the same user that runs
// elevated lets a normal one open it for limited queries but not open its
// token: that refusal counts as elevated ("OpenProcessToken", "Mandatory
// Integrity Control"), as does a process that may not be queried at all.
bool ProcessElevated(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  HANDLE token = nullptr;
  bool elevated;
  if (OpenProcessToken(process, TOKEN_QUERY, &token)) {
    elevated = TokenElevated(token);
    CloseHandle(token);
  } else {
    elevated = GetLastError() == ERROR_ACCESS_DENIED;
  }
  CloseHandle(process);
  return elevated;
}

}  // namespace

bool SelfElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  const bool elevated = TokenElevated(token);
  CloseHandle(token);
  return elevated;
}

bool ElevatedAboveUs(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == 0 || processId == GetCurrentProcessId()) return false;
  return ProcessElevated(processId) && !SelfElevated();
}

bool IsListedWindow(HWND window) { return GetParent(window) == nullptr && IsUserTopLevel(window); }

RuleStanding ReadRuleStanding(const WindowTable& rules, HWND window, const NamedMonitors* monitors) {
  StandingFacts facts{};
  facts.entry = monitors != nullptr ? FindWindowEntry(rules, window, monitors) : FindWindowEntry(rules, window);
  // A rule that waits for its monitor is found by matching as if every
  // monitor were connected.
  if (facts.entry < 0 && TableNamesMonitor(rules)) {
    facts.entry = FindWindowEntry(rules, window, nullptr);
    facts.monitorAbsent = facts.entry >= 0;
  }
  if (facts.entry >= 0 && !facts.monitorAbsent) {
    facts.elevatedAboveUs = ElevatedAboveUs(window);
    facts.answers = !facts.elevatedAboveUs && WindowAnswers(window);
    facts.style = static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE));
    facts.movedByUser = UserMovedSincePlaced(window);
    facts.holdGaveUp = HoldGaveUpSincePlaced(window);
  }
  return ExplainWindow(facts);
}

ReasonTexts::ReasonTexts() : text{}, views{} {
  // By RuleReason; Applies shows the entry, not a text.
  constexpr UINT kIds[kRuleReasonCount] = {0,
                                           IDS_REASON_NOENTRY,
                                           IDS_REASON_NOMONITOR,
                                           IDS_REASON_ELEVATED,
                                           IDS_REASON_NOANSWER,
                                           IDS_REASON_MINMAX,
                                           IDS_REASON_MOVED,
                                           IDS_REASON_GAVEUP};
  for (int i = 1; i < kRuleReasonCount; ++i) {
    LoadText(kIds[i], text[i]);
    views[i] = U16ViewOf(text[i]);
  }
}

}  // namespace qm
