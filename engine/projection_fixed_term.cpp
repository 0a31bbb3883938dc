#include <algorithm>
#include <cmath>

#include "engine/precondition.h"
#include "engine/projection.h"
#include "engine/projection_internal.h"

namespace fondaris::engine {

namespace {

using detail::Year;

struct FixedTermPeriod {
  int years;       // contribution period B
  int costMonths;  // months that carry acquisition costs
  int bonusYears;  // loyalty bonus window at the end of the period
};

constexpr FixedTermPeriod kPeriods[] = {{7, 9, 0}, {13, 18, 2}, {19, 27, 3}, {25, 36, 4}};

// The withdrawable amount is fixed at the end of the year before each withdrawal year.
constexpr Year kWithdrawalYears[] = {7, 13, 19};

}  // namespace

RunOutcome projectFixedTerm(ProjectionResult& result, const ContractInput& in,
                            const FixedTermOptions& options, double growthRate, int rate) {
  FONDARIS_EXPECTS(rate >= 0 && rate < kRates);
  RunOutcome outcome;
  const int r = rate;
  detail::clearRate(result, r);

  const auto period = std::find_if(std::begin(kPeriods), std::end(kPeriods),
                                   [&](const auto& p) { return p.years == in.contributionYears; });
  if (period == std::end(kPeriods)) {
    outcome.status = RunStatus::UnsupportedPeriod;
    return outcome;
  }

  const Year b = in.contributionYears;
  const Year n = std::max<Year>(in.investmentYears, b);
  const double c = in.monthlyContribution;

  double costShare = options.costShare;
  if (in.contributionDiscount > 0) costShare *= 1 - in.contributionDiscount;
  double deductedShare = costShare;
  if (in.costDiscount > 0) deductedShare *= 1 - in.costDiscount;

  const double load = options.singlePaymentLoad;
  const double singlePayment = round2((1 - load) * in.singlePayment);
  double balance = singlePayment > 0 ? singlePayment : 0;
  double withdrawable = 0;

  const Year windowStart = b - period->bonusYears + 1;
  const double allowance = options.allowanceRate * std::min(options.allowanceCap, 12 * c);

  const double factor = std::pow(1 + growthRate, 1.0 / 12);
  const double d = in.yearlyIncrease;
  double current = c;
  double bonusBase = 0;
  double bonusGrowth = 0;
  double bonusSum = 0;
  double costs = 0;

  const int rows = detail::rowsToCompute(n);
  for (Year y = 1; y <= rows; ++y) {
    const int row = static_cast<int>(y) - 1;
    for (int m = 1; m <= 12; ++m) {
      if (y < b) {
        if ((y - 1) * 12 + m <= period->costMonths) {
          balance += (1 - deductedShare) * c;
          costs += c * costShare;
        } else {
          balance += c;
        }
        if (d > 0 && y > 1) {
          if (m == 1) current = round2((1 + d) * current);
          balance += current - c;
        }
      }

      if (m == 1) {
        if (int k = detail::firstEntry(in.topUps, y); k >= 0) {
          const double gross = in.topUps.amounts[k];
          balance += round2((1 - load) * gross);
          result.topUp[row][r] = gross;
        }
      }

      balance *= factor;
      withdrawable *= factor;

      if (m == 12) {
        for (int k = 0; k < 3; ++k) {
          // Only money that was in the account a year ago can be withdrawn.
          if (y == kWithdrawalYears[k] - 1) withdrawable = balance;
          const double planned = options.plannedWithdrawals[k];
          if (y == kWithdrawalYears[k] && planned > 0) {
            const double taken = withdrawable < planned ? withdrawable : planned;
            balance -= taken;
            result.withdrawal[row][r] = taken;
            withdrawable = 0;
          }
        }
      }

      if (y >= windowStart && y <= b) {
        bonusBase += balance;
      } else if (y > b) {
        if (bonusBase == 0) bonusBase = bonusSum;
        bonusGrowth += bonusBase * factor - bonusBase;
        bonusBase *= factor;
      }
    }

    result.fundValue[row][r] = balance;
    if (y > b) {
      result.fundValue[row][r] += bonusGrowth;
    } else {
      const double bonus = bonusBase * options.bonusRate / 12;
      result.bonus[row][r] = bonus;
      bonusSum += bonus;
      bonusBase = 0;
      bonusGrowth = 0;
    }
    if (y < b) {
      result.allowance[row][r] = allowance;
      result.allowanceTotal += allowance;
    }
    result.yearlyContribution[row] = y < b ? 12 * current : 0;
  }

  result.bonusTotal[r] = bonusSum;
  outcome.acquisitionCosts = costs;
  outcome.fundValueAtEnd = detail::fundValueOfRow(result, n, r);
  outcome.bonusSum = bonusSum;
  outcome.allowanceSum = result.allowanceTotal;
  return outcome;
}

}  // namespace fondaris::engine
