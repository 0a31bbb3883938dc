#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/projection.h"

namespace fondaris::documents {

// The figures of the chart "Fondswert je Jahr": the fund value at the end of each year for the
// four growth rates. The contract form draws them on screen and the offer on paper, so both
// take them from here.

inline constexpr const char* kValueChartTitle = "Fondswert je Jahr";

struct ChartPoint {
  int year = 0;  // from 1
  double value = 0;
};

struct ChartTick {
  double value = 0;
  std::string label;
};

// A series colour as red, green and blue, 0..255.
struct ChartColour {
  std::uint8_t red = 0, green = 0, blue = 0;
};

// The screen chart's default colours, so that paper and screen match.
inline constexpr std::array<ChartColour, 4> kSeriesColours{
    {{0x20, 0x9f, 0xdf}, {0x99, 0xca, 0x53}, {0xf6, 0xa6, 0x25}, {0x6d, 0x5f, 0xd5}}};

struct ValueChartData {
  std::array<std::vector<ChartPoint>, 4> series;
  std::array<std::string, 4> names;  // the legend: "6,00 %"
  int lastYear = 2;                  // the year axis runs from 1 to here
  int yearStep = 1;                  // its ticks stand at the multiples of this
  std::vector<int> yearTicks;
  double top = 1;                      // the amount axis runs from 0 to here
  std::vector<ChartTick> amountTicks;  // 0, one step, ... up to the top
};

// `years` of the projection (clamped to 1..kYears); `rateTexts` as the form shows the rates.
ValueChartData valueChartData(const engine::ProjectionResult& result, int years,
                              const std::array<std::string, 4>& rateTexts);

// A step of 1, 2 or 5 times a power of ten that gives about five gridlines up to `max`.
double niceStep(double max);

// "100.000 €": whole euros in German notation.
std::string euroLabel(double value);

}  // namespace fondaris::documents
