// Fixed-term projection for one rate; growth 0 so every figure can be checked by hand.
#include "engine/projection.h"

#include <gtest/gtest.h>

#include <memory>

namespace fondaris::engine {
namespace {

constexpr double kTol = 1e-6;
constexpr int kRate = 1;

class FixedTermProjection : public testing::Test {
 protected:
  static ContractInput contract(int b, int n, double c) {
    ContractInput in;
    in.contributionYears = b;
    in.investmentYears = n;
    in.monthlyContribution = c;
    return in;
  }

  RunOutcome run(const ContractInput& in, const FixedTermOptions& options = {}) {
    return projectFixedTerm(*result, in, options, 0, kRate);
  }

  double fund(int year) const { return result->fundValue[year - 1][kRate]; }

  std::unique_ptr<ProjectionResult> result = std::make_unique<ProjectionResult>();
};

// B = 7, c = 100: contributions in years 1..6; months 1..9 carry 0.8 x 100 costs, so year 1
// nets 9 x 20 + 3 x 100 = 480 and years 2..6 add 1200 each (6480 at the end of year 6).
TEST_F(FixedTermProjection, SevenYearsWithPlannedWithdrawal) {
  FixedTermOptions options;
  options.plannedWithdrawals = {500, 0, 0};
  const RunOutcome out = run(contract(7, 8, 100), options);

  EXPECT_EQ(out.status, RunStatus::Projected);
  EXPECT_NEAR(out.acquisitionCosts, 720, kTol);
  EXPECT_NEAR(fund(1), 480, kTol);
  EXPECT_NEAR(fund(6), 6480, kTol);
  EXPECT_NEAR(fund(7), 5980, kTol);
  EXPECT_NEAR(result->withdrawal[6][kRate], 500, kTol);
  EXPECT_NEAR(out.fundValueAtEnd, 5980, kTol);
  EXPECT_EQ(out.bonusSum, 0);  // no bonus years for B = 7

  // Allowance 0.2 x min(400, 1200) = 80 for each contribution year.
  for (int y = 1; y <= 6; ++y) {
    EXPECT_NEAR(result->allowance[y - 1][kRate], 80, kTol) << y;
    EXPECT_NEAR(result->yearlyContribution[y - 1], 1200, kTol) << y;
  }
  EXPECT_EQ(result->allowance[6][kRate], 0);
  EXPECT_EQ(result->yearlyContribution[6], 0);
  EXPECT_NEAR(result->allowanceTotal, 480, kTol);
  EXPECT_NEAR(out.allowanceSum, 480, kTol);
}

// What is paid in during the withdrawal year is not withdrawable: the top-up of year 7
// (0.9425 x 1000 after the 5.75 % load) stays even when far more is planned.
TEST_F(FixedTermProjection, TopUpOfWithdrawalYearStays) {
  FixedTermOptions options;
  options.plannedWithdrawals = {100000, 0, 0};
  options.singlePaymentLoad = 0.0575;
  ContractInput in = contract(7, 8, 100);
  in.topUps.years = {7};
  in.topUps.amounts = {1000};
  run(in, options);
  EXPECT_NEAR(result->withdrawal[6][kRate], 6480, kTol);
  EXPECT_NEAR(fund(7), 942.5, kTol);
  EXPECT_NEAR(result->topUp[6][kRate], 1000, kTol);
}

// B = 19: 27 cost months, so year 1: 240, year 2: 240, year 3: 3 x 20 + 9 x 100 = 960.
// End of year 12: 1440 + 9 x 1200 = 12240 = H. Year 13: +1200, 1000 withdrawn -> 12440.
// End of year 18: 18440 = H; year 19 has no contribution and 20000 planned, so H goes.
TEST_F(FixedTermProjection, LaterWithdrawalsAndBonus) {
  FixedTermOptions options;
  options.plannedWithdrawals = {0, 1000, 20000};
  const RunOutcome out = run(contract(19, 20, 100), options);

  EXPECT_NEAR(out.acquisitionCosts, 27 * 80, kTol);
  EXPECT_EQ(result->withdrawal[6][kRate], 0);
  EXPECT_NEAR(fund(12), 12240, kTol);
  EXPECT_NEAR(result->withdrawal[12][kRate], 1000, kTol);
  EXPECT_NEAR(fund(13), 12440, kTol);
  EXPECT_NEAR(fund(18), 18440, kTol);
  EXPECT_NEAR(result->withdrawal[18][kRate], 18440, kTol);
  EXPECT_NEAR(fund(19), 0, kTol);
  EXPECT_NEAR(result->withdrawalSum(kRate), 19440, kTol);

  // Bonus years 17..19, month-end balances:
  // 17: 12 x 16040 + 7800 = 200280; 18: 12 x 17240 + 7800 = 214680; 19: 11 x 18440 + 0.
  EXPECT_NEAR(result->bonus[16][kRate], 200280 / 1200.0, kTol);
  EXPECT_NEAR(result->bonus[17][kRate], 214680 / 1200.0, kTol);
  EXPECT_NEAR(result->bonus[18][kRate], 202840 / 1200.0, kTol);
  EXPECT_NEAR(out.bonusSum, 617800 / 1200.0, kTol);
  EXPECT_NEAR(out.allowanceSum, 18 * 80, kTol);
}

// B = 13: 18 cost months; end of year 2 at 960, year 12 at 12960; bonus years 12 and 13.
TEST_F(FixedTermProjection, ThirteenYearsBonusWindow) {
  const RunOutcome out = run(contract(13, 14, 100));
  EXPECT_NEAR(out.acquisitionCosts, 18 * 80, kTol);
  EXPECT_NEAR(fund(2), 960, kTol);
  EXPECT_NEAR(fund(13), 12960, kTol);
  EXPECT_EQ(result->bonus[10][kRate], 0);
  EXPECT_NEAR(result->bonus[11][kRate], (12 * 11760 + 7800) / 1200.0, kTol);  // 124.1
  EXPECT_NEAR(result->bonus[12][kRate], 12 * 12960 / 1200.0, kTol);           // 129.6
  EXPECT_NEAR(out.bonusSum, 253.7, kTol);
  EXPECT_NEAR(out.fundValueAtEnd, 12960, kTol);  // growth 0: the credited bonus adds nothing
  EXPECT_NEAR(out.allowanceSum, 12 * 80, kTol);
}

// The contribution discount lowers the cost share s (and the booked costs); the cost discount
// lowers only the part deducted from the account. B = 7: 9 cost months in year 1.
TEST_F(FixedTermProjection, DiscountsOnCostMonths) {
  struct Case {
    double d1, d2;
    double costs;    // 9 x 100 x s
    double yearOne;  // 9 x (1 - s') x 100 + 300
  };
  const Case cases[] = {
      {0, 0, 720, 480}, {0.1, 0, 648, 552}, {0, 0.5, 720, 840}, {0.1, 0.5, 648, 876}};
  for (const auto& c : cases) {
    ContractInput in = contract(7, 7, 100);
    in.contributionDiscount = c.d1;
    in.costDiscount = c.d2;
    const RunOutcome out = run(in);
    EXPECT_NEAR(out.acquisitionCosts, c.costs, kTol) << c.d1 << " " << c.d2;
    EXPECT_NEAR(fund(1), c.yearOne, kTol) << c.d1 << " " << c.d2;
  }
}

TEST_F(FixedTermProjection, AllowanceIsCapped) {
  run(contract(7, 7, 50));  // 12 x 50 = 600 -> cap 400 -> 80
  EXPECT_NEAR(result->allowance[0][kRate], 80, kTol);
  run(contract(7, 7, 20));  // 240 -> 48
  EXPECT_NEAR(result->allowance[0][kRate], 48, kTol);
  EXPECT_NEAR(result->allowanceTotal, 6 * 48, kTol);  // each run starts its own total
}

TEST_F(FixedTermProjection, UnsupportedPeriodClearsItsColumn) {
  for (int b : {10, 0, 6, 8, 26, -7}) {
    SCOPED_TRACE(b);
    for (YearTable* t : {&result->fundValue, &result->allowance, &result->bonus,
                         &result->withdrawal, &result->topUp}) {
      (*t)[3][kRate] = 5;
      (*t)[3][0] = 6;
    }
    result->yearlyContribution[3] = 1200;
    result->bonusTotal[kRate] = 5;

    ContractInput in = contract(b, 20, 100);
    in.singlePayment = 1000;
    in.topUps.years = {1};
    in.topUps.amounts = {1000};
    const RunOutcome out = run(in);

    EXPECT_EQ(out.status, RunStatus::UnsupportedPeriod);
    EXPECT_EQ(out.acquisitionCosts, 0);
    EXPECT_EQ(out.fundValueAtEnd, 0);
    for (const YearTable* t : {&result->fundValue, &result->allowance, &result->bonus,
                               &result->withdrawal, &result->topUp}) {
      for (int i = 0; i < kYears; ++i) EXPECT_EQ((*t)[i][kRate], 0) << i;
      EXPECT_EQ((*t)[3][0], 6);  // other rates untouched
    }
    EXPECT_EQ(result->yearlyContribution[3], 0);
    EXPECT_EQ(result->bonusTotal[kRate], 0);
  }
}

}  // namespace
}  // namespace fondaris::engine
