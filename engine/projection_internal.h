#pragma once

// Helpers shared by the two projection variants; not part of the engine's interface.

#include <algorithm>
#include <cmath>
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

// What sets a variant's run apart, fixed before its first month.
struct LoopFrame {
  Year lastPaidYear = 0;      // contributions are paid in years 1..lastPaidYear
  Year bonusWindowStart = 0;  // the balances of these years make up the loyalty bonus
  Year bonusWindowEnd = 0;
  double load = 0;  // on the single payment and on top-ups
  double bonusRate = 0;
};

// The month-by-month account of one rate column, shared by both variants. `Variant` supplies
// what differs between them:
//   double contributionAfterCosts(Year month, double& costs)  month 1 is the first paid month
//   void grow(double factor)               balances the variant keeps beside the account
//   void withdrawAtYearEnd(Year y, double& balance, double& taken)
//   void closeYear(Year y, ProjectionResult& result, int row, int r)
template <class Variant>
RunOutcome runMonthlyLoop(ProjectionResult& result, const ContractInput& in, const LoopFrame& frame,
                          Variant& variant, double growthRate, int r) {
  const Year b = in.contributionYears;
  const Year n = std::max<Year>(in.investmentYears, b);
  const double c = in.monthlyContribution;

  const double singlePayment = round2((1 - frame.load) * in.singlePayment);
  double balance = singlePayment > 0 ? singlePayment : 0;

  const double factor = std::pow(1 + growthRate, 1.0 / 12);
  const double d = in.yearlyIncrease;
  double current = c;  // monthly contribution including the yearly increases
  double bonusBase = 0;
  double bonusGrowth = 0;
  double bonusSum = 0;
  double costs = 0;

  const int rows = rowsToCompute(n);
  for (Year y = 1; y <= rows; ++y) {
    const int row = static_cast<int>(y) - 1;
    for (int m = 1; m <= 12; ++m) {
      if (y <= frame.lastPaidYear) {
        balance += variant.contributionAfterCosts((y - 1) * 12 + m, costs);
        if (d > 0 && y > 1) {
          if (m == 1) current = round2((1 + d) * current);
          balance += current - c;
        }
      }

      if (m == 1) {
        if (int k = firstEntry(in.topUps, y); k >= 0) {
          const double gross = in.topUps.amounts[k];
          balance += round2((1 - frame.load) * gross);
          result.topUp[row][r] = gross;
        }
      }

      balance *= factor;
      variant.grow(factor);

      if (m == 12) variant.withdrawAtYearEnd(y, balance, result.withdrawal[row][r]);

      if (y >= frame.bonusWindowStart && y <= frame.bonusWindowEnd) {
        bonusBase += balance;
      } else if (b > 0 && y > b) {
        // After the contribution period the credited bonus grows with the fund.
        if (bonusBase == 0) bonusBase = bonusSum;
        bonusGrowth += bonusBase * factor - bonusBase;
        bonusBase *= factor;
      }
    }

    result.fundValue[row][r] = balance;
    // A single-payment contract (no contribution period) credits its bonus in its last year.
    if ((y > b || b < 1) && (y != n || b != 0)) {
      result.fundValue[row][r] += bonusGrowth;
    } else {
      const double bonus = bonusBase * frame.bonusRate / 12;
      result.bonus[row][r] = bonus;
      bonusSum += bonus;
      bonusBase = 0;
      bonusGrowth = 0;
    }
    variant.closeYear(y, result, row, r);
    result.yearlyContribution[row] = y <= frame.lastPaidYear ? 12 * current : 0;
  }

  result.bonusTotal[r] = bonusSum;
  RunOutcome outcome;
  outcome.acquisitionCosts = costs;
  outcome.fundValueAtEnd = fundValueOfRow(result, n, r);
  outcome.bonusSum = bonusSum;
  outcome.allowanceSum = result.allowanceTotal;
  return outcome;
}

}  // namespace fondaris::engine::detail
