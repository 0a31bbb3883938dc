#include "documents/offer/value_chart.h"

#include <algorithm>
#include <cmath>

#include "core/notation.h"

namespace fondaris::documents {

namespace {

constexpr int kYearsWithEveryTick = 10;
constexpr int kLongYearStep = 5;

std::vector<ChartTick> amountTicks(double step, double top) {
  std::vector<ChartTick> ticks;
  // Half a euro of slack: steps are whole euros, their sum may not be.
  for (double value = 0; value <= top + 0.5; value += step)
    ticks.push_back({value, euroLabel(value)});
  return ticks;
}

}  // namespace

double niceStep(double max) {
  const double raw = std::max(max / 5, 1.0);
  const double power = std::pow(10, std::floor(std::log10(raw)));
  for (double f : {1.0, 2.0, 5.0})
    if (f * power >= raw) return f * power;
  return 10 * power;
}

std::string euroLabel(double value) {
  static const core::Notation kGerman = core::Notation::german();
  const std::string amount = core::formatAmount(value, kGerman);
  const std::size_t decimals = kGerman.decimalSeparator.size() + 2;
  return amount.substr(0, amount.size() - decimals) + " €";
}

ValueChartData valueChartData(const engine::ProjectionResult& result, int years,
                              const std::array<std::string, 4>& rateTexts) {
  ValueChartData chart;
  years = std::clamp(years, 1, engine::kYears);
  double max = 0;
  for (int r = 0; r < 4; ++r) {
    for (int i = 0; i < years; ++i) {
      const double value = result.fundValueRounded(i, r);
      chart.series[r].push_back({i + 1, value});
      max = std::max(max, value);
    }
    chart.names[r] = rateTexts[r] + " %";
  }
  chart.lastYear = std::max(years, 2);
  chart.yearStep = years <= kYearsWithEveryTick ? 1 : kLongYearStep;
  for (int year = chart.yearStep; year <= chart.lastYear; year += chart.yearStep)
    chart.yearTicks.push_back(year);
  const double step = niceStep(max);
  chart.top = std::max(step, std::ceil(max / step) * step);
  chart.amountTicks = amountTicks(step, chart.top);
  return chart;
}

}  // namespace fondaris::documents
