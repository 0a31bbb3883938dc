#include <algorithm>

#include "engine/precondition.h"
#include "engine/projection.h"
#include "engine/projection_internal.h"

namespace fondaris::engine {

namespace {

using detail::Year;

int bonusYears(Year period) {
  if (period < 10) return 0;
  if (period < 15) return 2;
  if (period < 20) return 3;
  if (period < 25) return 4;
  return 5;
}

// Costs spread over the first 36 months and the scheduled withdrawals.
class StandardParts {
 public:
  StandardParts(const ContractInput& in, double monthlyCost)
      : withdrawals_(in.withdrawals), c_(in.monthlyContribution), monthlyCost_(monthlyCost) {}

  double contributionAfterCosts(Year month, double& costs) const {
    if (month > kCostMonths) return c_;
    costs += monthlyCost_;
    return c_ - monthlyCost_;
  }

  void grow(double) {}

  void withdrawAtYearEnd(Year y, double& balance, double& taken) const {
    const int k = detail::firstEntry(withdrawals_, y);
    if (k < 0) return;
    const double wanted = withdrawals_.amounts[k];
    taken = wanted;
    if (balance <= wanted) {
      taken = balance;
      balance = 0;
    } else {
      balance -= wanted;
    }
  }

  void closeYear(Year, ProjectionResult&, int, int) const {}

 private:
  static constexpr Year kCostMonths = 36;

  const Schedule& withdrawals_;
  double c_;
  double monthlyCost_;
};

}  // namespace

RunOutcome projectStandard(ProjectionResult& result, const ContractInput& in,
                           const StandardOptions& options, double growthRate, int rate) {
  FONDARIS_EXPECTS(rate >= 0 && rate < kRates);
  detail::clearRate(result, rate);

  const Year b = in.contributionYears;
  const Year n = std::max<Year>(in.investmentYears, b);
  const double c = in.monthlyContribution;

  double contributionSum = static_cast<double>(b) * 12.0 * c;
  if (in.contributionDiscount > 0) contributionSum *= 1 - in.contributionDiscount;
  double plannedCosts = acquisitionCostRate(in.contributionYears) * contributionSum;
  if (in.costDiscount > 0) plannedCosts *= 1 - in.costDiscount;

  // Single-payment contracts take their bonus window from the investment period, ending at year
  // 35 at the latest.
  const int w = bonusYears(b == 0 ? n : b);
  detail::LoopFrame frame;
  frame.lastPaidYear = b;
  frame.bonusWindowEnd = b == 0 ? std::min<Year>(35, n) : b;
  frame.bonusWindowStart = frame.bonusWindowEnd - w + 1;
  // The front load is fixed, whatever the caller passes.
  frame.load = kStandardFrontLoad;
  frame.bonusRate = options.bonusRate;

  StandardParts parts(in, plannedCosts / 36);
  return detail::runMonthlyLoop(result, in, frame, parts, growthRate, rate);
}

}  // namespace fondaris::engine
