#include "dialogs/WindowListOrder.h"

namespace qm {

int32_t NextSortDirection(int32_t current) { return current == SortAscending ? SortDescending : SortAscending; }

int CompareWindowRowTexts(U16View first, U16View second, int32_t direction) {
  const int order = U16Compare(first, second);
  return direction == SortAscending ? order : -order;
}

}  // namespace qm
