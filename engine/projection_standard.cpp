#include <algorithm>
#include <cmath>

#include "engine/precondition.h"
#include "engine/projection.h"
#include "engine/projection_internal.h"

namespace fondaris::engine {

namespace {

using detail::Year;

// The standard variant's load on single payments and top-ups, whatever the caller passes.
constexpr double kFrontLoad = 0.055;

int bonusYears(Year period) {
  if (period < 10) return 0;
  if (period < 15) return 2;
  if (period < 20) return 3;
  if (period < 25) return 4;
  return 5;
}

}  // namespace

RunOutcome projectStandard(ProjectionResult& result, const ContractInput& in,
                           const StandardOptions& options, double growthRate, int rate) {
  FONDARIS_EXPECTS(rate >= 0 && rate < kRates);
  RunOutcome outcome;
  const int r = rate;
  detail::clearRate(result, r);

  const Year b = in.contributionYears;
  const Year n = std::max<Year>(in.investmentYears, b);
  const double c = in.monthlyContribution;

  double contributionSum = static_cast<double>(b) * 12.0 * c;
  if (in.contributionDiscount > 0) contributionSum *= 1 - in.contributionDiscount;
  double plannedCosts = acquisitionCostRate(in.contributionYears) * contributionSum;
  if (in.costDiscount > 0) plannedCosts *= 1 - in.costDiscount;
  const double monthlyCost = plannedCosts / 36;

  const double singlePayment = round2((1 - kFrontLoad) * in.singlePayment);
  double balance = singlePayment > 0 ? singlePayment : 0;

  // Single-payment contracts take their bonus window from the investment period, ending at year
  // 35 at the latest.
  const int w = bonusYears(b == 0 ? n : b);
  const Year windowEnd = b == 0 ? std::min<Year>(35, n) : b;
  const Year windowStart = windowEnd - w + 1;

  const double factor = std::pow(1 + growthRate, 1.0 / 12);
  const double d = in.yearlyIncrease;
  double current = c;  // monthly contribution including the yearly increases
  double bonusBase = 0;
  double bonusGrowth = 0;
  double bonusSum = 0;
  double costs = 0;

  const int rows = detail::rowsToCompute(n);
  for (Year y = 1; y <= rows; ++y) {
    const int row = static_cast<int>(y) - 1;
    for (int m = 1; m <= 12; ++m) {
      if (y <= b) {
        if ((y - 1) * 12 + m > 36) {
          balance += c;
        } else {
          balance += c - monthlyCost;
          costs += monthlyCost;
        }
        if (d > 0 && y > 1) {
          if (m == 1) current = round2((1 + d) * current);
          balance += current - c;
        }
      }

      if (m == 1) {
        if (int k = detail::firstEntry(in.topUps, y); k >= 0) {
          const double gross = in.topUps.amounts[k];
          balance += round2((1 - kFrontLoad) * gross);
          result.topUp[row][r] = gross;
        }
      }

      balance *= factor;

      if (m == 12) {
        if (int k = detail::firstEntry(in.withdrawals, y); k >= 0) {
          const double wanted = in.withdrawals.amounts[k];
          double taken = wanted;
          if (balance <= wanted) {
            taken = balance;
            balance = 0;
          } else {
            balance -= wanted;
          }
          result.withdrawal[row][r] = taken;
        }
      }

      if (y >= windowStart && y <= windowEnd) {
        bonusBase += balance;
      } else if (b > 0 && y > b) {
        // After the contribution period the credited bonus grows with the fund.
        if (bonusBase == 0) bonusBase = bonusSum;
        bonusGrowth += bonusBase * factor - bonusBase;
        bonusBase *= factor;
      }
    }

    result.fundValue[row][r] = balance;
    if ((y > b || b < 1) && (y != n || b != 0)) {
      result.fundValue[row][r] += bonusGrowth;
    } else {
      const double bonus = bonusBase * options.bonusRate / 12;
      result.bonus[row][r] = bonus;
      bonusSum += bonus;
      bonusBase = 0;
      bonusGrowth = 0;
    }
    result.yearlyContribution[row] = y <= b ? 12 * current : 0;
  }

  result.bonusTotal[r] = bonusSum;
  outcome.acquisitionCosts = costs;
  outcome.fundValueAtEnd = detail::fundValueOfRow(result, n, r);
  outcome.bonusSum = bonusSum;
  return outcome;
}

}  // namespace fondaris::engine
