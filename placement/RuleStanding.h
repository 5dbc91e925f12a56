// Which window rule applies to a window now, or why none does or why it
// cannot be carried out: one decision over facts the Win32 layer reads only
// when someone asks (the window entry dialog's list, the /list command).
#pragma once

#include <cstdint>

#include "base/U16.h"
#include "entries/EntryTable.h"

namespace qm {

// In the order the decision tests them: the first that holds is the answer.
enum class RuleReason : uint8_t {
  Applies,        // the entry applies and placement may carry it out
  NoEntry,        // no entry of the window list matches
  MonitorAbsent,  // the only entries that match name a monitor not connected
  Elevated,       // its program runs with higher rights: moves are refused
  NotAnswering,   // its program does not answer within the bound
  MinOrMax,       // minimised or maximised: placement leaves it alone
  MovedByUser,    // the user moved or sized it since it was placed
  HoldGaveUp,     // its program moved it back more often than the hold allows
};
constexpr int kRuleReasonCount = 8;

// What the decision reads about one window. Everything after entry is read
// only when an entry matches.
struct StandingFacts {
  int32_t entry;          // the matching entry, -1 for none
  bool elevatedAboveUs;   // its process runs elevated and this one does not
  bool answers;           // its thread answered within the bound
  uint32_t style;         // GWL_STYLE
  bool movedByUser;       // moved or sized by the user since it was placed
  bool holdGaveUp;        // the hold gave up on it since it was placed
  // entry matches only as if every monitor the entries name were connected:
  // with the monitors as they are, none matches.
  bool monitorAbsent = false;
};

struct RuleStanding {
  int32_t entry;  // the matching entry, -1 for none, kept with every reason
  RuleReason reason;
};

RuleStanding ExplainWindow(const StandingFacts& facts);

// The cell text of a standing into out[kTextCapacity]: the entry, counted
// from 1, and its registered name ("3 Editor") when it applies; the reason's
// text otherwise, followed by the entry in brackets when one matched
// ("Not responding (3 Editor)"). reasons[r] is the text of RuleReason r;
// that of Applies is not used. Cut to 255 code units.
void StandingText(const RuleStanding& standing, const WindowTable& rules,
                  const U16View (&reasons)[kRuleReasonCount], char16_t* out);

}  // namespace qm
