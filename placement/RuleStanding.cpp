#include "placement/RuleStanding.h"

#include "placement/WindowKind.h"

namespace qm {

// A rule that waits for its monitor does not apply at all, so nothing about
// the window counts. An elevated program refuses the move before anything
// else could matter, and a program that does not answer cannot be asked
// anything more; both come before what the window's state says. The user's
// own move outranks the hold's giving up: it is the later word on where the
// window stands.
RuleStanding ExplainWindow(const StandingFacts& facts) {
  if (facts.entry < 0) return {-1, RuleReason::NoEntry};
  if (facts.monitorAbsent) return {facts.entry, RuleReason::MonitorAbsent};
  if (facts.elevatedAboveUs) return {facts.entry, RuleReason::Elevated};
  if (!facts.answers) return {facts.entry, RuleReason::NotAnswering};
  if (IsMinimizedOrMaximized(facts.style)) return {facts.entry, RuleReason::MinOrMax};
  if (facts.movedByUser) return {facts.entry, RuleReason::MovedByUser};
  if (facts.holdGaveUp) return {facts.entry, RuleReason::HoldGaveUp};
  return {facts.entry, RuleReason::Applies};
}

namespace {

// Appends text, keeping room for the terminator; returns the new length.
size_t Append(char16_t* out, size_t length, U16View text) {
  constexpr size_t kLast = kTextCapacity - 1;
  for (size_t i = 0; i < text.size() && length < kLast; ++i) out[length++] = text[i];
  out[length] = u'\0';
  return length;
}

size_t AppendEntry(char16_t* out, size_t length, const WindowTable& rules, int32_t entry) {
  char16_t number[16];
  const size_t digits = U16FormatInt(entry + 1, number);
  length = Append(out, length, U16View(number, digits));
  length = Append(out, length, u" ");
  return Append(out, length, U16ViewOf(rules.Entries[entry].Title));
}

}  // namespace

void StandingText(const RuleStanding& standing, const WindowTable& rules,
                  const U16View (&reasons)[kRuleReasonCount], char16_t* out) {
  out[0] = u'\0';
  const bool known = standing.entry >= 0 && standing.entry < rules.Count;
  if (standing.reason == RuleReason::Applies) {
    if (known) AppendEntry(out, 0, rules, standing.entry);
    return;
  }
  size_t length = Append(out, 0, reasons[static_cast<int>(standing.reason)]);
  if (!known) return;
  length = Append(out, length, u" (");
  length = AppendEntry(out, length, rules, standing.entry);
  Append(out, length, u")");
}

}  // namespace qm
