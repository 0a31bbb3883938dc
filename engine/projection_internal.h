#pragma once

// Helpers shared by the two projection variants; not part of the engine's interface.

#include <algorithm>
#include <cstdint>

#include "engine/projection.h"

namespace fondaris::engine::detail {

// Years are 64-bit inside the loops so absurd periods (near INT_MAX/INT_MIN) cannot overflow.
using Year = std::int64_t;

inline void clearRate(ProjectionResult& result, int r) {
  for (YearTable* table : {&result.fundValue, &result.allowance, &result.bonus, &result.annuity,
                           &result.surrender, &result.withdrawal, &result.topUp}) {
    for (auto& row : *table) row[r] = 0;
  }
  result.bonusTotal[r] = 0;
  result.yearlyContribution.fill(0);
  result.allowanceTotal = 0;
}

// Rows actually computed: years 1..n, never past the table.
inline int rowsToCompute(Year n) {
  return static_cast<int>(std::clamp<Year>(n, 0, kYears));
}

// Fund value of row n as reported to the caller; rows past the table read the last one.
inline double fundValueOfRow(const ProjectionResult& result, Year n, int r) {
  if (n < 1) return 0;
  return result.fundValue[rowsToCompute(n) - 1][r];
}

// Index of the first entry for year y with a positive amount, or -1.
inline int firstEntry(const Schedule& schedule, Year y) {
  for (int k = 0; k < kScheduleEntries; ++k) {
    if (schedule.years[k] == y && schedule.amounts[k] > 0) return k;
  }
  return -1;
}

}  // namespace fondaris::engine::detail
