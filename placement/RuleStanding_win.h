// Reading a window's rule standing from the window system, only when asked.
#pragma once

#include <windows.h>

#include "entries/EntryTable.h"
#include "placement/MonitorNames.h"
#include "placement/RuleStanding.h"

namespace qm {

// The standing of window under rules. Reads the window's class, title and
// (when a rule names one) program; only for a window that an entry matches
// also its process's elevation, whether its thread answers (waiting at most
// the placement bound) and its style.
// monitors: the names read beforehand (once for a pass over many windows),
// null to read them when a matching rule names a monitor.
RuleStanding ReadRuleStanding(const WindowTable& rules, HWND window, const NamedMonitors* monitors = nullptr);

// Whether this process runs elevated.
bool SelfElevated();
// Whether window's program runs elevated while this process does not, so
// that Windows refuses this process's moves of it.
bool ElevatedAboveUs(HWND window);

// The windows a user would pick a rule from: the top-level user windows
// without an owner (IsUserTopLevel), as the window entry dialog lists them.
bool IsListedWindow(HWND window);

// The reason texts from the resources, for StandingText.
struct ReasonTexts {
  char16_t text[kRuleReasonCount][kTextCapacity];
  U16View views[kRuleReasonCount];
  ReasonTexts();
};

}  // namespace qm
