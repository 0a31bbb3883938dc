// Four-rate projections over the full 110 years, as the batch entry and the contract form run them.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/projection.h"

namespace {

using fondaris::engine::DriverInput;
using fondaris::engine::ProjectionResult;

void runProjection(benchmark::State& state, const DriverInput& in) {
  auto result = std::make_unique<ProjectionResult>();
  for (auto _ : state) {
    auto outcome = fondaris::engine::project(*result, in);
    benchmark::DoNotOptimize(outcome);
    benchmark::ClobberMemory();
  }
}

void BM_ProjectStandard(benchmark::State& state) {
  DriverInput in;
  in.contract.contributionYears = 40;
  in.contract.investmentYears = 110;
  in.contract.monthlyContribution = 100;
  in.contract.yearlyIncrease = 0.05;
  in.contract.singlePayment = 5000;
  in.contract.topUps.years = {5, 10, 20};
  in.contract.topUps.amounts = {2000, 3000, 5000};
  in.contract.withdrawals.years = {15, 30, 60};
  in.contract.withdrawals.amounts = {1000, 4000, 20000};
  in.growthRates = {0.03, 0.06, 0.09, 0.12, 0};
  runProjection(state, in);
}
BENCHMARK(BM_ProjectStandard);

void BM_ProjectFixedTerm(benchmark::State& state) {
  DriverInput in;
  in.fixedTerm = true;
  in.contract.contributionYears = 25;
  in.contract.investmentYears = 110;
  in.contract.monthlyContribution = 40;
  in.contract.singlePayment = 1000;
  in.contract.topUps.years = {3};
  in.contract.topUps.amounts = {500};
  in.contract.withdrawals.amounts = {1000, 2000, 3000};
  in.growthRates = {0.03, 0.06, 0.09, 0.12, 0};
  runProjection(state, in);
}
BENCHMARK(BM_ProjectFixedTerm);

}  // namespace
