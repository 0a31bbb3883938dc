#include "documents/offer/offer_body.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "core/files.h"
#include "documents/offer/offer_texts.h"
#include "documents/offer/value_chart_page.h"

namespace fondaris::documents {

namespace {

constexpr const char* kFont = "Arial";
constexpr std::array<double, 4> kRateColumns{150, 230, 310, 390};
constexpr double kColumnWidth = 150;
constexpr int kDefaultTableTop = 198;
constexpr int kRowsPerPage = 35;
constexpr double kAnnuityPageThreshold = 490;
constexpr int kAnnuityYears = 20;
// An amount wider than its column is set smaller, down to this size.
constexpr double kMinimumSize = 6;
// Space kept free between an amount and what stands left of it.
constexpr double kGap = 4;
constexpr double kFrameX = 71;  // left edge of the annuity tables' frames

class OfferBody {
 public:
  OfferBody(PdfBinding& pdf, const OfferDocumentInput& in, const engine::ProjectionResult& result,
            const engine::ProjectionResult& comparison, core::Dialogs& dialogs,
            const core::Clock& clock)
      : pdf_(pdf),
        in_(in),
        result_(result),
        comparison_(comparison),
        dialogs_(dialogs),
        clock_(clock) {}

  OfferBodyResult write() {
    if (!importTemplate()) return {};
    decideFlags();
    replaceTermTexts();
    writePageOne();
    const double tableEnd = writeYearlyTable();
    writeAnnuityTables(tableEnd);
    // The chart is drawn after the replacements: they then read only the template's text there.
    const int chartPage = appendTemplatePageThree();
    replaceNames();
    replace("#Angebot#", offerLine(clock_.today(), in_.programVersion, in_.agentLines));
    replacePageLabels();
    writeValueChart(chartPage);
    return {sum_ > 0, unreplaced_};
  }

 private:
  // --- library calls -------------------------------------------------------------------------

  double y(double distance) const { return pdf_.pageHeight() - distance; }

  void text(double x, double distance, double width, TextAlign align, const std::string& s) {
    pdf_.setTextRect(x, y(distance), width, -1);
    sum_ += pdf_.writeFText(align, s);
  }

  void font(double size, bool bold = false) {
    pdf_.setFont(kFont, bold, size, true);
    size_ = size;
    bold_ = bold;
  }

  // A right-aligned amount that may take `room` points left of its right edge: a wider one is
  // set smaller on the same baseline, so that it never runs into its neighbour.
  void amount(double x, double distance, double width, double room, const std::string& s) {
    const double natural = pdf_.textWidth(s);
    if (natural <= room || natural <= 0) {
      text(x, distance, width, TextAlign::Right, s);
      return;
    }
    const double ascent = pdf_.fontAscent();
    const double size = std::max(kMinimumSize, std::floor(size_ * room / natural * 10) / 10);
    pdf_.setFont(kFont, bold_, size, true);
    const double lower = ascent - pdf_.fontAscent();
    pdf_.setTextRect(x, y(distance) - lower, width, -1);
    sum_ += pdf_.writeFText(TextAlign::Right, s);
    pdf_.setFont(kFont, bold_, size_, true);
  }

  void rateRow(double distance, const std::array<double, 4>& values) {
    const double room = kRateColumns[1] - kRateColumns[0] - kGap;
    for (int r = 0; r < 4; ++r)
      amount(kRateColumns[r], distance, kColumnWidth, room, euroAmount(values[r]));
  }

  void rateHeader(double distance) {
    for (int r = 0; r < 4; ++r)
      text(kRateColumns[r], distance, kColumnWidth, TextAlign::Right, in_.growthRates[r] + " %");
  }

  // --- replacements --------------------------------------------------------------------------

  // A placeholder ("#...#") stands in every template; a label may be missing, then there is
  // nothing to change. Found but left as it stands, either would print a wrong text.
  void noteOutcome(std::string_view search, const ReplaceCount& count) {
    const bool placeholder = search.size() > 2 && search.front() == '#' && search.back() == '#';
    if (count.left == 0 && (count.replaced > 0 || !placeholder)) return;
    if (std::find(unreplaced_.begin(), unreplaced_.end(), search) == unreplaced_.end())
      unreplaced_.emplace_back(search);
  }

  void replace(std::string_view search, const std::string& replacement) {
    ReplaceCount count;
    pdf_.replaceTextOnAllPages(search, replacement, &count);
    noteOutcome(search, count);
  }

  void replaceOnPage(int page, std::string_view search, const std::string& replacement) {
    ReplaceCount count;
    pdf_.replaceText(page, search, replacement, &count);
    noteOutcome(search, count);
  }

  // --- template ------------------------------------------------------------------------------

  bool openTemplate() {
    pdf_.setDocInfo(DocInfo::Author, "AA-SW-KDX");
    if (templatePath_) return pdf_.openImportFile(*templatePath_) >= 0;
    for (const std::string& candidate :
         {core::joinPath(core::workingDirectory(), in_.templateName),
          core::joinPath(core::programDirectory(), in_.templateName), in_.templateName}) {
      if (!in_.templateName.empty() && pdf_.openImportFile(candidate) >= 0) {
        templatePath_ = candidate;
        return true;
      }
    }
    return false;
  }

  bool importTemplate() {
    if (!openTemplate()) {
      dialogs_.message("Die Datei '" + in_.templateName + "' konnte nicht geladen werden!",
                       "Fehler");
      return false;
    }
    pdf_.importPages(1, 1.0, 1.0);
    pdf_.closeImportFile();
    return true;
  }

  // Appends the template's third page; answers its number.
  int appendTemplatePageThree() {
    pdf_.endPage();
    const int page = pdf_.pageCount() + 1;
    if (openTemplate()) {
      pdf_.importPages(page, 1.0, 1.0);
      pdf_.closeImportFile();
      pdf_.deletePage(page);
      pdf_.deletePage(page);
    }
    return pdf_.pageCount();
  }

  // --- figures -------------------------------------------------------------------------------

  void decideFlags() {
    for (int r = 0; r < 4; ++r) {
      payoutsExist_ = payoutsExist_ || result_.withdrawalSum(r) > 0;
      topUpsExist_ = topUpsExist_ || result_.topUpSum(r) > 0;
    }
    premiumShown_ = in_.firstVariant && !in_.noStatePremium;
    premium_ = result_.allowanceSum();
  }

  std::string premiumLabel() const {
    return in_.premiumFootnote ? "Max. staatl. Prämie1)" : "Max. staatl. Prämie";
  }

  double fundValueAtEnd(const engine::ProjectionResult& res, int r) const {
    return res.fundValueRounded(in_.termYears - 1, r);
  }

  double total(const engine::ProjectionResult& res, int r) const {
    return fundValueAtEnd(res, r) + (premiumShown_ ? premium_ : 0) + res.bonusTotalRounded(r) +
           res.withdrawalSum(r);
  }

  template <class F>
  std::array<double, 4> perRate(F value) const {
    return {value(0), value(1), value(2), value(3)};
  }

  // --- steps ---------------------------------------------------------------------------------

  void replaceTermTexts() {
    replace("#J#", std::to_string(in_.termYears));
    if (in_.contributionYears == 0) {
      replace("Monatsbeitrag:", "Einmalanlage:");
      replace("Beitragszahlungsdauer:", "");
    }
  }

  void writePageOne() {
    pdf_.editPage(1);
    font(10);
    char line[64];
    std::snprintf(line, sizeof line, "%s %d", germanMonthName(in_.startMonth).c_str(),
                  in_.startYear);
    text(150, 217, 150, TextAlign::Right, line);
    if (in_.contributionYears > 0)
      text(150, 231, 150, TextAlign::Right, std::to_string(in_.contributionYears) + " Jahre");
    text(150, 245, 150, TextAlign::Right, std::to_string(in_.termYears) + " Jahre");
    text(390, 203, 150, TextAlign::Right,
         euroAmount(in_.contributionYears > 0 ? in_.contributionB : in_.contributionA));

    double costRow = 217;
    auto costLine = [&](const std::string& label, const std::string& value) {
      text(339, costRow, 200, TextAlign::Left, label);
      amount(390, costRow, 150, 390 + 150 - (339 + pdf_.textWidth(label) + kGap), value);
      costRow += 14;
    };
    if (in_.firstVariant && in_.employerShare > 0)
      costLine("Eigenbeitrag",
               euroAmount((in_.contributionA - in_.employerShare) * 12 * in_.contributionYears));
    if (in_.initialExtraPayment > 0)
      costLine("Zuzahlung zu Beginn", euroAmount(in_.initialExtraPayment));
    if (in_.singleInvestmentAtStart > 0)
      costLine("Einmalanlage zu Beginn", euroAmount(in_.singleInvestmentAtStart));
    if (topUpsExist_) costLine("Zusätzliche Einmalanlagen", euroAmount(result_.topUpSum(0)));
    if (!in_.grantedRebate.empty()) costLine("Gewährter Rabatt", in_.grantedRebate);

    writeGrowthTable();
    pdf_.endPage();
  }

  double growthTableTop() const {
    if (!in_.firstVariant) return payoutsExist_ && in_.initialExtraPayment > 0 ? 447 : 459;
    if (payoutsExist_ && !in_.noStatePremium) return 419;
    if (topUpsExist_ || in_.initialExtraPayment > 0) return 409;
    return 419;
  }

  void writeGrowthTable() {
    const double top = growthTableTop();
    text(90, top, 150, TextAlign::Left, "\\FC[0]Wertentwicklung");
    rateHeader(top);
    auto row = [&](double distance, const std::string& label, const std::array<double, 4>& v) {
      text(90, distance, 150, TextAlign::Left, label);
      rateRow(distance, v);
    };
    row(top + 18, "Fondswert", perRate([&](int r) { return fundValueAtEnd(result_, r); }));
    double distance = top + 33;
    if (premiumShown_) {
      row(distance, premiumLabel(), perRate([&](int) { return premium_; }));
      distance += 15;
    }
    if (payoutsExist_) {
      row(distance, "Auszahlung", perRate([&](int r) { return result_.withdrawalSum(r); }));
      distance += 15;
    }
    row(distance, "Treuebonus**", perRate([&](int r) { return result_.bonusTotalRounded(r); }));
    const double totalRow = distance + 17;
    font(10, true);
    row(totalRow, "GESAMT", perRate([&](int r) { return total(result_, r); }));
    font(10);
    if (in_.initialExtraPayment > 0) {
      // The label is wider than its column: it stands on its own line above the figures.
      const double extraRow = totalRow + 40;
      text(90, extraRow, 300, TextAlign::Left, "davon zusätzlicher Mehrwert durch Zuzahlungen");
      rateRow(extraRow + 13,
              perRate([&](int r) { return total(result_, r) - total(comparison_, r); }));
    }
  }

  double paymentOfYear(int i) const {
    if (i == 0) {
      if (in_.contributionYears == 0) return in_.contributionA;
      return result_.contributionOfYear(0) + in_.initialExtraPayment + in_.singleInvestmentAtStart;
    }
    return result_.contributionOfYear(i) + result_.topUpAt(i, 0);
  }

  // Answers the distance of the last row written.
  double writeYearlyTable() {
    const int tableTop = in_.tableTop > 0 ? in_.tableTop : kDefaultTableTop;
    int page = 3;
    pdf_.editPage(page);
    font(9);
    rateHeader(tableTop);
    double distance = tableTop + 32;
    int rowsOnPage = 0;
    for (int i = 0; i < in_.termYears; ++i) {
      if (rowsOnPage == kRowsPerPage) {
        page = appendTemplatePageThree();
        pdf_.editPage(page);
        font(9);
        rateHeader(tableTop);
        distance = tableTop + 32;
        rowsOnPage = 0;
      }
      char label[64];
      std::snprintf(label, sizeof label, "%s %d", germanMonthName(in_.startMonth).c_str(),
                    in_.startYear + i + 1);
      text(20, distance, 130, TextAlign::Right, label);
      // The payment column ends 70 points right of the date column.
      amount(70, distance, kColumnWidth, 70 - kGap, euroAmount(paymentOfYear(i)));
      bool payoutThisYear = false;
      for (int r = 0; r < 4; ++r) payoutThisYear = payoutThisYear || result_.withdrawalAt(i, r) > 0;
      rateRow(distance, perRate([&](int r) {
                return result_.fundValueRounded(i, r) +
                       (payoutThisYear ? result_.withdrawalAt(i, r) : 0);
              }));
      distance += 13;
      ++rowsOnPage;
    }
    auto closingRow = [&](const std::string& label, const std::array<double, 4>& values) {
      text(70, distance, kColumnWidth, TextAlign::Right, label);
      rateRow(distance, values);
      distance += 13;
    };
    if (payoutsExist_)
      closingRow("Auszahlung", perRate([&](int r) { return result_.withdrawalSum(r); }));
    if (premiumShown_) closingRow(premiumLabel(), perRate([&](int) { return premium_; }));
    closingRow("Treuebonus**", perRate([&](int r) { return result_.bonusTotalRounded(r); }));
    font(9, true);
    closingRow("GESAMT", perRate([&](int r) { return total(result_, r); }));
    font(9);
    return distance - 13;
  }

  void writeAnnuityTables(double tableEnd) {
    double top = tableEnd + 40;
    if (tableEnd > kAnnuityPageThreshold) {
      pdf_.editPage(appendTemplatePageThree());
      top = 270;
    }
    font(9);
    top = annuityTable(top, "Rente ohne Kapitalverzehr", [](double capital, double rate) {
      return annuityWithoutConsumption(capital, rate);
    });
    annuityTable(top, "Rente mit Kapitalverzehr (20 Jahre)", [](double capital, double rate) {
      return annuityWithConsumption(capital, rate, kAnnuityYears);
    });
    pdf_.endPage();
  }

  // Answers where the next table starts.
  template <class F>
  double annuityTable(double top, const std::string& title, F annuity) {
    constexpr std::array<double, 4> kColumns{140, 223, 306, 389};
    const double labelX = in_.firstVariant ? 80 : 55;
    const double labelWidth = in_.firstVariant ? 80 : 150;
    text(in_.firstVariant ? 75 : 90, top, 300, TextAlign::Left, title);
    for (double x : kColumns) text(x, top + 18, 130, TextAlign::Right, "Rente");
    text(labelX, top + 30, labelWidth, TextAlign::Right, "Fondsvermögen");
    for (int s = 0; s < 4; ++s)
      text(kColumns[s], top + 30, 150, TextAlign::Right, "WE* " + in_.growthRates[s] + " %");
    double distance = top + 42;
    for (int r = 0; r < 4; ++r) {
      const double capital = total(result_, r);
      // The capital stays inside the frame that starts at x 71.
      amount(labelX, distance, labelWidth, labelX + labelWidth - kFrameX - kGap,
             euroAmount(capital));
      for (int s = 0; s < 4; ++s)
        amount(kColumns[s], distance, 150, kColumns[1] - kColumns[0] - kGap,
               euroAmount(annuity(capital, rateFraction(in_.growthRates[s]))));
      distance += 12;
    }
    const double lastRow = distance - 12;
    pdf_.setLineWidth(0.5);
    sum_ += pdf_.rectangle(kFrameX, y(lastRow + 13), pdf_.pageWidth() - 112, 80, 4);
    return lastRow + 13 + 14;
  }

  // The chart the contract form shows, on a page of its own after the tables.
  void writeValueChart(int page) {
    pdf_.editPage(page);
    sum_ += drawValueChart(pdf_, valueChartData(result_, in_.termYears, in_.growthRates));
    pdf_.endPage();
  }

  void replaceNames() {
    replace("#VNAnredeName#", (in_.salutationMale ? "Herrn " : "Frau ") + in_.customerName);
    for (int i = 0; i < 8; ++i) replace("#VM" + std::to_string(i + 1) + "#", in_.agentLines[i]);
  }

  void replacePageLabels() {
    const int pages = pdf_.pageCount();
    if (pages <= 3) return;
    const std::string of = " von " + std::to_string(pages);
    for (int p = 1; p <= 3; ++p)
      replace("Seite " + std::to_string(p) + " von 3", "Seite " + std::to_string(p) + of);
    // Further pages are copies of page 3 and say so until here.
    for (int p = 4; p <= pages; ++p)
      replaceOnPage(p, "Seite 3" + of, "Seite " + std::to_string(p) + of);
  }

  PdfBinding& pdf_;
  const OfferDocumentInput& in_;
  const engine::ProjectionResult& result_;
  const engine::ProjectionResult& comparison_;
  core::Dialogs& dialogs_;
  const core::Clock& clock_;
  std::optional<std::string> templatePath_;
  bool payoutsExist_ = false;
  bool topUpsExist_ = false;
  bool premiumShown_ = false;
  double premium_ = 0;
  int sum_ = 0;
  std::vector<std::string> unreplaced_;
  double size_ = 10;
  bool bold_ = false;
};

}  // namespace

OfferBodyResult writeOfferBody(PdfBinding& pdf, const OfferDocumentInput& input,
                               const engine::ProjectionResult& result,
                               const engine::ProjectionResult& comparison, core::Dialogs& dialogs,
                               const core::Clock& clock) {
  return OfferBody(pdf, input, result, comparison, dialogs, clock).write();
}

}  // namespace fondaris::documents
