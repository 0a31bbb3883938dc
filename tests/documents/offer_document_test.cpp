#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <regex>

#include <podofo/podofo.h>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/shell.h"
#include "documents/offer/offer_document.h"
#include "documents/pdf/font_resolver.h"
#include "engine/projection.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/other_user.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/process_settings.h"
#include "tests/support/recording_shell.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_folder.h"
#include "tests/support/template_fixture.h"
#include "tests/support/test_output.h"

namespace fondaris::documents {
namespace {

namespace fs = std::filesystem;
namespace tools = testing_tools;

// One offer as the contract form would hand it over.
struct OfferCase {
  std::string name;  // file name of the copy
  OfferDocumentInput input;
  engine::DriverInput driver;  // the comparison runs without the payment at the start
  int pages = 4;               // the template's three and the chart
  std::vector<std::string> present;
  std::vector<std::string> absent;
};

OfferDocumentInput baseInput(bool firstVariant) {
  OfferDocumentInput in;
  in.templateName = firstVariant ? "Angebot_VL_1.pdf" : "Angebot_ZS_3.pdf";
  in.programVersion = "1.0.0";
  in.firstVariant = firstVariant;
  in.agentLines = {"Muster Finanz GmbH", "Erika Beispiel",
                   "Hauptstraße 1",      "12345 Musterstadt",
                   "FAX 0123 45678-9",   "Tel. 0123 45678-0",
                   "Mobil 0170 1234567", "E-mail info@muster-finanz.example"};
  in.salutationMale = true;
  in.customerName = "Jörg Müller";
  in.startMonth = 3;
  in.startYear = 2026;
  in.growthRates = {"3", "6", "9", "12"};
  return in;
}

engine::DriverInput driverFor(bool fixedTerm, int contributionYears, int term,
                              double contribution) {
  engine::DriverInput d;
  d.fixedTerm = fixedTerm;
  d.contract.contributionYears = contributionYears;
  d.contract.investmentYears = term;
  d.contract.monthlyContribution = contribution;
  d.growthRates = {0.03, 0.06, 0.09, 0.12, 0};
  return d;
}

OfferCase vlTwelveYears() {
  OfferCase c;
  c.name = "vl_12_years";
  c.pages = 4;  // the annuity tables fit page 3, the chart takes a page
  c.input = baseInput(true);
  c.driver = driverFor(true, 13, 13, 40);
  c.input.contributionYears = 12;
  c.input.termYears = 13;
  c.input.contributionA = 40;
  c.input.contributionB = 40;
  c.input.employerShare = 26.59;
  c.input.premiumFootnote = true;
  c.present = {"Herrn Jörg Müller",
               "Monatsbeitrag:",
               "40,00 EUR",
               "März 2026",
               "12 Jahre",
               "13 Jahre",
               "Eigenbeitrag",
               "1.931,04 EUR",
               "Max. staatl. Prämie1)",
               "Treuebonus**",
               "GESAMT",
               "März 2039",
               "Rente ohne Kapitalverzehr",
               "Rente mit Kapitalverzehr (20 Jahre)",
               "WE* 12 %",
               "Seite 3 von 4",
               "Seite 4 von 4",
               "Erika Beispiel",
               "E-mail info@muster-finanz.example",
               "05.03.2026, SW-Version 1.0.0, Muster Finanz GmbH Erika Beispiel 12345 Musterstadt",
               "nach 13 Jahren"};
  c.absent = {"Einmalanlage:", "Auszahlung", "Zuzahlung zu Beginn", "von 3", "Seite 5"};
  return c;
}

OfferCase singlePayment() {
  OfferCase c;
  c.name = "zs_single_payment";
  c.input = baseInput(false);
  c.driver = driverFor(false, 0, 15, 0);
  c.driver.contract.singlePayment = 10000;
  c.input.contributionYears = 0;
  c.input.termYears = 15;
  c.input.contributionA = 10000;
  c.input.salutationMale = false;
  c.input.customerName = "Sabine Bäcker";
  c.present = {"Frau Sabine Bäcker", "Einmalanlage:", "10.000,00 EUR",
               "15 Jahre",           "März 2041",     "Seite 3 von 4"};
  c.absent = {"Monatsbeitrag:", "Beitragszahlungsdauer:", "Max. staatl. Prämie", "Eigenbeitrag"};
  return c;
}

OfferCase standardYears(int years, int pages) {
  OfferCase c;
  c.name = "zs_" + std::to_string(years) + "_years";
  c.input = baseInput(false);
  c.driver = driverFor(false, years, years, 100);
  c.input.contributionYears = years;
  c.input.termYears = years;
  c.input.contributionA = 100;
  c.input.contributionB = 100;
  c.pages = pages;
  const std::string of = " von " + std::to_string(pages);
  c.present = {"Monatsbeitrag:", "100,00 EUR", "März " + std::to_string(2026 + years),
               "Rente ohne Kapitalverzehr"};
  for (int p = 1; p <= pages; ++p) c.present.push_back("Seite " + std::to_string(p) + of);
  if (pages > 3) c.absent = {"von 3"};
  return c;
}

OfferCase payoutsAndTopUps() {
  OfferCase c;
  c.name = "zs_payouts_topups";
  c.input = baseInput(false);
  c.driver = driverFor(false, 20, 20, 150);
  c.driver.contract.withdrawals.years = {10, 15};
  c.driver.contract.withdrawals.amounts = {3000, 2000};
  c.driver.contract.topUps.years = {2, 3};
  c.driver.contract.topUps.amounts = {2500, 5000};
  c.driver.contract.singlePayment = 5000;
  c.input.contributionYears = 20;
  c.input.termYears = 20;
  c.input.contributionA = 150;
  c.input.contributionB = 150;
  c.input.initialExtraPayment = 5000;
  c.input.grantedRebate = "5 %";
  c.pages = 5;  // the yearly table ends below 490 points: the annuity tables move on
  c.present = {"Zuzahlung zu Beginn",
               "5.000,00 EUR",
               "Zusätzliche Einmalanlagen",
               "7.500,00 EUR",
               "Gewährter Rabatt",
               "Auszahlung",
               "davon zusätzlicher Mehrwert durch Zuzahlungen"};
  return c;
}

OfferCase longOfferLine() {
  OfferCase c = vlTwelveYears();
  c.name = "vl_long_offer_line";
  // 103 characters with the contact person, 89 without.
  c.input.agentLines[0] = "Muster Finanz- und Versicherungsmakler KG";
  c.input.noStatePremium = true;
  c.input.premiumFootnote = false;
  c.present = {
      "05.03.2026, SW-Version 1.0.0, Muster Finanz- und Versicherungsmakler KG 12345 "
      "Musterstadt"};
  c.absent = {"Max. staatl. Prämie", "Versicherungsmakler KG Erika"};
  return c;
}

class OfferDocumentTest : public testing::Test {
 protected:
  void SetUp() override {
    core::setWorkingDirectory(FONDARIS_BUILD_DIR);
    ::setenv("TMP", scratch_.c_str(), 1);
  }

  // Creates, writes and finishes the offer; answers the test's own copy, which is also left in
  // build/test-output for a look.
  std::string produce(const OfferCase& c) {
    auto result = std::make_unique<engine::ProjectionResult>();
    auto comparison = std::make_unique<engine::ProjectionResult>();
    engine::project(*result, c.driver);
    engine::DriverInput without = c.driver;
    without.contract.singlePayment = c.input.contributionYears == 0 ? 10000 : 0;
    engine::project(*comparison, without);

    OfferDocument document(dialogs_, clock_, shell_);
    EXPECT_EQ(document.outputPath(), (scratch_ / "KDX2009.pdf").string());
    EXPECT_TRUE(document.writeBody(c.input, *result, *comparison)) << c.name;
    EXPECT_TRUE(document.finish()) << c.name;
    const fs::path copy = scratch_ / (c.name + ".pdf");
    fs::copy_file(document.outputPath(), copy, fs::copy_options::overwrite_existing);
    test_support::keepForALook(copy.string(), c.name + ".pdf");
    return copy.string();
  }

  test_support::ProcessSettingsGuard guard_;
  test_support::TempFolder folder_{"fondaris_offer"};
  test_support::ScriptedDialogs dialogs_;
  test_support::FixedClock clock_{2026, 3, 5, 10, 30};
  test_support::RecordingShell shell_;
  fs::path scratch_ = folder_.path();
};

TEST_F(OfferDocumentTest, SampleOffersReadCorrectly) {
  const std::vector<OfferCase> cases = {
      vlTwelveYears(),      singlePayment(),    standardYears(35, 5), standardYears(36, 5),
      standardYears(60, 6), payoutsAndTopUps(), longOfferLine()};
  const bool readers = tools::toolAvailable("pdftotext") && tools::toolAvailable("pdfinfo") &&
                       tools::toolAvailable("qpdf");
  for (const OfferCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = produce(c);
    EXPECT_TRUE(dialogs_.shown().empty());
    if (!readers) continue;
    EXPECT_TRUE(tools::qpdfClean(path));
    // Page contents are kept uncompressed while the offer is made, and compressed at the end.
    EXPECT_EQ(tools::unfilteredStreams(path), 0);
    EXPECT_EQ(tools::pdfPages(path), c.pages);
    const std::string text = tools::pdfText(path);
    EXPECT_EQ(text.find('#'), std::string::npos) << "placeholder left";
    for (const auto& s : c.present) EXPECT_NE(text.find(s), std::string::npos) << s;
    for (const auto& s : c.absent) EXPECT_EQ(text.find(s), std::string::npos) << s;
  }
  if (!readers) GTEST_SKIP() << "pdftotext, pdfinfo or qpdf missing";
}

TEST_F(OfferDocumentTest, PageOneLinesAndTablePlacement) {
  if (!tools::toolAvailable("pdftotext")) GTEST_SKIP() << "pdftotext missing";
  // Single payment: no contribution period written, the payment beside "Einmalanlage:".
  const std::string single = tools::pdfText(produce(singlePayment()), 1);
  const std::regex years(R"(\d+ Jahre(?!n))");
  EXPECT_EQ(std::distance(std::sregex_iterator(single.begin(), single.end(), years),
                          std::sregex_iterator()),
            1);
  EXPECT_TRUE(std::regex_search(single, std::regex(R"(Einmalanlage: +10\.000,00 EUR)")));

  // Twelve years: annuity tables below the yearly table on page 3.
  const std::string page3 = tools::pdfText(produce(vlTwelveYears()), 3);
  EXPECT_LT(page3.find("GESAMT"), page3.find("Rente ohne Kapitalverzehr"));
  // 35 years fill page 3; the annuity tables get a page of their own.
  const std::string full = produce(standardYears(35, 4));
  EXPECT_NE(tools::pdfText(full, 3).find("März 2061"), std::string::npos);
  EXPECT_EQ(tools::pdfText(full, 3).find("Rente ohne"), std::string::npos);
  EXPECT_NE(tools::pdfText(full, 4).find("Rente ohne"), std::string::npos);
  // 36 years: the last year on the continuation page, with the annuity tables below it.
  const std::string page4 = tools::pdfText(produce(standardYears(36, 4)), 4);
  EXPECT_NE(page4.find("März 2062"), std::string::npos);
  EXPECT_EQ(page4.find("März 2061"), std::string::npos);
  EXPECT_NE(page4.find("Rente mit Kapitalverzehr"), std::string::npos);
}

// What the customer pays at the start is named on page 1, each kind on its own line of the
// amount block, and is part of the first year's payment in the yearly table.
TEST_F(OfferDocumentTest, PaymentsAtTheStartAreNamedAndInTheFirstYear) {
  if (!tools::toolAvailable("pdftotext")) GTEST_SKIP() << "pdftotext missing";
  struct Case {
    const char* name;
    double extraPayment;      // "Zuzahlung zu Beginn", half the acquisition costs
    double singleInvestment;  // "Einmalanlage zu Beginn"
    const char* firstYear;    // 12 × 100 EUR and what is paid at the start
  } cases[] = {
      {"zs_single_investment_at_start", 0, 10000, "11.200,00 EUR"},
      {"zs_both_payments_at_start", 396, 10000, "11.596,00 EUR"},
      {"zs_payment_at_start", 396, 0, "1.596,00 EUR"},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.name);
    OfferCase c = standardYears(12, 3);
    c.name = t.name;
    c.driver.contract.singlePayment = t.singleInvestment;
    c.driver.contract.costDiscount = t.extraPayment > 0 ? 0.5 : 0;
    c.input.initialExtraPayment = t.extraPayment;
    c.input.singleInvestmentAtStart = t.singleInvestment;
    const std::string path = produce(c);

    const std::string page1 = tools::pdfText(path, 1);
    EXPECT_EQ(std::regex_search(page1, std::regex(R"(Zuzahlung zu Beginn +396,00 EUR)")),
              t.extraPayment > 0)
        << page1;
    EXPECT_EQ(std::regex_search(page1, std::regex(R"(Einmalanlage zu Beginn +10\.000,00 EUR)")),
              t.singleInvestment > 0)
        << page1;
    const auto words = tools::pdfWords(path, 1);
    for (const std::string& pair : tools::collidingWords(words)) ADD_FAILURE() << pair;
    // The amount block starts on the baseline of "Vertragsbeginn:", one line per amount.
    auto find = [&](const std::string& text, double afterX) -> const tools::Word* {
      for (const auto& word : words)
        if (word.text == text && word.xMin > afterX) return &word;
      return nullptr;
    };
    const tools::Word* start = find("Vertragsbeginn:", 0);
    ASSERT_TRUE(start);
    const tools::Word* extra = find("Zuzahlung", 300);
    const tools::Word* single = find("Einmalanlage", 300);
    EXPECT_EQ(extra != nullptr, t.extraPayment > 0);
    EXPECT_EQ(single != nullptr, t.singleInvestment > 0);
    if (extra) {
      EXPECT_NEAR(extra->yMax, start->yMax, 0.5);
    }
    if (single) {
      EXPECT_NEAR(single->yMax, start->yMax + (extra ? 14 : 0), 0.5);
      if (extra) {
        EXPECT_NEAR(single->xMin, extra->xMin, 0.1) << "not below Zuzahlung";
      }
    }

    const std::string page3 = tools::pdfText(path, 3);
    EXPECT_TRUE(std::regex_search(page3, std::regex("März 2027 +" + std::string(t.firstYear))))
        << page3;
  }
}

// The sample templates: a 60-character customer name and agent company stay on the page and
// clear of other text; the labels beside the program's figures share their baseline.
TEST_F(OfferDocumentTest, SampleTemplatesTakeLongNamesAndAlignLabels) {
  if (!tools::toolAvailable("pdftotext")) GTEST_SKIP() << "pdftotext missing";
  for (bool firstVariant : {true, false}) {
    SCOPED_TRACE(firstVariant ? "VL" : "ZS");
    OfferCase c = firstVariant ? vlTwelveYears() : standardYears(12, 3);
    c.name = firstVariant ? "vl_long_names" : "zs_long_names";
    c.input.salutationMale = false;
    c.input.customerName = "Maximiliane-Alexandra Friederike von Hohenstein-Wittgenstein";
    c.input.agentLines[0] = "Muster Finanz- und Versicherungsmakler GmbH & Co. KG Nordost";
    ASSERT_EQ(c.input.customerName.size(), 60u);
    ASSERT_EQ(c.input.agentLines[0].size(), 60u);
    const std::string path = produce(c);
    for (int page = 1; page <= 3; ++page) {
      SCOPED_TRACE(page);
      const auto words = tools::pdfWords(path, page);
      for (const std::string& pair : tools::collidingWords(words)) ADD_FAILURE() << pair;
      for (const auto& word : words) EXPECT_LT(word.xMax, 575) << word.text << " runs off the page";
      EXPECT_NE(tools::pdfText(path, page).find("Hohenstein-Wittgenstein"), std::string::npos);
    }
    const auto words = tools::pdfWords(path, 1);
    auto find = [&](const std::string& text, double afterX) -> const tools::Word* {
      for (const auto& word : words)
        if (word.text == text && word.xMin > afterX) return &word;
      return nullptr;
    };
    const std::pair<const char*, const char*> rows[] = {
        {"Monatsbeitrag:", "EUR"}, {"Vertragsbeginn:", "März"}, {"Anlagedauer:", "Jahre"}};
    for (const auto& [labelText, valueText] : rows) {
      const tools::Word* label = find(labelText, 0);
      ASSERT_TRUE(label) << labelText;
      const tools::Word* value = nullptr;
      for (const auto& word : words)
        if (word.text == valueText && word.xMin > label->xMax &&
            std::abs(word.yMin - label->yMin) < 5)
          value = &word;
      ASSERT_TRUE(value) << valueText;
      // The box bottoms differ by the fonts' descents only, a twentieth of a point.
      EXPECT_NEAR(label->yMax, value->yMax, 0.5) << labelText;
    }
  }
}

// Millions in the 80-point rate columns: a figure too wide is set smaller instead of running
// into its neighbour, and stays readable.
TEST_F(OfferDocumentTest, WideAmountsFitTheirColumns) {
  if (!tools::toolAvailable("pdftotext")) GTEST_SKIP() << "pdftotext missing";
  OfferCase c = standardYears(35, 4);
  c.name = "zs_millions";
  c.driver.contract.monthlyContribution = 5000;
  c.driver.contract.singlePayment = 1000000;
  c.input.contributionA = c.input.contributionB = 5000;
  c.input.initialExtraPayment = 1000000;
  const std::string path = produce(c);
  for (int page : {1, 3, 4}) {
    SCOPED_TRACE(page);
    const auto words = tools::pdfWords(path, page);
    for (const std::string& pair : tools::collidingWords(words)) ADD_FAILURE() << pair;
    int amounts = 0;
    for (const auto& word : words) {
      if (word.text != "EUR") continue;
      ++amounts;
      EXPECT_GT(word.yMax - word.yMin, 5.5) << "below the readable minimum";
    }
    EXPECT_GT(amounts, 10);
  }
  // Every rate of the total row is there in full.
  const std::string page1 = tools::pdfText(path, 1);
  EXPECT_TRUE(std::regex_search(page1, std::regex(R"(GESAMT( +\d{1,3}(\.\d{3})+,\d\d EUR){4})")))
      << page1;
}

// pdftotext drops the space of short words ("3 %" reads "3%"): compare without spaces.
std::string withoutSpaces(std::string text) {
  std::erase(text, ' ');
  return text;
}

// The chart page after the tables: its four lines end where the yearly table's last row stands
// (read back through the amount axis the gridlines draw), the axes are labelled in German
// notation and the legend names the rates as the form shows them.
TEST_F(OfferDocumentTest, ChartPageDrawsTheFundValuesOfTheTable) {
  if (!tools::toolAvailable("pdftotext") || !tools::toolAvailable("qpdf"))
    GTEST_SKIP() << "poppler-utils or qpdf missing";
  OfferCase c = standardYears(36, 5);
  c.name = "zs_value_chart";
  c.input.growthRates = {"3,00", "6,00", "9,00", "12,00"};
  const std::string path = produce(c);
  EXPECT_TRUE(tools::qpdfClean(path));
  ASSERT_EQ(tools::pdfPages(path), c.pages);

  const std::string text = withoutSpaces(tools::pdfText(path, c.pages));
  // The 12 % line ends just below 500.000 EUR: five steps of 100.000.
  for (const char* s : {"Fondswertje Jahr", "0€", "100.000€", "200.000€", "300.000€", "400.000€",
                        "500.000€", "Jahr", "3,00%", "6,00%", "9,00%", "12,00%", "Seite5von5"})
    EXPECT_NE(text.find(withoutSpaces(s)), std::string::npos) << s << "\n" << text;
  EXPECT_EQ(text.find("600.000€"), std::string::npos);
  // The year axis under the plot, every fifth year.
  EXPECT_TRUE(std::regex_search(tools::pdfText(path, c.pages),
                                std::regex(R"(\n *5 +10 +15 +20 +25 +30 +35 *\n)")));

  auto isGrey = [](const tools::StrokedPath& p) {
    return p.colour.size() == 3 && p.colour[0] > 0 && p.colour[0] < 1 &&
           p.colour[0] == p.colour[1] && p.colour[1] == p.colour[2];
  };
  std::vector<tools::StrokedPath> lines, grid;
  for (const tools::StrokedPath& p : tools::strokedPaths(path, c.pages)) {
    if (p.points.size() > 2) lines.push_back(p);
    if (p.points.size() == 2 && p.points[0].y == p.points[1].y && isGrey(p)) grid.push_back(p);
  }
  ASSERT_EQ(lines.size(), 4u);
  ASSERT_EQ(grid.size(), 5u);  // 100.000 to 500.000; the axis stands at 0
  const double left = grid.front().points[0].x;
  const double right = grid.front().points[1].x;
  double zeroY = -1, topY = 0;
  for (const tools::StrokedPath& g : grid) topY = std::max(topY, g.points[0].y);
  for (const tools::StrokedPath& p : tools::strokedPaths(path, c.pages))
    if (p.points.size() == 2 && p.points[0].x == left && p.points[1].x == right && !isGrey(p))
      zeroY = p.points[0].y;
  ASSERT_GT(zeroY, 0) << "no year axis under the gridlines";

  auto result = std::make_unique<engine::ProjectionResult>();
  engine::project(*result, c.driver);
  for (int r = 0; r < 4; ++r) {
    SCOPED_TRACE(r);
    ASSERT_EQ(lines[r].points.size(), 36u);
    const tools::PathPoint end = lines[r].points.back();
    const double value = result->fundValueRounded(35, r);
    EXPECT_NEAR(end.x, right, 1);
    EXPECT_NEAR(end.y, zeroY + value / 500'000 * (topY - zeroY), 1) << value;
    EXPECT_NEAR(lines[r].points.front().x, left, 1);
  }
  EXPECT_GT(result->fundValueRounded(35, 3), 400'000);
}

// Another PDF writer embeds subsets of its fonts: replacements are drawn in the fallback font,
// and the rest of each line moves on instead of being printed over.
TEST_F(OfferDocumentTest, TemplateRewrittenByAnotherWriter) {
  if (!tools::toolAvailable("pdftocairo") || !tools::toolAvailable("pdftotext"))
    GTEST_SKIP() << "poppler-utils missing";
  const fs::path rewritten = scratch_ / "Angebot_umgeschrieben.pdf";
  int status = -1;
  tools::run("pdftocairo -pdf " +
                 tools::quoted(std::string(FONDARIS_BUILD_DIR) + "/Angebot_ZS_3.pdf") + " " +
                 tools::quoted(rewritten.string()),
             &status);
  ASSERT_EQ(status, 0);
  OfferCase c = standardYears(15, 4);
  c.name = "zs_rewritten_template";
  c.input.templateName = rewritten.string();
  const std::string path = produce(c);
  const std::string text = tools::pdfText(path);
  EXPECT_EQ(text.find('#'), std::string::npos) << text;
  for (const char* s : {"nach 15 Jahren Anlagedauer", "Herrn Jörg Müller", "Muster Finanz GmbH",
                        "Angebot für Herrn Jörg Müller", "Seite 3 von 4"})
    EXPECT_NE(text.find(s), std::string::npos) << s;
  for (int page = 1; page <= 3; ++page) {
    const auto words = tools::pdfWords(path, page);
    EXPECT_FALSE(words.empty());
    for (const std::string& pair : tools::collidingWords(words))
      ADD_FAILURE() << page << ": " << pair;
  }
}

// The letters of a page line by line, left to right, without spaces or letters outside ASCII.
// Lines are told by the middle of the words' boxes, since other writers' fonts have other
// heights; MuPDF's ToUnicode map lacks the "ö" of its template, so its words split there.
std::string lettersInReadingOrder(const std::string& path, int page) {
  auto words = tools::pdfWords(path, page);
  auto middle = [](const tools::Word& w) { return (w.yMin + w.yMax) / 2; };
  std::sort(words.begin(), words.end(),
            [&](const tools::Word& a, const tools::Word& b) { return middle(a) < middle(b); });
  std::vector<std::vector<tools::Word>> lines;
  for (const tools::Word& w : words) {
    if (lines.empty() || middle(w) - middle(lines.back().front()) > 3) lines.emplace_back();
    lines.back().push_back(w);
  }
  std::string letters;
  for (auto& line : lines) {
    std::sort(line.begin(), line.end(),
              [](const tools::Word& a, const tools::Word& b) { return a.xMin < b.xMin; });
    for (const tools::Word& w : line)
      for (char c : w.text)
        if (static_cast<unsigned char>(c) > ' ' && static_cast<unsigned char>(c) < 0x80)
          letters.push_back(c);
    letters.push_back('\n');
  }
  return letters;
}

// Templates from other writers (tests/documents/templates, see its README): their fonts are
// subsets, composite fonts, codes of their own. Every placeholder and page label is replaced in
// them, no two words overprint and the file stays sound; the sample template re-saved reads as
// the offer from the template as built.
TEST_F(OfferDocumentTest, TemplatesOfOtherWriters) {
  if (!tools::toolAvailable("pdftotext") || !tools::toolAvailable("qpdf"))
    GTEST_SKIP() << "poppler-utils or qpdf missing";
  OfferCase c = vlTwelveYears();  // 25 years: the annuity tables and the chart take a page each
  c.driver = driverFor(true, 25, 25, 40);
  c.input.contributionYears = 25;
  c.input.termYears = 25;
  c.input.templateName = "Angebot_VL_3.pdf";
  c.name = "vl_template_as_built";
  const std::string asBuilt = produce(c);
  const int pages = tools::pdfPages(asBuilt);
  ASSERT_EQ(pages, 5);
  std::vector<std::string> expected;
  for (int page = 1; page <= pages; ++page)
    expected.push_back(lettersInReadingOrder(asBuilt, page));
  const struct Writer {
    const char* name;
    bool sampleResaved;  // else typed in a word processor: other words
  } writers[] = {{"pdftocairo", true}, {"mutool", true}, {"libreoffice", true}, {"writer", false}};
  for (const Writer& writer : writers) {
    SCOPED_TRACE(writer.name);
    c.name = std::string("vl_template_") + writer.name;
    c.input.templateName = std::string(FONDARIS_SOURCE_DIR) +
                           "/tests/documents/templates/angebot_vl_" + writer.name + ".pdf";
    const std::string path = produce(c);
    EXPECT_TRUE(tools::qpdfClean(path));
    EXPECT_EQ(tools::unfilteredStreams(path), 0);
    ASSERT_EQ(tools::pdfPages(path), pages);
    const std::string text = tools::pdfText(path);
    EXPECT_EQ(text.find('#'), std::string::npos) << text;
    EXPECT_EQ(text.find("von 3"), std::string::npos) << text;
    EXPECT_EQ(text.find("von 4"), std::string::npos) << text;
    for (const char* s : {"Herrn Jörg Müller", "Muster Finanz GmbH", "Mobil 0170 1234567",
                          "nach 25 Jahren", "05.03.2026, SW-Version 1.0.0"})
      EXPECT_NE(text.find(s), std::string::npos) << s;
    for (int page = 1; page <= pages; ++page) {
      SCOPED_TRACE(page);
      const std::string label = "Seite " + std::to_string(page) + " von 5";
      EXPECT_NE(tools::pdfText(path, page).find(label), std::string::npos) << label;
      if (writer.sampleResaved) {
        EXPECT_EQ(lettersInReadingOrder(path, page), expected[page - 1]);
      }
      for (const std::string& pair : tools::collidingWords(tools::pdfWords(path, page)))
        ADD_FAILURE() << pair;
    }
  }
}

TEST_F(OfferDocumentTest, MissingOrDamagedTemplateKeepsTheLastOffer) {
  const auto good =
      core::readFileBytes((fs::path(FONDARIS_BUILD_DIR) / "Angebot_VL_1.pdf").string());
  ASSERT_TRUE(good);
  struct Case {
    std::string name;
    std::optional<std::string> bytes;  // none: the file does not exist
  };
  const Case cases[] = {
      {"Fehlt.pdf", std::nullopt},
      {"Kaputt.pdf", std::string("kein PDF")},
      {"Halb.pdf", good->substr(0, good->size() / 2)},
      {"Leer.pdf", std::string()},
  };
  const fs::path last = scratch_ / "KDX2009.pdf";
  const std::string lastOffer = "%PDF-1.4 das letzte Angebot";
  // Today's offer is not outdated: the clean-up at the start must leave it.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  const test_support::FixedClock today(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  engine::ProjectionResult none;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs_.clear();
    shell_.opened.clear();
    const fs::path templatePath = scratch_ / c.name;
    if (c.bytes) std::ofstream(templatePath, std::ios::binary) << *c.bytes;
    std::ofstream(last, std::ios::binary) << lastOffer;
    OfferCase offer = vlTwelveYears();
    offer.input.templateName = c.bytes ? templatePath.string() : c.name;
    {
      OfferDocument document(dialogs_, today, shell_);
      EXPECT_FALSE(document.writeBody(offer.input, none, none));
      EXPECT_FALSE(document.finish());
      EXPECT_FALSE(document.written());
      document.openResult();
    }
    EXPECT_TRUE(shell_.opened.empty());
    EXPECT_EQ(core::readFileBytes(last.string()), lastOffer);
    const auto messages = dialogs_.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0],
              "Fehler: Die Datei '" + offer.input.templateName + "' konnte nicht geladen werden!");
    EXPECT_EQ(messages[1].rfind("Fehler bei Erstellung PDF: Fatal error: Das Angebot wurde nicht "
                                "erstellt, die Vorlage '" +
                                    offer.input.templateName + "'",
                                0),
              0u)
        << messages[1];
  }
}

// A template text the offer cannot replace is a fatal error that names it and the template:
// nothing is written or opened, and the last offer stays.
TEST_F(OfferDocumentTest, UnreplaceablePlaceholderKeepsTheLastOffer) {
  struct Case {
    std::string name;
    std::function<bool(const std::string&)> write;
    std::string reason;
  };
  const Case cases[] = {
      {"Ohne_VM3.pdf",
       [](const std::string& out) { return test_support::writeTemplateWithout({"#VM3#"}, out); },
       "der Platzhalter '#VM3#' der Vorlage '%s' konnte nicht ersetzt werden."},
      {"Ohne_J_Angebot.pdf",
       [](const std::string& out) {
         return test_support::writeTemplateWithout({"#J#", "#Angebot#"}, out);
       },
       "die Platzhalter '#J#', '#Angebot#' der Vorlage '%s' konnten nicht ersetzt werden."},
  };
  const fs::path last = scratch_ / "KDX2009.pdf";
  const std::string lastOffer = "%PDF-1.4 das letzte Angebot";
  auto result = std::make_unique<engine::ProjectionResult>();
  engine::project(*result, vlTwelveYears().driver);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs_.clear();
    shell_.opened.clear();
    fs::remove(scratch_ / "KDX2009.ERR");
    const std::string templatePath = (scratch_ / c.name).string();
    ASSERT_TRUE(c.write(templatePath));
    std::ofstream(last, std::ios::binary) << lastOffer;
    OfferCase offer = vlTwelveYears();
    offer.input.templateName = templatePath;
    {
      OfferDocument document(dialogs_, clock_, shell_);
      EXPECT_FALSE(document.writeBody(offer.input, *result, *result));
      EXPECT_FALSE(document.finish());
      EXPECT_FALSE(document.written());
      document.openResult();
    }
    const std::string reason = "Das Angebot wurde nicht erstellt, " +
                               std::regex_replace(c.reason, std::regex("%s"), templatePath);
    EXPECT_TRUE(shell_.opened.empty());
    EXPECT_EQ(core::readFileBytes(last.string()), lastOffer);
    EXPECT_EQ(dialogs_.messages(),
              std::vector<std::string>{"Fehler bei Erstellung PDF: Fatal error: " + reason});
    const auto log = core::readFileBytes((scratch_ / "KDX2009.ERR").string());
    ASSERT_TRUE(log);
    EXPECT_NE(log->find("Fatal error: " + reason + "\r\n"), std::string::npos) << *log;
  }
}

TEST_F(OfferDocumentTest, LibraryErrorsGoToTheErrorLog) {
  const fs::path broken = scratch_ / "Kaputt.pdf";
  std::ofstream(broken) << "kein PDF";
  OfferCase c = vlTwelveYears();
  c.input.templateName = broken.string();
  engine::ProjectionResult none;
  OfferDocument document(dialogs_, clock_, shell_);
  EXPECT_FALSE(document.writeBody(c.input, none, none));
  const auto log = core::readFileBytes((scratch_ / "KDX2009.ERR").string());
  ASSERT_TRUE(log);
  EXPECT_NE(log->find("error"), std::string::npos) << *log;
  EXPECT_EQ(log->substr(log->size() - 2), "\r\n");
}

TEST_F(OfferDocumentTest, OpeningReportsMissingAssociationAndFile) {
  struct Case {
    core::OpenResult answer;
    std::vector<std::string> messages;
  };
  const std::string path = (scratch_ / "KDX2009.pdf").string();
  const Case cases[] = {
      {core::OpenResult::Ok, {}},
      {core::OpenResult::NoAssociation, {"Fehler: Keine Verknüpfung für '" + path + "' gefunden!"}},
      {core::OpenResult::NotFound, {"Fehler: Die Datei '" + path + "' nicht gefunden!"}},
  };
  auto result = std::make_unique<engine::ProjectionResult>();
  engine::project(*result, vlTwelveYears().driver);
  for (const Case& c : cases) {
    dialogs_.clear();
    shell_.opened.clear();
    shell_.answer = c.answer;
    OfferDocument document(dialogs_, clock_, shell_);
    ASSERT_TRUE(document.writeBody(vlTwelveYears().input, *result, *result));
    ASSERT_TRUE(document.finish());
    document.openResult();
    EXPECT_EQ(shell_.opened, std::vector<std::string>{path});
    EXPECT_EQ(dialogs_.messages(), c.messages);
  }
}

TEST_F(OfferDocumentTest, UnwritableFolderIsNotReportedAsWritten) {
  auto result = std::make_unique<engine::ProjectionResult>();
  engine::project(*result, vlTwelveYears().driver);
  OfferDocument document(dialogs_, clock_, shell_);
  ASSERT_TRUE(document.writeBody(vlTwelveYears().input, *result, *result));
  fs::remove_all(scratch_);
  EXPECT_FALSE(document.finish());
  EXPECT_FALSE(document.written());
  document.openResult();
  EXPECT_TRUE(shell_.opened.empty());
}

// Another user has put a link or his own file at the offer's name in a shared temporary folder:
// the customer's offer goes to the user's data folder instead, is opened there, and what the
// other user planted stays as it was.
TEST_F(OfferDocumentTest, OfferNameTakenInASharedFolderSendsTheOfferToTheDataFolder) {
  const auto other = test_support::otherUser();
  if (!other) GTEST_SKIP() << "giving a file to another user needs root";
  const fs::path secret = scratch_ / "geheim.txt";
  std::ofstream(secret) << "bleibt";
  // The working folder missing, as an installed one the user may not write: his data folder.
  core::setWorkingDirectory((scratch_ / "programm").string());
  ::setenv("XDG_DATA_HOME", (scratch_ / "daten").c_str(), 1);
  const fs::path data = scratch_ / "daten" / "fondaris";
  OfferCase c = vlTwelveYears();
  c.input.templateName = std::string(FONDARIS_BUILD_DIR) + "/" + c.input.templateName;
  auto result = std::make_unique<engine::ProjectionResult>();
  engine::project(*result, c.driver);

  for (const bool link : {true, false}) {
    SCOPED_TRACE(link ? "link" : "file");
    const fs::path shared = scratch_ / (link ? "geteilt_link" : "geteilt_datei");
    test_support::makeSharedFolder(shared);
    const fs::path taken = shared / "KDX2009.pdf";
    if (link)
      fs::create_symlink(secret, taken);
    else
      std::ofstream(taken) << "fremd";
    ASSERT_TRUE(test_support::giveTo(taken, *other));
    ::setenv("TMP", shared.c_str(), 1);
    shell_.opened.clear();

    OfferDocument document(dialogs_, clock_, shell_);
    EXPECT_EQ(document.outputPath(), (data / "KDX2009.pdf").string());
    ASSERT_TRUE(document.writeBody(c.input, *result, *result));
    ASSERT_TRUE(document.finish());
    document.openResult();
    EXPECT_EQ(shell_.opened, std::vector<std::string>{document.outputPath()});
    EXPECT_EQ(core::readFileBytes(document.outputPath())->substr(0, 5), "%PDF-");
    EXPECT_EQ(fs::status(document.outputPath()).permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(*core::readFileBytes(secret.string()), "bleibt");
    EXPECT_EQ(fs::is_symlink(taken), link);
    if (!link) {
      EXPECT_EQ(*core::readFileBytes(taken.string()), "fremd");
    }
    EXPECT_TRUE(dialogs_.shown().empty());
  }
}

}  // namespace
}  // namespace fondaris::documents
