#include <algorithm>

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

// Costs in the first months, the planned withdrawals and the yearly allowance.
class FixedTermParts {
 public:
  FixedTermParts(const ContractInput& in, const FixedTermOptions& options, int costMonths)
      : options_(options),
        costMonths_(costMonths),
        c_(in.monthlyContribution),
        lastPaidYear_(Year{in.contributionYears} - 1) {
    costShare_ = options.costShare;
    if (in.contributionDiscount > 0) costShare_ *= 1 - in.contributionDiscount;
    deductedShare_ = costShare_;
    if (in.costDiscount > 0) deductedShare_ *= 1 - in.costDiscount;
    allowance_ = options.allowanceRate * std::min(options.allowanceCap, 12 * c_);
  }

  double contributionAfterCosts(Year month, double& costs) const {
    if (month > costMonths_) return c_;
    costs += c_ * costShare_;
    return (1 - deductedShare_) * c_;
  }

  void grow(double factor) { withdrawable_ *= factor; }

  void withdrawAtYearEnd(Year y, double& balance, double& taken) {
    for (int k = 0; k < 3; ++k) {
      // Only money that was in the account a year ago can be withdrawn.
      if (y == kWithdrawalYears[k] - 1) withdrawable_ = balance;
      const double planned = options_.plannedWithdrawals[k];
      if (y == kWithdrawalYears[k] && planned > 0) {
        taken = withdrawable_ < planned ? withdrawable_ : planned;
        balance -= taken;
        withdrawable_ = 0;
      }
    }
  }

  void closeYear(Year y, ProjectionResult& result, int row, int r) const {
    if (y > lastPaidYear_) return;
    result.allowance[row][r] = allowance_;
    result.allowanceTotal += allowance_;
  }

 private:
  const FixedTermOptions& options_;
  int costMonths_;
  double c_;
  Year lastPaidYear_;
  double costShare_ = 0;
  double deductedShare_ = 0;
  double allowance_ = 0;
  double withdrawable_ = 0;
};

}  // namespace

RunOutcome projectFixedTerm(ProjectionResult& result, const ContractInput& in,
                            const FixedTermOptions& options, double growthRate, int rate) {
  FONDARIS_EXPECTS(rate >= 0 && rate < kRates);
  detail::clearRate(result, rate);

  const auto period = std::find_if(std::begin(kPeriods), std::end(kPeriods),
                                   [&](const auto& p) { return p.years == in.contributionYears; });
  if (period == std::end(kPeriods)) {
    RunOutcome outcome;
    outcome.status = RunStatus::UnsupportedPeriod;
    return outcome;
  }

  // Contributions stop a year before the period ends; the bonus window closes with it.
  const Year b = in.contributionYears;
  detail::LoopFrame frame;
  frame.lastPaidYear = b - 1;
  frame.bonusWindowStart = b - period->bonusYears + 1;
  frame.bonusWindowEnd = b;
  frame.load = options.singlePaymentLoad;
  frame.bonusRate = options.bonusRate;

  FixedTermParts parts(in, options, period->costMonths);
  return detail::runMonthlyLoop(result, in, frame, parts, growthRate, rate);
}

}  // namespace fondaris::engine
