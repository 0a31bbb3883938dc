#include "engine/projection.h"

#include <numeric>

namespace fondaris::engine {

namespace {

bool validRow(int i) {
  return i >= 0 && i < kYears;
}
bool validRate(int r) {
  return r >= 0 && r < kRates;
}

double columnSum(const YearTable& table, int r) {
  if (!validRate(r)) return 0;
  double sum = 0;
  for (const auto& row : table) sum += row[r];
  return sum;
}

}  // namespace

double ProjectionResult::fundValueRounded(int i, int r) const {
  if (!validRow(i) || !validRate(r)) return 0;
  const double value = fundValue[i][r];
  return value > 0 ? round2(value) : 0;
}

double ProjectionResult::contributionOfYear(int i) const {
  if (!validRow(i)) return 0;
  return yearlyContribution[i] < 0 ? 0 : yearlyContribution[i];
}

double ProjectionResult::bonusTotalRounded(int r) const {
  return validRate(r) ? round2(bonusTotal[r]) : 0;
}

double ProjectionResult::withdrawalAt(int i, int r) const {
  return validRow(i) && validRate(r) ? withdrawal[i][r] : 0;
}

double ProjectionResult::withdrawalSum(int r) const {
  return columnSum(withdrawal, r);
}

double ProjectionResult::topUpAt(int i, int r) const {
  return validRow(i) && validRate(r) ? topUp[i][r] : 0;
}

double ProjectionResult::topUpSum(int r) const {
  return columnSum(topUp, r);
}

double acquisitionCostRate(int n) {
  // Rates for contribution periods of 5..35 years.
  static constexpr double kTable[] = {0.06558, 0.06635, 0.0669,  0.06728, 0.0676,  0.06786, 0.06805,
                                      0.06825, 0.06838, 0.06851, 0.06862, 0.0687,  0.06881, 0.06887,
                                      0.06894, 0.069,   0.06906, 0.06911, 0.06918, 0.06919, 0.06924,
                                      0.06928, 0.0693,  0.06933, 0.06936, 0.0694,  0.06943, 0.06945,
                                      0.06946, 0.06949, 0.0695};
  static_assert(std::size(kTable) == 35 - 5 + 1);
  if (n < 5 || n > 35) return kStandardFrontLoad;
  return kTable[n - 5];
}

DriverOutcome project(ProjectionResult& result, const DriverInput& in) {
  result.yearlyContribution.fill(0);

  RunOutcome last;
  if (in.fixedTerm) {
    // The product's own cost share, bonus and allowance: the options' defaults.
    FixedTermOptions options;
    options.singlePaymentLoad = in.fixedTermSinglePaymentLoad;
    for (int k = 0; k < 3; ++k) options.plannedWithdrawals[k] = in.contract.withdrawals.amounts[k];
    // An unsupported period leaves cleared tables; the driver still reports success.
    for (int r = 0; r < kProjectedRates; ++r) {
      last = projectFixedTerm(result, in.contract, options, in.growthRates[r], r);
    }
  } else {
    const StandardOptions options;
    for (int r = 0; r < kProjectedRates; ++r) {
      last = projectStandard(result, in.contract, options, in.growthRates[r], r);
    }
  }

  DriverOutcome outcome;
  outcome.acquisitionCosts = last.acquisitionCosts;
  outcome.totalContributions =
      std::accumulate(result.yearlyContribution.begin(), result.yearlyContribution.end(), 0.0);
  return outcome;
}

}  // namespace fondaris::engine
