#include <gtest/gtest.h>

#include <memory>

#include "documents/offer/value_chart.h"

namespace fondaris::documents {
namespace {

TEST(ValueChart, StepsAreOneTwoOrFiveTimesAPowerOfTenForAboutFiveGridlines) {
  const struct {
    double max, step;
  } cases[] = {
      {0, 1},      // nothing projected: still an axis
      {4, 1},      // below five euros a step is one euro
      {499, 100},  // 99.8 is raw: the next nice step
      {500, 100},  // exactly five steps
      {501, 200},  // just over: the next nice step
      {760, 200},
      {2'400, 500},
      {123'456, 50'000},
      {497'000, 100'000},
      {1'000'001, 500'000},  // 200000.2 raw: past 2 × 10^5
  };
  for (const auto& c : cases) EXPECT_EQ(niceStep(c.max), c.step) << c.max;
}

TEST(ValueChart, AmountLabelsAreWholeEurosInGermanNotation) {
  EXPECT_EQ(euroLabel(0), "0 €");
  EXPECT_EQ(euroLabel(500), "500 €");
  EXPECT_EQ(euroLabel(20'000), "20.000 €");
  EXPECT_EQ(euroLabel(1'500'000), "1.500.000 €");
}

// A short projection with one value that needs rounding and one that is negative.
TEST(ValueChart, SeriesAxesAndLegendFollowTheProjection) {
  auto result = std::make_unique<engine::ProjectionResult>();
  for (int r = 0; r < 4; ++r)
    for (int i = 0; i < 3; ++i) result->fundValue[i][r] = 1000.0 * (i + 1) * (r + 1);
  result->fundValue[2][3] = 12'345.678;  // the highest value: the axis goes to 15.000
  result->fundValue[0][1] = -5;          // nothing left counts as 0
  const ValueChartData chart = valueChartData(*result, 3, {"3,00", "6,00", "9,00", "12,00"});

  ASSERT_EQ(chart.series[3].size(), 3u);
  EXPECT_EQ(chart.series[3].back().year, 3);
  EXPECT_EQ(chart.series[3].back().value, 12'345.68);
  EXPECT_EQ(chart.series[1].front().value, 0);
  EXPECT_EQ(chart.series[0].back().value, 3000);
  EXPECT_EQ(chart.names, (std::array<std::string, 4>{"3,00 %", "6,00 %", "9,00 %", "12,00 %"}));
  EXPECT_EQ(chart.lastYear, 3);
  EXPECT_EQ(chart.yearTicks, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(chart.top, 15'000);
  std::vector<std::string> labels;
  for (const ChartTick& tick : chart.amountTicks) labels.push_back(tick.label);
  EXPECT_EQ(labels, (std::vector<std::string>{"0 €", "5.000 €", "10.000 €", "15.000 €"}));
}

TEST(ValueChart, LongTermsTickEveryFifthYearAndOneYearStillHasAnAxis) {
  auto result = std::make_unique<engine::ProjectionResult>();
  const std::array<std::string, 4> rates{"3", "6", "9", "12"};
  EXPECT_EQ(valueChartData(*result, 12, rates).yearTicks, (std::vector<int>{5, 10}));
  EXPECT_EQ(valueChartData(*result, 10, rates).yearTicks.size(), 10u);
  const ValueChartData one = valueChartData(*result, 1, rates);
  EXPECT_EQ(one.series[0].size(), 1u);
  EXPECT_EQ(one.lastYear, 2);
  EXPECT_EQ(valueChartData(*result, 500, rates).series[0].size(),
            static_cast<std::size_t>(engine::kYears));
}

}  // namespace
}  // namespace fondaris::documents
