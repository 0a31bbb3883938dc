#include <benchmark/benchmark.h>

#include "engine/contribution_rules.h"

namespace {

using namespace fondaris::engine;

// The contribution search for an end value: two single-rate projections plus the checks.
void BM_ContributionSearch(benchmark::State& state, int type, int years) {
  Request rq;
  rq.type = type;
  rq.contributionYears = years;
  rq.investmentYears = years;
  rq.entryAgeInsured = 30;
  rq.targetAge = 30 + years - 1;  // the last year of the table
  rq.targetValue = 500000;        // large enough for both projections
  rq.targetRatePercent = 9;
  rq.country = "A";
  ProductRules rules;
  rules.minDeathBenefitPercent = 60;
  rules.maxDeathBenefit = [](int, int) { return 1e6; };
  ProjectionResult scratch{};
  // A rejected request ends before the search: timing it would measure the wrong thing.
  const RuleOutcome first = checkRequest(rq, rules, scratch);
  if (!first.error.empty() || first.contribution <= 0) {
    state.SkipWithError(("Beitragssuche abgelehnt: " + first.error).c_str());
    return;
  }
  for (auto _ : state) {
    RuleOutcome out = checkRequest(rq, rules, scratch);
    benchmark::DoNotOptimize(out.contribution);
  }
}
BENCHMARK_CAPTURE(BM_ContributionSearch, standard_30y, 2, 30);
BENCHMARK_CAPTURE(BM_ContributionSearch, fixed_term_25y, 1, 25);

}  // namespace
