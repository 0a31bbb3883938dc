// Result accessors, the acquisition cost table, the driver and the guards against absurd periods.
#include "engine/projection.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "core/result.h"

namespace fondaris::engine {
namespace {

constexpr double kTol = 1e-6;

TEST(AcquisitionCostRate, TableRowsAndFallback) {
  struct Case {
    int n;
    double rate;
  };
  const Case cases[] = {
      {-1, 0.055},  // the standard variant's front load
      {0, 0.055},    {4, 0.055},    {5, 0.06558}, {7, 0.0669}, {12, 0.06825},    {20, 0.069},
      {25, 0.06924}, {29, 0.06936}, {35, 0.0695}, {36, 0.055}, {INT_MAX, 0.055}, {INT_MIN, 0.055},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(acquisitionCostRate(c.n), c.rate) << "n=" << c.n;
}

TEST(ProjectionResult, AccessorsGuardIndicesAndRound) {
  auto result = std::make_unique<ProjectionResult>();
  result->fundValue[0][0] = 12.3449;
  result->fundValue[1][0] = 12.3451;
  result->fundValue[2][0] = -5;
  result->fundValue[109][4] = 7;
  result->yearlyContribution[0] = 1200;
  result->yearlyContribution[1] = -1;
  result->bonusTotal[1] = 3.14159;
  result->withdrawal[3][2] = 100;
  result->withdrawal[109][2] = 50;
  result->topUp[0][3] = 10;
  result->topUp[5][3] = 20.5;

  EXPECT_DOUBLE_EQ(result->fundValueRounded(0, 0), 12.34);
  EXPECT_DOUBLE_EQ(result->fundValueRounded(1, 0), 12.35);
  EXPECT_EQ(result->fundValueRounded(2, 0), 0);  // not positive
  EXPECT_DOUBLE_EQ(result->fundValueRounded(109, 4), 7);
  EXPECT_DOUBLE_EQ(result->contributionOfYear(0), 1200);
  EXPECT_EQ(result->contributionOfYear(1), 0);
  EXPECT_DOUBLE_EQ(result->bonusTotalRounded(1), 3.14);
  EXPECT_DOUBLE_EQ(result->withdrawalAt(3, 2), 100);
  EXPECT_DOUBLE_EQ(result->withdrawalSum(2), 150);
  EXPECT_DOUBLE_EQ(result->topUpAt(5, 3), 20.5);
  EXPECT_DOUBLE_EQ(result->topUpSum(3), 30.5);

  for (int i : {-1, 110, 1000, INT_MIN, INT_MAX}) {
    EXPECT_EQ(result->fundValueRounded(i, 0), 0) << i;
    EXPECT_EQ(result->contributionOfYear(i), 0) << i;
    EXPECT_EQ(result->withdrawalAt(i, 2), 0) << i;
    EXPECT_EQ(result->topUpAt(i, 3), 0) << i;
  }
  for (int r : {-1, 5, INT_MAX}) {
    EXPECT_EQ(result->fundValueRounded(0, r), 0) << r;
    EXPECT_EQ(result->bonusTotalRounded(r), 0) << r;
    EXPECT_EQ(result->withdrawalAt(3, r), 0) << r;
    EXPECT_EQ(result->withdrawalSum(r), 0) << r;
    EXPECT_EQ(result->topUpAt(0, r), 0) << r;
    EXPECT_EQ(result->topUpSum(r), 0) << r;
  }
}

DriverInput driverInput(int b, int n, double c, bool fixedTerm) {
  DriverInput in;
  in.contract.contributionYears = b;
  in.contract.investmentYears = n;
  in.contract.monthlyContribution = c;
  in.fixedTerm = fixedTerm;
  return in;
}

TEST(ProjectionDriver, StandardRunsFourRatesAndSumsIncreasedContributions) {
  auto result = std::make_unique<ProjectionResult>();
  DriverInput in = driverInput(5, 6, 100, false);
  in.contract.yearlyIncrease = 0.03;
  in.growthRates = {0, 0.03, 0.06, 0.09, 0.5};
  const DriverOutcome out = project(*result, in);

  // 12 x (100 + 103 + 106.09 + 109.27 + 112.55): the total follows the increase, not B x 12 x c.
  EXPECT_NEAR(out.totalContributions, 6370.92, kTol);
  // rate(5) x 6000, the same for every rate column.
  EXPECT_NEAR(out.acquisitionCosts, 393.48, kTol);
  EXPECT_NEAR(result->fundValue[4][0], 6370.92 - 393.48, kTol);
  for (int r = 1; r < kProjectedRates; ++r) {
    EXPECT_GT(result->fundValue[5][r], result->fundValue[5][r - 1]) << r;
  }
  for (int i = 0; i < kYears; ++i) EXPECT_EQ(result->fundValue[i][4], 0) << i;  // fifth rate
}

TEST(ProjectionDriver, FixedTermUsesFirstWithdrawalAmountAndLoad) {
  auto result = std::make_unique<ProjectionResult>();
  DriverInput in = driverInput(7, 8, 100, true);
  in.contract.yearlyIncrease = 0.1;
  in.contract.withdrawals.years = {99, 99, 99};  // years are ignored by this variant
  in.contract.withdrawals.amounts = {500, 0, 0};
  in.contract.singlePayment = 1000;
  in.fixedTermSinglePaymentLoad = 0.1;
  const DriverOutcome out = project(*result, in);

  // Contributions in years 1..6: 12 x (100 + 110 + 121 + 133.1 + 146.41 + 161.05).
  EXPECT_NEAR(out.totalContributions, 9258.72, kTol);
  // Nine cost months of 0.8 x 100.
  EXPECT_NEAR(out.acquisitionCosts, 720, kTol);
  // 900 net single payment + 9258.72 paid - 720 costs - 500 withdrawn.
  for (int r = 0; r < kProjectedRates; ++r) {
    EXPECT_NEAR(result->fundValue[6][r], 8938.72, kTol) << r;
    EXPECT_NEAR(result->withdrawal[6][r], 500, kTol) << r;
  }
}

TEST(ProjectionDriver, FixedTermUnsupportedPeriodLeavesClearedTables) {
  auto result = std::make_unique<ProjectionResult>();
  DriverInput in = driverInput(10, 20, 100, true);
  in.growthRates = {0.03, 0.06, 0.09, 0.12, 0};
  const DriverOutcome out = project(*result, in);
  EXPECT_EQ(out.totalContributions, 0);
  EXPECT_EQ(out.acquisitionCosts, 0);
  EXPECT_EQ(result->fundValueRounded(0, 0), 0);
}

// Periods far beyond the table must neither hang nor write past row 110.
TEST(ProjectionGuard, AbsurdPeriodsStopAtTheLastRow) {
  struct Case {
    int b;
    int n;
    bool rowsFilled;
  };
  const Case cases[] = {
      {2000000000, 2000000000, true},
      {INT_MAX, INT_MAX, true},
      {10, 500, true},
      {0, INT_MAX, true},
      {-3, -3, false},
      {INT_MIN, INT_MIN, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "B=" << c.b << " N=" << c.n);
    ContractInput in;
    in.contributionYears = c.b;
    in.investmentYears = c.n;
    in.monthlyContribution = 100;
    in.singlePayment = 1000;
    in.topUps.years = {c.b};
    in.topUps.amounts = {1000};
    auto result = std::make_unique<ProjectionResult>();
    const RunOutcome out = projectStandard(*result, in, StandardOptions{}, 0.03, 1);
    EXPECT_EQ(out.status, RunStatus::Projected);
    if (c.rowsFilled) {
      // A huge B spreads a huge cost over months 1..36, so the value may well be negative.
      EXPECT_NE(result->fundValue[109][1], 0);
      EXPECT_DOUBLE_EQ(out.fundValueAtEnd, result->fundValue[109][1]);
    } else {
      for (int i = 0; i < kYears; ++i) EXPECT_EQ(result->fundValue[i][1], 0) << i;
      EXPECT_EQ(out.fundValueAtEnd, 0);
    }

    auto fixed = std::make_unique<ProjectionResult>();
    DriverInput driver;
    driver.contract = in;
    driver.fixedTerm = true;
    driver.growthRates = {0.03, 0.06, 0.09, 0.12, 0};
    project(*fixed, driver);
  }
}

TEST(ProjectionGuard, LongFixedTermPeriodReportsRow110) {
  ContractInput in;
  in.contributionYears = 25;
  in.investmentYears = 2000000000;
  in.monthlyContribution = 100;
  auto result = std::make_unique<ProjectionResult>();
  const RunOutcome out = projectFixedTerm(*result, in, FixedTermOptions{}, 0.05, 0);
  EXPECT_EQ(out.status, RunStatus::Projected);
  EXPECT_GT(result->fundValue[109][0], result->fundValue[108][0]);
  EXPECT_DOUBLE_EQ(out.fundValueAtEnd, result->fundValue[109][0]);
}

// A rate column the table does not have is the caller's error: the run stops the program
// instead of answering with an empty outcome.
TEST(ProjectionDeathTest, RateColumnOutsideTheTableStopsTheProgram) {
  ContractInput in;
  in.contributionYears = 7;
  in.investmentYears = 7;
  in.monthlyContribution = 100;
  auto result = std::make_unique<ProjectionResult>();
  for (int rate : {-1, kRates}) {
    EXPECT_DEATH(core::ignoreFailure(projectStandard(*result, in, StandardOptions{}, 0.05, rate)),
                 "precondition failed: rate >= 0 && rate < kRates");
    EXPECT_DEATH(core::ignoreFailure(projectFixedTerm(*result, in, FixedTermOptions{}, 0.05, rate)),
                 "precondition failed: rate >= 0 && rate < kRates");
  }
}

}  // namespace
}  // namespace fondaris::engine
