// The contract form's way to the projection and back: time lists, collection, the live
// illustration, the pre-calculation check and the offer calculation.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/german.h"
#include "core/settings.h"
#include "core/shell.h"
#include "documents/offer/offer_document.h"
#include "engine/product_rules.h"
#include "forms/control_numbers.h"
#include "forms/form_links.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"

namespace fondaris::forms {

namespace {

// A selection clamped to the list; -1 for an empty list.
int clampIndex(int index, int count) {
  if (count == 0) return -1;
  return std::clamp(index, 0, count - 1);
}

}  // namespace

// --- time lists -------------------------------------------------------------------------------

void TfrmVertagsdaten::fillSinglePaymentLists(bool keepSelection) {
  const bool vl = !secondVariant();
  const int period = vl ? numberOf(cb_Anlagedauer) : numberOf(cb_BZD2);
  tsEinzahlungen.setVisible(product_.singlePaymentsOffered && (!vl || cb_BZD1.itemIndex() >= 1));
  // Defaults only when the period itself changed: a refill keeps what the agent chose.
  const int key = vl ? period : -period;
  const bool periodChanged = key != singleListPeriod_;
  singleListPeriod_ = key;
  const int step = vl ? (period - 8) / 5 : (period - 2) / 5;
  for (int k = 1; k <= 5; ++k) {
    ComboBox& list = *singleTimes_[k - 1];
    const int old = list.itemIndex();
    std::vector<std::string> items;
    for (int n = vl ? 7 + k : k + 1; n <= period - 1; ++n)
      items.push_back("Anfang " + std::to_string(n) + " Jahres");
    list.setItems(items);
    const int fallback = step < 1 ? 0 : (k - 1) * (step - 1);
    const bool keep = (keepSelection || !periodChanged) && old >= 0 && old < list.itemCount();
    list.setItemIndex(clampIndex(keep ? old : fallback, list.itemCount()));
  }
  const bool fifth = vl || period > 6;
  for (Control* c :
       std::initializer_list<Control*>{&lb_Einzahlung5, &cb_Einzahlung5, &cb_EinmalBeitrag5})
    c->setVisible(fifth);
}

void TfrmVertagsdaten::fillWithdrawalLists() {
  const bool vl = !secondVariant();
  if (vl) {
    const int plan = cb_BZD1.itemIndex();
    tsAuszahlungen.setVisible(plan >= 1);
    static const char* const kTimes[] = {"Ende 7. Jahres", "Ende 13. Jahres", "Ende 19. Jahres"};
    for (int k = 0; k < 10; ++k) {
      const bool shown = k == 0 || (k < 3 && plan >= k + 1);
      // The first variant withdraws at fixed times only; the other lists hold nothing here.
      withdrawalTimes_[k]->setItems(k < 3 ? std::vector<std::string>{kTimes[k]}
                                          : std::vector<std::string>{});
      withdrawalTimes_[k]->setItemIndex(k < 3 ? 0 : -1);
      for (Control* c : std::initializer_list<Control*>{withdrawalLabels_[k], withdrawalTimes_[k],
                                                        withdrawalAmounts_[k]})
        c->setVisible(shown);
    }
    withdrawalListPeriod_ = -1;
    return;
  }
  const int period = numberOf(cb_BZD2);
  tsAuszahlungen.setVisible(true);
  // The first variant's fixed times mean nothing here.
  const bool keep = withdrawalListPeriod_ >= 0;
  withdrawalListPeriod_ = period;
  std::vector<std::string> items;
  for (int n = 1; n <= period - 1; ++n) items.push_back("Ende " + std::to_string(n) + " Jahres");
  for (int k = 0; k < 10; ++k) {
    ComboBox& list = *withdrawalTimes_[k];
    const int old = list.itemIndex();
    list.setItems(items);
    // These lists have no default: a withdrawal the agent chose stays while its year exists.
    if (keep && old >= 0 && old < list.itemCount()) list.setItemIndex(old);
    // One whose year is gone counts no more; the agent must know its amount is left out.
    if (keep && old >= list.itemCount() && amountOf(*withdrawalAmounts_[k]) > 0)
      host().dialogs().message("Die " + std::to_string(k + 1) + ". Entnahme (Ende " +
                                   std::to_string(old + 1) +
                                   " Jahres) liegt nicht mehr in der Anlagedauer und wird nicht "
                                   "berücksichtigt. Bitte einen neuen Zeitpunkt wählen.",
                               "Entnahmen");
    const bool shown = k < 3 || (k == 3 && period >= 6) || (k >= 4 && period >= 11);
    for (Control* c : std::initializer_list<Control*>{withdrawalLabels_[k], withdrawalTimes_[k],
                                                      withdrawalAmounts_[k]})
      c->setVisible(shown);
  }
}

void TfrmVertagsdaten::collect(engine::Schedule& withdrawals, engine::Schedule& singlePayments) {
  withdrawals = {};
  singlePayments = {};
  const bool vl = !secondVariant();
  if (tsAuszahlungen.visible()) {
    for (int k = 0; k < 10; ++k) {
      const ComboBox& time = *withdrawalTimes_[k];
      if (k > 0 && !withdrawalAmounts_[k]->visible()) continue;
      if (time.itemIndex() < 0) continue;
      if (!vl) withdrawals.years[k] = time.itemIndex() + 1;
      withdrawals.amounts[k] = amountOf(*withdrawalAmounts_[k]);
    }
  }
  if (!tsEinzahlungen.visible()) return;
  for (int k = 0; k < 5; ++k) {
    const ComboBox& time = *singleTimes_[k];
    if (k >= 3 && !time.visible()) continue;
    if (time.itemIndex() < 0) continue;
    singlePayments.years[k] = time.itemIndex() + (vl ? 8 + k : 2 + k);
    singlePayments.amounts[k] = amountOf(*singleAmounts_[k]);
  }
}

// --- illustration -----------------------------------------------------------------------------

engine::ContractInput TfrmVertagsdaten::illustrationInput(double contribution) {
  const bool vl = !secondVariant();
  engine::ContractInput in;
  in.monthlyContribution = contribution;
  if (vl) {
    in.contributionYears = (cb_BZD1.itemIndex() + 1) * 6 + 1;
    in.investmentYears = numberOf(cb_Anlagedauer);
  } else {
    in.contributionYears = numberOf(cb_BZD3);
    in.investmentYears = numberOf(cb_BZD2);
  }
  in.yearlyIncrease = cb_Dynamik.visible() ? amountOf(cb_Dynamik) * 0.01 : 0;
  collect(in.withdrawals, in.topUps);
  in.contributionDiscount = agentDiscount(vl);
  in.costDiscount = cb_Einmal.visible() ? amountOf(cb_EinmalProz) * 0.01 : 0;
  in.singlePayment = medEinmalzahlungZB.visible() ? amountOf(medEinmalzahlungZB) : 0;
  if (!vl && singleInvestmentMode()) {
    in.singlePayment = contribution;
    in.monthlyContribution = 0;
    in.contributionYears = 0;
  }
  return in;
}

void TfrmVertagsdaten::writeRateFields(int k, const engine::RunOutcome& without,
                                       const engine::RunOutcome& with) {
  auto write = [](Edit& value, Edit& bonus, const engine::RunOutcome& o) {
    value.setText(o.projected() ? core::formatAmount(engine::round2(o.fundValueAtEnd)) : "");
    bonus.setText(o.projected() ? core::formatAmount(engine::round2(o.bonusSum)) : "");
  };
  write(*fw_[k], *pt_[k], without);
  write(*fwm_[k], *ptm_[k], with);
  if (!without.projected() || !with.projected()) {
    me_[k]->setText("");
    return;
  }
  // The difference of the figures as shown, so one cent reads as one cent.
  const double extra = (engine::round2(with.fundValueAtEnd) + engine::round2(with.bonusSum)) -
                       (engine::round2(without.fundValueAtEnd) + engine::round2(without.bonusSum));
  me_[k]->setText(core::formatAmount(extra));
}

void TfrmVertagsdaten::illustrate() {
  const bool vl = !secondVariant();
  const bool single = !vl && singleInvestmentMode();
  const double contribution = amountOf(vl ? cb_Beitrag_1 : cb_Beitrag_2);
  engine::ContractInput with = illustrationInput(contribution);
  engine::ContractInput without = with;
  without.singlePayment = 0;
  without.costDiscount = 0;

  engine::FixedTermOptions fixedTerm;
  fixedTerm.singlePaymentLoad = product_.singlePaymentCostRate;
  for (int k = 0; k < 3; ++k) fixedTerm.plannedWithdrawals[k] = with.withdrawals.amounts[k];
  const engine::StandardOptions standard;
  double firstExtra = 0;
  for (int k = 0; k < 4; ++k) {
    const double rate = amountOf(*rates_[k]) * 0.01;
    const engine::RunOutcome o0 =
        vl ? engine::projectFixedTerm(without_, without, fixedTerm, rate, k)
           : engine::projectStandard(without_, without, standard, rate, k);
    const engine::RunOutcome o1 = vl ? engine::projectFixedTerm(with_, with, fixedTerm, rate, k)
                                     : engine::projectStandard(with_, with, standard, rate, k);
    writeRateFields(k, o0, o1);
    if (k == 0) firstExtra = amountOf(*me_[0]);
  }

  const bool extraShown = firstExtra > 0.009 && !single;
  if (single)
    for (int k = 0; k < 4; ++k) {
      fw_[k]->setText(fwm_[k]->text());
      pt_[k]->setText(ptm_[k]->text());
    }
  for (Control* c : std::initializer_list<Control*>{&lbFWM, &lbPTM, &lbME})
    c->setVisible(extraShown);
  for (int k = 0; k < 4; ++k)
    for (Edit* e : {fwm_[k], ptm_[k], me_[k]}) e->setVisible(extraShown);

  if (single) {
    medAnlage.setText(cb_Beitrag_2.text());
  } else {
    double invested = 0;
    for (int i = 0; i < with.contributionYears; ++i) invested += with_.contributionOfYear(i);
    medAnlage.setText(core::formatAmount(invested));
  }
  illustratedYears_ = std::max(with.investmentYears, with.contributionYears);
  if (onIllustrated) onIllustrated();
}

// --- pre-calculation check --------------------------------------------------------------------

PreCheck TfrmVertagsdaten::preCalculationCheck() {
  core::Dialogs& dialogs = host().dialogs();
  const CustomerFacts customer = links().customerFacts();
  const bool vl = !secondVariant();
  auto fail = [&](int code, const char* text, Control* focusTo) {
    dialogs.message(text, "Daten");
    if (focusTo) focus(focusTo);
    return PreCheck{code, 0};
  };

  // Residence, strategy and dates.
  if (customer.holder.countryIndex != customer.insured.countryIndex ||
      customer.holder.countryIndex != links().agentCountryIndex())
    return fail(1, "Angebot nicht möglich da Wohnsitz nicht zulässig!", nullptr);
  int selected = 0;
  for (const RadioButton* button : funds_) selected += button->visible() && button->checked();
  if (selected != 1) return fail(-9, "Bitte die gewünschte Strategie auswählen!", nullptr);
  const auto start = core::textToDate(med_Vbeginn.text());
  const auto insuredBirth = core::textToDate(customer.insured.birthDate);
  const auto holderBirth = core::textToDate(customer.holder.birthDate);
  if (!start || !insuredBirth || !holderBirth) return PreCheck{-1, 0};

  // The policyholder keeps his completed years: the application form decides by them
  // whether a legal representative signs.
  if (!customer.holder.ageChosen)
    links().setHolderAge(core::ageInYears(*start, *holderBirth, core::AgeMode::kCompleted));

  // The start: at least 14 days ahead; the first variant counts from the month's end.
  core::DateTime checked = *start;
  if (vl) {
    int year = 0, month = 0, day = 0;
    core::decodeDate(*start, year, month, day);
    checked = *core::encodeDate(year, month, core::daysInMonth(year, month));
  }
  const core::DateTime today = host().clock().today();
  if (checked < today + engine::kEarliestStartDays)
    return fail(10, "Der Beginn kann frühenstens in 14 Tagen erfolgen!", &cbBeginnMonat);
  if (checked <= today) return fail(10, "Der Beginn muss in der Zukunft liegen!", &cbBeginnMonat);

  // The employer's subsidy is part of the contribution.
  if (vl && amountOf(cb_Beitrag_1) < amountOf(cb_Zuschuss))
    return fail(109, "Der Zuschuss der Arbeitgebers passt nicht zum Sparbeitrag!", &cb_Beitrag_1);

  // The insured person's age by calendar years at that start.
  if (!customer.insured.ageChosen)
    links().setInsuredAge(core::ageInYears(checked, *insuredBirth, core::AgeMode::kCalendarYears));

  return PreCheck{0, amountOf(vl ? cb_Beitrag_1 : cb_Beitrag_2)};
}

// --- offer calculation ------------------------------------------------------------------------

OfferRun TfrmVertagsdaten::gatherOfferRun(double contribution) {
  const CustomerFacts customer = links().customerFacts();
  const AgentFacts agent = links().agentFacts();
  const bool vl = !secondVariant();
  const bool single = !vl && singleInvestmentMode();

  OfferRun run;
  engine::DriverInput& d = run.driver;
  d.contract = illustrationInput(contribution);
  static constexpr int kPayments[] = {12, 4, 2, 1};
  d.paymentsPerYear = kPayments[std::clamp(cb_ZW.itemIndex(), 0, 3)];
  d.entryAgePolicyholder =
      customer.holder.salutationIndex < 2 ? std::atoi(customer.holder.age.c_str()) : -1;
  d.entryAgeInsured = std::atoi(customer.insured.age.c_str());
  if (const auto born = core::textToDate(customer.insured.birthDate)) {
    int month = 0, day = 0;
    core::decodeDate(*born, d.birthYear, month, day);
  }
  d.sex = customer.insured.salutationIndex;
  for (int k = 0; k < 4; ++k) d.growthRates[k] = amountOf(*rates_[k]) * 0.01;
  d.growthRates[4] = product_.fifthGrowthRate;
  const bool discounted = cb_EinmalRabat.visible() && cb_EinmalRabat.checked();
  const double s = discounted ? amountOf(cbReduktion) * 0.01 : 0;
  d.fixedTermSinglePaymentLoad =
      vl ? product_.singlePaymentCostRate : (1 - s) * product_.singlePaymentCostRate;
  d.fixedTerm = vl;

  run.comparison = d;
  run.comparison.contract.singlePayment = 0;
  run.comparison.contract.costDiscount = 0;
  run.comparison.fixedTermSinglePaymentLoad = (1 - s) * product_.singlePaymentCostRate;

  documents::OfferDocumentInput& doc = run.document;
  int strategy = 1;
  for (std::size_t i = 0; i < funds_.size(); ++i)
    if (funds_[i]->checked()) strategy = static_cast<int>(i) + 1;
  const Strategy& chosen = (vl ? product_.vl : product_.ziel)[strategy - 1];
  doc.templateName = chosen.offerTemplate;
  doc.tableTop = chosen.value1;
  doc.firstVariant = vl;
  doc.noStatePremium = cbOhneStaat.checked();
  doc.premiumFootnote = product_.premiumFootnote;
  doc.contributionYears = vl ? 6 * (cb_BZD1.itemIndex() + 1) : single ? 0 : numberOf(cb_BZD3);
  doc.termYears = vl ? numberOf(cb_Anlagedauer) : numberOf(cb_BZD2);
  doc.employerShare = vl ? amountOf(cb_Zuschuss) : 0;
  std::string version = core::versionString("FileVersion").value_or("");
  if (version.size() >= 2)
    version.resize(version.size() - (version[version.size() - 2] == '.' ? 2 : 3));
  doc.programVersion = version;
  auto prefixed = [](const char* prefix, const std::string& text) {
    return text.empty() ? std::string() : prefix + text;
  };
  doc.agentLines = {agent.company,
                    agent.contact,
                    agent.street,
                    agent.postcode + " " + agent.place,
                    prefixed("FAX ", agent.fax),
                    prefixed("Tel. ", agent.phone),
                    prefixed("Mobil ", agent.mobile),
                    prefixed("E-mail ", agent.email)};
  for (int k = 0; k < 4; ++k) doc.growthRates[k] = rates_[k]->text();
  doc.salutationMale = customer.holder.salutationIndex != 1;
  doc.customerName = customer.holder.firstName.empty()
                         ? customer.holder.lastName
                         : customer.holder.firstName + " " + customer.holder.lastName;
  doc.contributionA = contribution;
  doc.contributionB = contribution;
  doc.initialExtraPayment = topUps[0];
  doc.singleInvestmentAtStart = medEinmalzahlungZB.visible() ? amountOf(medEinmalzahlungZB) : 0;
  if (const auto start = core::textToDate(med_Vbeginn.text())) {
    int day = 0;
    core::decodeDate(*start, doc.startYear, doc.startMonth, day);
  }
  const AgentDiscount& discount = vl ? agent.firstVariantDiscount : agent.secondVariantDiscount;
  // A single investment gets the agent's discount only when it is ticked for it.
  const bool rebateGranted = d.contract.contributionDiscount > 0 && !(single && s == 0);
  if (rebateGranted) doc.grantedRebate = discount.percent + " %";
  return run;
}

void TfrmVertagsdaten::sb_AngebotsbrechnungClick(Control*) {
  pcWeitereDaten.setActivePage(0);
  const PreCheck check = preCalculationCheck();
  if (check.code != 0) return;
  topUps[0] = cb_Einmal.visible() ? amountOf(cb_Einmal) : 0;
  const OfferRun run = gatherOfferRun(check.contribution);

  auto result = std::make_unique<engine::ProjectionResult>();
  auto comparison = std::make_unique<engine::ProjectionResult>();
  engine::project(*result, run.driver);
  engine::project(*comparison, run.comparison);

  documents::OfferDocument document(host().dialogs(), host().clock(), host().shell(),
                                    offerOutputPath);
  // Without a complete body nothing is written, so no half offer opens.
  if (!document.writeBody(run.document, *result, *comparison)) return;
  if (document.finish()) {
    lastOfferPath = document.outputPath();
    document.openResult();
  }
}

// --- annual top-ups ---------------------------------------------------------------------------

void TfrmVertagsdaten::sb_ZuzahlungenClick(Control*) {
  core::Dialogs& dialogs = host().dialogs();
  int open = 48 - std::atoi(links().customerFacts().insured.age.c_str());
  if (open <= 0) {
    dialogs.message(
        "Zusätzliche Zuzahlungen nicht möglich, da die Restlaufzeit bis zum Alter von 60 Jahren "
        "kleiner als 12 Jahre!",
        "Daten");
    return;
  }
  open = std::min(open, numberOf(cb_BZD3) - 1);
  if (open <= 0) {
    dialogs.message("Die Beitragszahlungsdauer ist zu kurz!", "Daten");
    return;
  }
  const TopUpsEdit edit = links().editTopUps(topUps, open);
  if (!edit.accepted) return;
  topUpCount = static_cast<int>(
      std::count_if(topUps.begin() + 1, topUps.begin() + 1 + open, [](double v) { return v > 0; }));
  const bool corrected = edit.corrected;
  if (corrected)
    dialogs.message(
        "Die Höhe einzelner Zuzahlungen war zu niedrig und wurde daher auf 480 Euro korrigiert!",
        "Fehler");
}

}  // namespace fondaris::forms
