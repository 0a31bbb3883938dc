#include "engine/product_rules.h"

namespace fondaris::engine {

double heldVlContribution(double monthly) {
  if (monthly < kVlMinContribution) return kVlMinContribution;
  if (monthly > kVlMaxContribution) return kVlMaxContribution;
  return monthly;
}

double heldVlSubsidy(double subsidy, double contribution) {
  if (subsidy < 1) return 0;
  if (subsidy > contribution) return contribution;
  if (subsidy > kVlMaxSubsidy) return kVlMaxSubsidy;
  return subsidy;
}

double heldContribution(double value, ContributionMode mode) {
  if (mode == ContributionMode::SingleInvestment && value < kMinSingleInvestmentContribution)
    value = kMinSingleInvestmentContribution;
  if (value < kMinContribution) return kMinContribution;
  if (mode == ContributionMode::Monthly && value > kMaxMonthlyContribution)
    return kMaxMonthlyContribution;
  return value;
}

double startPaymentCostBase(double contribution, int contributionYears, double agentDiscount) {
  return kStandardFrontLoad * (1 - agentDiscount) * 12 * contributionYears * contribution;
}

}  // namespace fondaris::engine
