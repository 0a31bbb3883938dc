// Standard projection for one rate. Most cases use growth 0 so every figure can be checked by hand.
#include "engine/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace fondaris::engine {
namespace {

constexpr double kTol = 1e-6;
constexpr int kRate = 2;  // any column; the others must stay untouched

class StandardProjection : public testing::Test {
 protected:
  static ContractInput contract(int b, int n, double c) {
    ContractInput in;
    in.contributionYears = b;
    in.investmentYears = n;
    in.monthlyContribution = c;
    return in;
  }

  RunOutcome run(const ContractInput& in, double g = 0) {
    return projectStandard(*result, in, StandardOptions{}, g, kRate);
  }

  double fund(int year) const { return result->fundValue[year - 1][kRate]; }
  double bonus(int year) const { return result->bonus[year - 1][kRate]; }

  std::unique_ptr<ProjectionResult> result = std::make_unique<ProjectionResult>();
};

// B = 12, c = 100: K = 14400, costs 0.06825 x 14400 = 982.8, i.e. 27.3 a month in months 1..36.
TEST_F(StandardProjection, TwelveYearsWithoutGrowth) {
  const RunOutcome out = run(contract(12, 12, 100));

  EXPECT_EQ(out.status, RunStatus::Projected);
  EXPECT_NEAR(out.acquisitionCosts, 982.8, kTol);
  EXPECT_NEAR(fund(1), 12 * (100 - 27.3), kTol);   // 872.4
  EXPECT_NEAR(fund(3), 3 * 872.4, kTol);           // 2617.2
  EXPECT_NEAR(fund(4), 2617.2 + 1200, kTol);       // costs end after month 36
  EXPECT_NEAR(fund(12), 2617.2 + 9 * 1200, kTol);  // 13417.2, bonus is reported apart
  EXPECT_NEAR(out.fundValueAtEnd, 13417.2, kTol);
  for (int y = 1; y <= 12; ++y) EXPECT_NEAR(result->yearlyContribution[y - 1], 1200, kTol) << y;
  EXPECT_EQ(result->yearlyContribution[12], 0);

  // Two bonus years (11, 12): 0.01 / 12 x the twelve month-end balances of the year.
  // Year 11 starts at 11017.2: 12 x 11017.2 + 100 x (1 + ... + 12) = 140006.4.
  // Year 12 starts at 12217.2: 12 x 12217.2 + 7800 = 154406.4.
  EXPECT_EQ(bonus(10), 0);
  EXPECT_NEAR(bonus(11), 140006.4 / 1200, kTol);
  EXPECT_NEAR(bonus(12), 154406.4 / 1200, kTol);
  EXPECT_NEAR(out.bonusSum, (140006.4 + 154406.4) / 1200, kTol);
  EXPECT_NEAR(result->bonusTotal[kRate], out.bonusSum, kTol);
  EXPECT_EQ(result->allowanceTotal, 0);
}

TEST_F(StandardProjection, DiscountsReduceCosts) {
  struct Case {
    double d1, d2, costs;
  };
  // 0.06825 x 14400 x (1 - d1) x (1 - d2).
  const Case cases[] = {
      {0, 0, 982.8}, {0.1, 0, 884.52}, {0, 0.5, 491.4}, {0.1, 0.5, 442.26}, {-0.2, -0.5, 982.8}};
  for (const auto& c : cases) {
    ContractInput in = contract(12, 12, 100);
    in.contributionDiscount = c.d1;
    in.costDiscount = c.d2;
    const RunOutcome out = run(in);
    EXPECT_NEAR(out.acquisitionCosts, c.costs, kTol) << c.d1 << " " << c.d2;
    // The full contribution goes in; only the costs shrink.
    EXPECT_NEAR(fund(12), 14400 - c.costs, kTol) << c.d1 << " " << c.d2;
  }
}

// A single payment gets one bonus at the end of year N, from the balances of the W years of a
// window that ends at year min(35, N). E' = 0.945 x 10000 = 9450.
TEST_F(StandardProjection, SinglePaymentBonusWindow) {
  struct Case {
    int n;
    int withdrawalYear;
    double bonus;
    const char* why;
  };
  const Case cases[] = {
      {9, 0, 0, "N < 10: no bonus years"},
      {14, 0, 24 * 9450 / 1200.0, "2 years"},
      {20, 0, 48 * 9450 / 1200.0, "4 years: 378"},
      // Window 31..35; 1000 withdrawn at the end of year 33 lowers the last 25 month balances.
      {40, 33, (35 * 9450 + 25 * 8450) / 1200.0, "window ends at 35"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    ContractInput in = contract(0, c.n, 0);
    in.singlePayment = 10000;
    in.withdrawals.years = {c.withdrawalYear};
    in.withdrawals.amounts = {c.withdrawalYear ? 1000.0 : 0.0};
    const RunOutcome out = run(in);

    const double end = c.withdrawalYear ? 8450 : 9450;
    EXPECT_NEAR(fund(1), 9450, kTol);
    EXPECT_NEAR(fund(c.n), end, kTol);
    EXPECT_NEAR(out.fundValueAtEnd, end, kTol);
    EXPECT_EQ(out.acquisitionCosts, 0);
    EXPECT_NEAR(bonus(c.n), c.bonus, kTol);
    EXPECT_NEAR(out.bonusSum, c.bonus, kTol);
    for (int y = 1; y < c.n; ++y) EXPECT_EQ(bonus(y), 0) << y;
    for (int i = 0; i < kYears; ++i) EXPECT_EQ(result->yearlyContribution[i], 0) << i;
  }
}

// B = 0, E = 1000 gives a constant 945; the withdrawal comes at the end of year 2.
TEST_F(StandardProjection, WithdrawalNeverExceedsBalance) {
  struct Case {
    double amount;
    double taken;
    double left;
  };
  const Case cases[] = {{5000, 945, 0}, {945, 945, 0}, {100, 100, 845}};
  for (const auto& c : cases) {
    ContractInput in = contract(0, 3, 0);
    in.singlePayment = 1000;
    in.withdrawals.years = {2, 2};
    in.withdrawals.amounts = {c.amount, 1};  // the second entry for the year is ignored
    run(in);
    EXPECT_NEAR(result->withdrawal[1][kRate], c.taken, kTol) << c.amount;
    EXPECT_NEAR(fund(2), c.left, kTol) << c.amount;
    EXPECT_NEAR(fund(3), c.left, kTol) << c.amount;
    EXPECT_NEAR(result->withdrawalSum(kRate), c.taken, kTol) << c.amount;
  }
}

TEST_F(StandardProjection, OnlyFirstPositiveTopUpOfAYearApplies) {
  ContractInput in = contract(0, 2, 0);
  in.topUps.years = {1, 1, 1, 2};
  in.topUps.amounts = {0, 1000, 500, 200};  // a zero amount marks an unused entry
  run(in);
  EXPECT_NEAR(result->topUp[0][kRate], 1000, kTol);
  EXPECT_NEAR(fund(1), 945, kTol);  // 0.945 x 1000
  EXPECT_NEAR(result->topUp[1][kRate], 200, kTol);
  EXPECT_NEAR(fund(2), 945 + 189, kTol);
  EXPECT_NEAR(result->topUpSum(kRate), 1200, kTol);
}

// Growth 0: only contributions, costs, loads and withdrawals move the balance.
// B = 5, c = 50: costs 0.06558 x 3000 = 196.74; E' = 1890; top-up nets 945.
TEST_F(StandardProjection, ZeroGrowthOnlyMovesByCashFlows) {
  ContractInput in = contract(5, 8, 50);
  in.singlePayment = 2000;
  in.topUps.years = {3};
  in.topUps.amounts = {1000};
  in.withdrawals.years = {6};
  in.withdrawals.amounts = {500};
  const RunOutcome out = run(in);
  EXPECT_NEAR(out.acquisitionCosts, 196.74, kTol);
  EXPECT_NEAR(fund(5), 1890 + 3000 - 196.74 + 945, kTol);
  EXPECT_NEAR(fund(6), 5638.26 - 500, kTol);
  EXPECT_NEAR(fund(8), 5138.26, kTol);
  EXPECT_EQ(out.bonusSum, 0);  // B < 10
}

TEST_F(StandardProjection, MonthlyGrowthCompoundsToTheYearlyRate) {
  ContractInput in = contract(0, 2, 0);
  in.singlePayment = 1000;
  run(in, 0.12);
  EXPECT_NEAR(fund(1), 945 * 1.12, 1e-9);
  EXPECT_NEAR(fund(2), 945 * 1.12 * 1.12, 1e-9);
}

// The increase is rounded to cents each year: 100, 103, 106.09, 109.27, 112.55 (not 112.5509).
TEST_F(StandardProjection, YearlyIncreaseRoundsEachYear) {
  ContractInput in = contract(5, 6, 100);
  in.yearlyIncrease = 0.03;
  const RunOutcome out = run(in);
  const double expected[] = {1200, 1236, 1273.08, 1311.24, 1350.6, 0};
  for (int y = 1; y <= 6; ++y) {
    EXPECT_NEAR(result->yearlyContribution[y - 1], expected[y - 1], kTol) << y;
  }
  // Costs still come from c: 0.06558 x 6000.
  EXPECT_NEAR(out.acquisitionCosts, 393.48, kTol);
  EXPECT_NEAR(fund(5), 6370.92 - 393.48, kTol);
  EXPECT_NEAR(fund(6), 6370.92 - 393.48, kTol);
}

// After B the account and the credited bonus S both grow by (1 + g) a year, and only the
// bonus's growth joins the fund value: FV(B + k) = (FV(B) + S) x (1 + g)^k - S.
TEST_F(StandardProjection, BonusGrowthAfterContributionPeriod) {
  const double g = 0.06;
  const RunOutcome out = run(contract(12, 15, 100), g);
  const double s = out.bonusSum;
  ASSERT_GT(s, 0);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_NEAR(fund(12 + k), (fund(12) + s) * std::pow(1 + g, k) - s, 1e-6) << k;
    EXPECT_EQ(bonus(12 + k), 0) << k;
  }
}

TEST_F(StandardProjection, RunClearsOnlyItsOwnColumn) {
  result->fundValue[50][kRate] = 1;
  result->withdrawal[50][kRate] = 1;
  result->bonus[50][kRate] = 1;
  result->fundValue[50][0] = 7;
  result->yearlyContribution[50] = 9;
  run(contract(10, 10, 100));
  EXPECT_EQ(fund(51), 0);
  EXPECT_EQ(result->withdrawal[50][kRate], 0);
  EXPECT_EQ(bonus(51), 0);
  EXPECT_EQ(result->yearlyContribution[50], 0);
  EXPECT_EQ(result->fundValue[50][0], 7);
}

}  // namespace
}  // namespace fondaris::engine
