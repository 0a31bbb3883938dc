// The contribution limits the contract form holds its fields to, and the cost base of a payment
// at the start.
#include "engine/product_rules.h"

#include <gtest/gtest.h>

#include "engine/projection.h"

namespace fondaris::engine {
namespace {

TEST(ProductRules, VlContributionAndSubsidyStayWithinTheirLimits) {
  struct Case {
    double contribution;
    double held;
  };
  const Case contributions[] = {
      {-5, 34}, {0, 34}, {20, 34}, {33.99, 34}, {34, 34}, {51, 51}, {74, 74}, {74.01, 74}, {80, 74},
  };
  for (const Case& c : contributions)
    EXPECT_DOUBLE_EQ(heldVlContribution(c.contribution), c.held) << c.contribution;

  struct SubsidyCase {
    double subsidy;
    double contribution;
    double held;
  };
  const SubsidyCase subsidies[] = {
      {0.99, 74, 0},                // less than a euro is no subsidy
      {1, 74, 1},    {60, 40, 40},  // never more than the contribution
      {74, 74, 74},  {80, 74, 74},
      {80, 100, 74},  // an unchecked contribution above the ceiling: the ceiling holds
  };
  for (const SubsidyCase& c : subsidies)
    EXPECT_DOUBLE_EQ(heldVlSubsidy(c.subsidy, c.contribution), c.held)
        << c.subsidy << " of " << c.contribution;
}

TEST(ProductRules, SecondVariantContributionFollowsItsMode) {
  using enum ContributionMode;
  struct Case {
    ContributionMode mode;
    double value;
    double held;
  };
  const Case cases[] = {
      {Monthly, 10, 25},
      {Monthly, 25, 25},
      {Monthly, 5000, 5000},
      {Monthly, 5000.01, 5000},
      {SingleInvestment, 0, 500},
      {SingleInvestment, 499, 500},
      {SingleInvestment, 7000, 7000},  // no ceiling for a single investment
      {Unchosen, 10, 25},
      {Unchosen, 7000, 7000},  // only the general minimum
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(heldContribution(c.value, c.mode), c.held)
        << static_cast<int>(c.mode) << ": " << c.value;
}

TEST(ProductRules, StartPaymentCostBaseIsTheFlatFrontLoadOfTheDiscountedSum) {
  // 0,055 × 12 × 30 × 100 = 1.980; a 10 % discount takes a tenth of it.
  EXPECT_DOUBLE_EQ(startPaymentCostBase(100, 30, 0), 1980);
  EXPECT_DOUBLE_EQ(startPaymentCostBase(100, 30, 0.1), 1782);
  EXPECT_EQ(startPaymentCostBase(100, 0, 0), 0);
  // Below what the projection charges for the same period.
  EXPECT_LT(startPaymentCostBase(100, 30, 0), acquisitionCostRate(30) * 12 * 30 * 100);
}

}  // namespace
}  // namespace fondaris::engine
