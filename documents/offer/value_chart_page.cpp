#include "documents/offer/value_chart_page.h"

#include <algorithm>
#include <string>
#include <vector>

namespace fondaris::documents {

namespace {

constexpr const char* kFont = "Arial";
constexpr double kLabelSize = 8;
// Helvetica's capital height, as a share of the size: labels stand centred on their gridline.
constexpr double kCapHeight = 0.718;

// Distances from the top and x positions of the plot; the template's head ends at 194.
constexpr double kTitleTop = 215;
constexpr double kPlotTop = 262;
constexpr double kPlotBottom = 580;
constexpr double kPlotLeft = 120;
constexpr double kPlotRight = 530;
constexpr double kLabelGap = 5;
constexpr double kTickLength = 3;
constexpr double kLegendTop = kPlotBottom + 44;
constexpr double kLegendLine = 18;

constexpr std::uint32_t kBlack = 0;
constexpr std::uint32_t kGridGrey = 0xC8C8C8;

std::uint32_t colorCode(const ChartColour& c) {
  return c.red | (static_cast<std::uint32_t>(c.green) << 8) |
         (static_cast<std::uint32_t>(c.blue) << 16);
}

class ChartPage {
 public:
  ChartPage(PdfBinding& pdf, const ValueChartData& chart) : pdf_(pdf), chart_(chart) {}

  int draw() {
    titles();
    gridAndAmounts();
    axesAndYears();
    series();
    legend();
    pdf_.setStrokeColor(kBlack);
    return sum_;
  }

 private:
  double y(double distance) const { return pdf_.pageHeight() - distance; }

  double xOfYear(double year) const {
    return kPlotLeft + (year - 1) / (chart_.lastYear - 1) * (kPlotRight - kPlotLeft);
  }

  double yOfValue(double value) const {
    return y(kPlotBottom) + value / chart_.top * (kPlotBottom - kPlotTop);
  }

  void font(double size, bool bold = false) { pdf_.setFont(kFont, bold, size, true); }

  void text(double x, double distance, double width, TextAlign align, const std::string& s) {
    pdf_.setTextRect(x, y(distance), width, -1);
    sum_ += pdf_.writeFText(align, s);
  }

  // A text whose capitals stand centred on the height `atY`.
  void textCentredOn(double x, double atY, double width, TextAlign align, const std::string& s) {
    const double baseline = atY - kCapHeight * kLabelSize / 2;
    pdf_.setTextRect(x, baseline + pdf_.fontAscent(), width, -1);
    sum_ += pdf_.writeFText(align, s);
  }

  void line(double x1, double y1, double x2, double y2) { sum_ += pdf_.line(x1, y1, x2, y2); }

  void titles() {
    font(10, true);
    text(kPlotLeft - 64, kTitleTop, kPlotRight - kPlotLeft, TextAlign::Left, kValueChartTitle);
    font(kLabelSize);
    text(kPlotLeft - 64, kPlotTop - 22, 100, TextAlign::Left, "Fondswert");
    text(kPlotLeft, kPlotBottom + 20, kPlotRight - kPlotLeft, TextAlign::Center, "Jahr");
  }

  void gridAndAmounts() {
    constexpr double kLabelWidth = 80;
    font(kLabelSize);
    pdf_.setLineWidth(0.25);
    pdf_.setStrokeColor(kGridGrey);
    for (const ChartTick& tick : chart_.amountTicks) {
      const double at = yOfValue(tick.value);
      if (tick.value > 0) line(kPlotLeft, at, kPlotRight, at);
      textCentredOn(kPlotLeft - kLabelGap - kLabelWidth, at, kLabelWidth, TextAlign::Right,
                    tick.label);
    }
  }

  void axesAndYears() {
    constexpr double kLabelWidth = 40;
    pdf_.setLineWidth(0.5);
    pdf_.setStrokeColor(kBlack);
    const double bottom = y(kPlotBottom);
    line(kPlotLeft, bottom, kPlotRight, bottom);
    line(kPlotLeft, bottom, kPlotLeft, y(kPlotTop));
    for (int year : chart_.yearTicks) {
      const double at = xOfYear(year);
      line(at, bottom, at, bottom - kTickLength);
      text(at - kLabelWidth / 2, kPlotBottom + kTickLength + 2, kLabelWidth, TextAlign::Center,
           std::to_string(year));
    }
  }

  void series() {
    pdf_.setLineWidth(1.5);
    for (std::size_t r = 0; r < chart_.series.size(); ++r) {
      std::vector<PdfPoint> points;
      for (const ChartPoint& p : chart_.series[r])
        points.push_back({xOfYear(p.year), yOfValue(p.value)});
      pdf_.setStrokeColor(colorCode(kSeriesColours[r]));
      sum_ += pdf_.polyline(points);
    }
  }

  void legend() {
    const double entryWidth = (kPlotRight - kPlotLeft) / chart_.names.size();
    const double at = y(kLegendTop);
    font(kLabelSize);
    for (std::size_t r = 0; r < chart_.names.size(); ++r) {
      const double x = kPlotLeft + r * entryWidth;
      pdf_.setLineWidth(1.5);
      pdf_.setStrokeColor(colorCode(kSeriesColours[r]));
      line(x, at, x + kLegendLine, at);
      textCentredOn(x + kLegendLine + kLabelGap, at, entryWidth - kLegendLine - kLabelGap,
                    TextAlign::Left, chart_.names[r]);
    }
  }

  PdfBinding& pdf_;
  const ValueChartData& chart_;
  int sum_ = 0;
};

}  // namespace

int drawValueChart(PdfBinding& pdf, const ValueChartData& chart) {
  return ChartPage(pdf, chart).draw();
}

}  // namespace fondaris::documents
