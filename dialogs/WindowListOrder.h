// Order of the running-window list of the window entry dialog: a click on a
// column header sorts by that column, and each column keeps its direction
// for the whole run of the program.
#pragma once

#include <cstdint>

#include "base/U16.h"

namespace qm {

// Values of CurrentWindowSortDirection, one per column (0 class, 1 title).
enum : int32_t {
  SortNone = 0,
  SortAscending = 1,
  SortDescending = 2,
};

// The direction a click on a column sets: descending after ascending,
// ascending otherwise (so the first click in a run sorts ascending).
int32_t NextSortDirection(int32_t current);

// Compares the texts of two rows in one column: ordinally by UTF-16 code
// unit, case-sensitive, so an empty title comes first and "B" before "a";
// negated unless direction is SortAscending.
int CompareWindowRowTexts(U16View first, U16View second, int32_t direction);

}  // namespace qm
