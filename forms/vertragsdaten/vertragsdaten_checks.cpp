// Field checks of the contract form: each corrects its field in place and ends with a fresh
// illustration, so the result fields always match the inputs.
#include <algorithm>
#include <cmath>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/german.h"
#include "core/shell.h"
#include "engine/product_rules.h"
#include "forms/control_numbers.h"
#include "forms/form_links.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"

namespace fondaris::forms {

namespace {

void setAmount(Control& c, double value) {
  c.setText(core::formatAmount(value));
}

// Amounts grouped without decimals ("50.000").
std::string wholeAmount(double value) {
  const std::string text = core::formatAmount(std::floor(value + 0.5));
  return text.substr(0, text.size() - 2 - core::notation().decimalSeparator.size());
}

}  // namespace

void TfrmVertagsdaten::recalculate(Control* sender) {
  if (cb_Beitrag_1.visible())
    cb_Beitrag_1Exit(sender);
  else
    cb_Beitrag_2Exit(sender);
}

double TfrmVertagsdaten::agentDiscount(bool vl) const {
  const AgentFacts agent = links().agentFacts();
  const AgentDiscount& discount = vl ? agent.firstVariantDiscount : agent.secondVariantDiscount;
  return discount.offered ? core::parseAmount(discount.percent) * 0.01 : 0;
}

void TfrmVertagsdaten::cb_Beitrag_1Exit(Control* sender) {
  setAmount(cb_Beitrag_1, engine::heldVlContribution(amountOf(cb_Beitrag_1)));
  // A contribution change refreshes the lists but keeps an investment period that still fits
  // the plan; only choosing the plan itself resets it.
  if (sender) cb_BZDChange(&cb_Anlagedauer);
  followContribution();
}

void TfrmVertagsdaten::cb_ZuschussExit(Control*) {
  setAmount(cb_Zuschuss, engine::heldVlSubsidy(amountOf(cb_Zuschuss), amountOf(cb_Beitrag_1)));
}

void TfrmVertagsdaten::cb_Beitrag_2Exit(Control* sender) {
  core::Dialogs& dialogs = host().dialogs();
  double value = amountOf(cb_Beitrag_2);
  const int mode = cb_Vorgabe.itemIndex();
  if (mode == 0 && value == 0 &&
      dialogs.askYesNo("Soll eine Einmalanlage ohne Sparplan angeboten werden?", "Einmalanlage")) {
    setAmount(cb_Beitrag_2, engine::kMinSingleInvestment);
    cb_Vorgabe.setItemIndex(1);
    cb_VorgabeChange(&cb_Vorgabe);
    return;
  }
  if (mode == 1 && value == 0 &&
      dialogs.askYesNo("Soll ein Sparplan angeboten werden?", "Sparplan")) {
    cb_Beitrag_2.setText("50,00");
    cb_Vorgabe.setItemIndex(0);
    cb_VorgabeChange(&cb_Vorgabe);
    return;
  }
  setAmount(cb_Beitrag_2,
            engine::heldContribution(value, static_cast<engine::ContributionMode>(mode)));
  if (sender) cb_BZDChange(&cb_BZD2);
  followContribution();
}

// After a contribution change: the payment at the start follows the new acquisition costs (as a
// percentage of them, or as a fixed amount held to them), then the illustration.
void TfrmVertagsdaten::followContribution() {
  if (cb_EinmalProz.visible()) {
    if (!cbAbsolut.checked()) {
      bool ok = false;
      const double costs = acquisitionCosts(ok);
      if (ok) setAmount(cb_Einmal, amountOf(cb_EinmalProz) * 0.01 * costs);
    } else {
      cb_EinmalExit(nullptr);
    }
  }
  illustrate();
}

double TfrmVertagsdaten::acquisitionCosts(bool& ok) {
  ok = true;
  if (secondVariant()) {
    return engine::startPaymentCostBase(amountOf(cb_Beitrag_2), numberOf(cb_BZD3),
                                        agentDiscount(false));
  }
  engine::ContractInput in = illustrationInput(amountOf(cb_Beitrag_1));
  in.costDiscount = 0;
  engine::FixedTermOptions options;
  options.singlePaymentLoad = product_.singlePaymentCostRate;
  for (int k = 0; k < 3; ++k) options.plannedWithdrawals[k] = in.withdrawals.amounts[k];
  const engine::RunOutcome outcome =
      engine::projectFixedTerm(without_, in, options, amountOf(*rates_[0]) * 0.01, 0);
  ok = outcome.projected();
  return outcome.acquisitionCosts;
}

void TfrmVertagsdaten::cb_VorgabeChange(Control*) {
  const bool single = singleInvestmentMode();
  const bool second = secondVariant();
  double value = amountOf(cb_Beitrag_2);
  if (!single && !cb_BZD3.visible() && value > 500) value = 100;
  if (single && cb_BZD3.visible() && value < engine::kMinSingleInvestment)
    value = engine::kMinSingleInvestment;
  setAmount(cb_Beitrag_2, value);

  // What the mode shows.
  cb_Beitrag_2.setVisible(second);
  cb_Ablaufleistung.setVisible(false);
  cb_BZD3.setVisible(!single && second);
  lb_BZD3.setVisible(cb_BZD3.visible());
  const bool startPayment = !single && product_.startPaymentOffered;
  for (Control* c : std::initializer_list<Control*>{&lb_Einmal, &cb_Einmal, &lb_EinmalEUR,
                                                    &cb_EinmalProz, &lb_EinmalProz, &cbAbsolut})
    c->setVisible(startPayment);
  for (Control* c : std::initializer_list<Control*>{&lb_Dynamik, &cb_Dynamik, &lb_DynamikProz})
    c->setVisible(!single && second && product_.dynamicsOffered);
  for (Control* c : std::initializer_list<Control*>{&lbEinmalzahlungZB, &medEinmalzahlungZB,
                                                    &lbEinmalzahlungEURZB})
    c->setVisible(!single && second && product_.singlePaymentsOffered);
  cbArtEinmalanlage.setVisible(single);
  cbArtEinmalanlageChange(&cbArtEinmalanlage);

  // Discount on the single investment and the reduction field.
  const bool singleInvestment = hasSingleInvestment();
  const AgentFacts agent = links().agentFacts();
  cb_EinmalRabat.setVisible(agent.secondVariantDiscount.offered && (single || singleInvestment));
  cbReduktion.setVisible(cb_Einmal.visible() ||
                         (cb_EinmalRabat.visible() && cb_EinmalRabat.checked()));

  // Bank details of the application form; a single investment has no payment at the start.
  bankDetailsShown = product_.startPaymentOffered || single;
  if (single) {
    bankDetailsCaption = "Bankverbindung Zuzahlung zu Beginn und Vorabzahlung Einrichtungsentgelt";
    cb_EinmalProz.setItemIndex(0);
    cb_EinmalProzExit(nullptr);
  } else if (amountOf(cb_Einmal) > 0 && singleInvestment) {
    bankDetailsCaption = "Bankverbindung Zuzahlung zu Beginn und Vorabzahlung Einrichtungsentgelt";
  } else if (singleInvestment) {
    bankDetailsCaption = "Bankverbindung Zuzahlung zu Beginn und Einrichtungsentgelt für Zuzahlung";
  } else {
    bankDetailsCaption = "Bankverbindung Vorabzahlung auf das Einrichtungsentgelt";
  }

  // Where a single investment goes.
  cbEinmalStrategie.setVisible(single || singleInvestment);
  cbEinmalStrategieChange(&cbEinmalStrategie);

  // The contribution list of the mode, the amount kept.
  const double kept = amountOf(cb_Beitrag_2);
  std::vector<std::string> items;
  if (single)
    for (double v = engine::kMinSingleInvestment; v <= 10000; v += 100)
      items.push_back(core::formatAmount(v));
  else
    for (int v = 50; v <= 1000; v += 10) items.push_back(core::formatAmount(v));
  cb_Beitrag_2.setItems(items);
  setAmount(cb_Beitrag_2, kept);
  cb_Beitrag_2Exit(&cb_Beitrag_2);
}

void TfrmVertagsdaten::cb_BZDChange(Control* sender) {
  const bool vl = !secondVariant();
  if (vl && (sender == &cb_BZD1 || sender == &cb_Anlagedauer)) {
    const int n = std::max(1, cb_BZD1.itemIndex() + 1);
    selectByText(cb_BZD3, std::to_string(6 * n));
    if (sender == &cb_BZD1 || numberOf(cb_Anlagedauer) <= 6 * n)
      selectByText(cb_Anlagedauer, std::to_string(6 * n + 1));
    // The lists first, so that the illustration collects what they show.
    fillWithdrawalLists();
    if (product_.singlePaymentsOffered) fillSinglePaymentLists(false);
    cb_Beitrag_1Exit(nullptr);
    return;
  }
  if (numberOf(cb_BZD3) > numberOf(cb_BZD2)) selectByText(cb_BZD3, cb_BZD2.text());
  fillWithdrawalLists();
  if (product_.singlePaymentsOffered) fillSinglePaymentLists(false);
  cb_Beitrag_2Exit(nullptr);
}

void TfrmVertagsdaten::cb_AnlagedauerChange(Control*) {
  const int n = std::max(1, cb_BZD1.itemIndex() + 1);
  if (numberOf(cb_Anlagedauer) < 6 * n + 1) {
    host().dialogs().message("Die Anlagedauer passt nicht zur Anlagestrategie!",
                             "VL Anlagestrategie");
    selectByText(cb_Anlagedauer, std::to_string(6 * n + 1));
  }
  cb_BZDChange(&cb_Anlagedauer);
}

void TfrmVertagsdaten::cb_BZD3Change(Control*) {
  if (numberOf(cb_BZD3) > numberOf(cb_BZD2)) {
    if (host().dialogs().askYesNo("Die Anlagedauer passt nicht zur Beitragszahlungsdauer! Soll die "
                                  "Anlagedauer angepasst werden?",
                                  "Beitragszahlungsdauer"))
      selectByText(cb_BZD2, cb_BZD3.text());
    else
      selectByText(cb_BZD3, cb_BZD2.text());
  }
  cb_BZDChange(&cb_BZD2);
}

void TfrmVertagsdaten::cb_EinmalProzExit(Control* sender) {
  if (!cb_EinmalProz.visible()) return;
  const double entered = amountOf(cb_EinmalProz);
  double percent = std::clamp(entered, 0.0, 100.0);
  if (percent > 0 && percent < 1) percent = 1;
  const AgentFacts agent = links().agentFacts();
  double d = 0;
  if (agent.firstVariantDiscount.offered && rb_Fonds1.checked())
    d = core::parseAmount(agent.firstVariantDiscount.percent) * 0.01;
  else if (agent.secondVariantDiscount.offered && !rb_Fonds1.checked())
    d = core::parseAmount(agent.secondVariantDiscount.percent) * 0.01;
  if (d == 0 || d >= 1) {
    setAmount(cb_EinmalProz, percent);
    cbReduktion.setVisible(false);
    cbReduktion.setText("");
  } else {
    const double r = std::floor(percent * (1 - d) + 0.5);
    setAmount(cb_EinmalProz, r / (1 - d));
    cbReduktion.setText(std::to_string(static_cast<int>(std::floor(r + 100 * d + 0.5))) + " %");
    cbReduktion.setVisible(cb_EinmalProz.visible());
  }
  // A corrected percentage waives another share of the costs: the amount follows it, so the
  // offer never waives more than is paid.
  if (cb_EinmalProz.text() != core::formatAmount(entered)) {
    bool ok = false;
    const double costs = acquisitionCosts(ok);
    if (ok) setAmount(cb_Einmal, amountOf(cb_EinmalProz) * 0.01 * costs);
  }
  if (sender)
    recalculate(sender);
  else
    illustrate();
}

void TfrmVertagsdaten::cb_EinmalExit(Control*) {
  double amount = amountOf(cb_Einmal);
  if (amount < 0) amount = 0;
  if (amount == 0) {
    setAmount(cb_Einmal, 0);
    cb_EinmalProz.setText("0");
    cb_EinmalProzExit(nullptr);
  } else {
    bool ok = false;
    const double costs = acquisitionCosts(ok);
    if (ok) {
      if (amount >= costs) {
        setAmount(cb_Einmal, costs);
        cb_EinmalProz.setText("100");
      } else {
        setAmount(cb_Einmal, amount);
        setAmount(cb_EinmalProz, amount / costs * 100);
      }
    }
  }
  cb_EinmalProzExit(nullptr);
  illustrate();
}

void TfrmVertagsdaten::cbAbsolutClick(Control*) {
  cb_EinmalProz.setEnabled(!cbAbsolut.checked());
  cb_Einmal.setEnabled(cbAbsolut.checked());
}

void TfrmVertagsdaten::medEinmalzahlungZBExit(Control* sender) {
  const double value = amountOf(medEinmalzahlungZB);
  if (value < 1) {
    setAmount(medEinmalzahlungZB, 0);
  } else if (value < engine::kMinSingleInvestment) {
    const bool yes = host().dialogs().askYesNo(
        "Zurzeit beträgt der Mindestwert bei der Einmalanlagen 2.500€. Sollen 2.500€ gesetzt "
        "werden?",
        "Einmalanlage zu Beginn");
    setAmount(medEinmalzahlungZB, yes ? engine::kMinSingleInvestment : 0);
  } else {
    setAmount(medEinmalzahlungZB, value);
  }
  cbEinmalStrategie.setVisible(singleInvestmentMode() || hasSingleInvestment());
  cbEinmalStrategieChange(&cbEinmalStrategie);
  recalculate(sender);
}

void TfrmVertagsdaten::cbEinmalStrategieChange(Control*) {
  boxTauschplan.setVisible(cbEinmalStrategie.visible() && cbEinmalStrategie.itemIndex() == 2);
}

void TfrmVertagsdaten::cbArtEinmalanlageChange(Control*) {
  const bool follow = cbArtEinmalanlage.visible() && cbArtEinmalanlage.itemIndex() == 1;
  lbDepotNr.setVisible(follow);
  medDepotNr.setVisible(follow);
}

void TfrmVertagsdaten::tauschDateExit(MaskEdit& field, bool begin) {
  std::string text = field.text();
  if (text.size() == 10) {
    const std::string year = text.substr(6), day = text.substr(0, 2);
    const bool noYear = year == "____" || year == "    ";
    const bool noDay = day == "__" || day == "  ";
    if (noYear && !noDay) text = text.substr(0, 6) + startYearText_;
  }
  const auto date = core::textToDate(text);
  if (!date) return;
  int year = 0, month = 0, day = 0;
  core::decodeDate(*date, year, month, day);
  if (begin) {
    const auto start = core::textToDate(med_Vbeginn.text());
    if (start && *date < *start) {
      int startDay = 0;
      core::decodeDate(*start, year, month, startDay);
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
  } else {
    const auto from = core::textToDate(med_BeginnTausch.text());
    if (!from) return;
    if (*date < *from) {
      int fromDay = 0;
      core::decodeDate(*from, year, month, fromDay);
      ++year;
    }
  }
  const char separator = core::notation().dateSeparator;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "10%c%02d%c%04d", separator, month, separator, year);
  field.setText(buffer);
}

void TfrmVertagsdaten::med_BeginnTauschExit(Control*) {
  tauschDateExit(med_BeginnTausch, true);
}

void TfrmVertagsdaten::med_EndeTauschExit(Control*) {
  tauschDateExit(med_EndeTausch, false);
}

void TfrmVertagsdaten::cbTauschbetragExit(Control*) {
  setAmount(cbTauschbetrag, std::max(50.0, amountOf(cbTauschbetrag)));
}

void TfrmVertagsdaten::cb_EinmalBeitragExit(Control* sender) {
  if (!sender) return;
  const double value = amountOf(*sender);
  if (value > 0 && value < engine::kMinSingleInvestment) {
    const bool yes = host().dialogs().askYesNo(
        "Zurzeit beträgt der Mindestwert bei den Einmalanlagen 2.500€. Sollen 2.500€ gesetzt "
        "werden?",
        "Einmalanlagen");
    setAmount(*sender, yes ? engine::kMinSingleInvestment : 0);
  } else {
    setAmount(*sender, value);
  }
  cb_AuszahlungChange(nullptr);
}

void TfrmVertagsdaten::cb_BeitragExit(Control* sender) {
  if (sender) setAmount(*sender, amountOf(*sender));
  recalculate(nullptr);
}

void TfrmVertagsdaten::cb_AuszahlungChange(Control*) {
  recalculate(nullptr);
}

void TfrmVertagsdaten::cb_WEChange(Control*) {
  recalculate(cb_Beitrag_1.visible() ? static_cast<Control*>(&cb_Beitrag_1) : &cb_Beitrag_2);
}

void TfrmVertagsdaten::cb_ZWExit(Control*) {
  recalculate(cb_Beitrag_1.visible() ? static_cast<Control*>(&cb_Beitrag_1) : &cb_Beitrag_2);
}

void TfrmVertagsdaten::cb_DynamikChange(Control* sender) {
  recalculate(sender);
}

void TfrmVertagsdaten::cb_AblaufleistungExit(Control*) {
  double value = amountOf(cb_Ablaufleistung);
  if (value > 10000000 || value < 0) value = 50000;
  cb_Ablaufleistung.setText(wholeAmount(value));
}

void TfrmVertagsdaten::showPeriodFields() {
  const bool vl = !secondVariant();
  for (Control* c :
       std::initializer_list<Control*>{&cb_BZD1, &cb_Beitrag_1, &lb_Anlagedauer, &cb_Anlagedauer})
    c->setVisible(vl);
  cb_BZD2.setVisible(!vl);
  cb_Beitrag_2.setVisible(!vl);
  cb_BZD3.setEnabled(!vl);
}

void TfrmVertagsdaten::rb_FondsClick(Control* sender) {
  const bool vl = !secondVariant();
  showPeriodFields();
  cb_BZDChange(cb_BZD1.visible() ? &cb_BZD1 : &cb_BZD2);
  // The month-end strategy moves the start, whichever was chosen first.
  cbBeginnJahrChange(nullptr);

  // Default growth rates per strategy: {VL, second variant}.
  static constexpr int kDefaults[][2][4] = {
      {{4, 6, 8, 10}, {3, 5, 7, 9}},    {{5, 7, 9, 11}, {5, 7, 9, 11}},
      {{3, 5, 7, 9}, {6, 8, 10, 12}},   {{5, 7, 9, 11}, {6, 8, 10, 12}},
      {{6, 8, 10, 12}, {6, 8, 10, 12}}, {{2, 4, 6, 8}, {2, 4, 6, 8}},
  };
  static constexpr int kNoSender[4] = {6, 8, 10, 12};
  const int* defaults = kNoSender;
  for (std::size_t i = 0; i < funds_.size(); ++i)
    if (sender == funds_[i]) defaults = kDefaults[std::min<std::size_t>(i, 5)][vl ? 0 : 1];
  for (int k = 0; k < 4; ++k) {
    const int index =
        rates_[k]->indexOf(std::to_string(defaults[k]) + core::notation().decimalSeparator + "0");
    rates_[k]->setItemIndex(index >= 0 ? index : 0);
  }
  cb_WEChange(nullptr);
}

bool TfrmVertagsdaten::hasSingleInvestment() const {
  return medEinmalzahlungZB.visible() && amountOf(medEinmalzahlungZB) > 0;
}

}  // namespace fondaris::forms
