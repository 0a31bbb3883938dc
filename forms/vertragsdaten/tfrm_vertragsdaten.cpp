#include "forms/vertragsdaten/tfrm_vertragsdaten.h"

#include <cstdio>
#include <utility>

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/german.h"
#include "core/param_layout.h"
#include "core/param_record.h"
#include "core/settings.h"
#include "core/shell.h"
#include "engine/product_rules.h"
#include "forms/date_field.h"
#include "forms/form_links.h"

namespace fondaris::forms {

namespace {

// The fields of one strategy table of the product data, one entry per strategy.
struct StrategyFields {
  const core::ParamField& value1;
  const core::ParamField& value2;
  const core::ParamField& name;
  const core::ParamField& listName;
  const core::ParamField& extraText;
  const core::ParamField& offerTemplate;
  const core::ParamField& infoDocument;
};
constexpr StrategyFields kVlStrategy{
    core::paramField("vlStrategy.value1"),      core::paramField("vlStrategy.value2"),
    core::paramField("vlStrategy.name"),        core::paramField("vlStrategy.listName"),
    core::paramField("vlStrategy.extraText"),   core::paramField("vlStrategy.offerTemplate"),
    core::paramField("vlStrategy.infoDocument")};
constexpr StrategyFields kZielStrategy{
    core::paramField("zielStrategy.value1"),      core::paramField("zielStrategy.value2"),
    core::paramField("zielStrategy.name"),        core::paramField("zielStrategy.listName"),
    core::paramField("zielStrategy.extraText"),   core::paramField("zielStrategy.offerTemplate"),
    core::paramField("zielStrategy.infoDocument")};

// An active strategy's entry `i` of one table.
Strategy readStrategy(const core::ParamRecord& record, const StrategyFields& f, std::size_t i) {
  Strategy s;
  s.active = true;
  s.value1 = static_cast<int>(core::paramNumber(record, f.value1, i));
  s.value2 = static_cast<int>(core::paramNumber(record, f.value2, i));
  s.name = core::paramText(record, f.name, i);
  s.listName = core::paramText(record, f.listName, i);
  s.extraText = core::paramText(record, f.extraText, i);
  s.offerTemplate = core::paramText(record, f.offerTemplate, i);
  s.infoDocument = core::paramText(record, f.infoDocument, i);
  return s;
}

std::string twoDigits(int n) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d", n);
  return buffer;
}

std::vector<std::string> amounts(double from, double to, double step) {
  std::vector<std::string> items;
  for (double v = from; v <= to + 1e-9; v += step) items.push_back(core::formatAmount(v));
  return items;
}

std::vector<std::string> wholeNumbers(int from, int to, int step = 1) {
  std::vector<std::string> items;
  for (int v = from; v <= to; v += step) items.push_back(std::to_string(v));
  return items;
}

}  // namespace

TfrmVertagsdaten::TfrmVertagsdaten(FormHost& host)
    : Form(host, "TfrmVertagsdaten", "frmVertragsdaten",
           {Placement::PositionAndSize, Placement::PositionAndSize, true, true}) {
  funds_ = {&rb_Fonds1, &rb_Fonds2, &rb_Fonds3, &rb_Fonds4,  &rb_Fonds5, &rb_Fonds6,
            &rb_Fonds7, &rb_Fonds8, &rb_Fonds9, &rb_Fonds10, &rb_Fonds11};
  portfolioLabels_ = {&lbAS1, &lbAS2, &lbAS3, &lbAS4,  &lbAS5, &lbAS6,
                      &lbAS7, &lbAS8, &lbAS9, &lbAS10, &lbAS11};
  infoLabels_ = {&lb_InfoF1, &lb_InfoF2, &lb_InfoF3, &lb_InfoF4,  &lb_InfoF5, &lb_InfoF6,
                 &lb_InfoF7, &lb_InfoF8, &lb_InfoF9, &lb_InfoF10, &lb_InfoF11};
  rates_ = {&cb_WE1, &cb_WE2, &cb_WE3, &cb_WE4};
  fw_ = {&med_FW1, &med_FW2, &med_FW3, &med_FW4};
  pt_ = {&med_PT1, &med_PT2, &med_PT3, &med_PT4};
  fwm_ = {&med_FWM1, &med_FWM2, &med_FWM3, &med_FWM4};
  ptm_ = {&med_PTM1, &med_PTM2, &med_PTM3, &med_PTM4};
  me_ = {&med_ME1, &med_ME2, &med_ME3, &med_ME4};
  // The illustration's results: shown, never typed.
  for (const auto* results : {&fw_, &pt_, &fwm_, &ptm_, &me_})
    for (Edit* result : *results) result->setReadOnly(true);
  singleTimes_ = {&cb_Einzahlung1, &cb_Einzahlung2, &cb_Einzahlung3, &cb_Einzahlung4,
                  &cb_Einzahlung5};
  singleAmounts_ = {&cb_EinmalBeitrag1, &cb_EinmalBeitrag2, &cb_EinmalBeitrag3, &cb_EinmalBeitrag4,
                    &cb_EinmalBeitrag5};
  singleLabels_ = {&lb_Einzahlung1, &lb_Einzahlung2, &lb_Einzahlung3, &lb_Einzahlung4,
                   &lb_Einzahlung5};
  withdrawalTimes_ = {&cb_Auszahlung1, &cb_Auszahlung2, &cb_Auszahlung3, &cb_Auszahlung4,
                      &cb_Auszahlung5, &cb_Auszahlung6, &cb_Auszahlung7, &cb_Auszahlung8,
                      &cb_Auszahlung9, &cb_Auszahlung10};
  withdrawalAmounts_ = {&cb_Beitrag1, &cb_Beitrag2, &cb_Beitrag3, &cb_Beitrag4, &cb_Beitrag5,
                        &cb_Beitrag6, &cb_Beitrag7, &cb_Beitrag8, &cb_Beitrag9, &cb_Beitrag10};
  withdrawalLabels_ = {&lb_Auszahlung1, &lb_Auszahlung2, &lb_Auszahlung3, &lb_Auszahlung4,
                       &lb_Auszahlung5, &lb_Auszahlung6, &lb_Auszahlung7, &lb_Auszahlung8,
                       &lb_Auszahlung9, &lb_Auszahlung10};

  // Design: kinds, captions, what starts hidden.
  for (ComboBox* list : {&cbBeginnTag, &cbBeginnMonat, &cbBeginnJahr, &cb_Vorgabe, &cb_ZW,
                         &cb_Dynamik, &cb_BZD1, &cb_BZD2, &cb_BZD3, &cb_Anlagedauer,
                         &cbEinmalStrategie, &cbZWTausch, &cbArtEinmalanlage, &cbZWEinzahlplan})
    list->setDropDownList(true);
  for (ComboBox* list : rates_) list->setDropDownList(true);
  for (ComboBox* list : singleTimes_) list->setDropDownList(true);
  for (ComboBox* list : withdrawalTimes_) list->setDropDownList(true);
  for (Control* c : controls())
    if (c->kind() == ControlKind::ComboBoxInc) static_cast<ComboBoxInc*>(c)->Numeric = true;
  cbBeginnTag.setItems({"1", "15"});
  std::vector<std::string> months;
  for (int m = 1; m <= 12; ++m) months.push_back(twoDigits(m));
  cbBeginnMonat.setItems(months);
  med_Vbeginn.setMask("!99/99/9999;1;_");
  med_Vbeginn.setVisible(false);
  cb_Vorgabe.setItems({"Monatsbeitrag", "Einmalanlage"});
  cb_Vorgabe.setEnabled(false);
  cb_Beitrag_1.setItems({"34,00", "40,00", "51,00", "63,00", "74,00"});
  cb_ZW.setItems({"monatlich", "vierteljährlich", "halbjährlich", "jährlich"});
  cb_ZW.setVisible(false);
  cb_ZW.setEnabled(false);
  cb_BZD1.setItems({"VL1", "VL2", "VL3", "VL4"});
  lb_Beitrag.setCaption("EUR");
  lb_Zuschuss.setCaption("Monatlicher Zuschuss Arbeitgeber");
  lb_ZuschussEUR.setCaption("EUR");
  lb_Dynamik.setCaption("Dynamik");
  lb_DynamikProz.setCaption("%");
  lb_BZD.setCaption("Anlagedauer");
  lb_BZD3.setCaption("Beitragszahldauer");
  lb_Anlagedauer.setCaption("Anlagedauer");
  medAnlage.setReadOnly(true);
  cb_Ablaufleistung.setVisible(false);
  lb_Einmal.setCaption("Zuzahlung zu Beginn");
  lb_EinmalProz.setCaption("%");
  lb_EinmalEUR.setCaption("EUR");
  cbAbsolut.setCaption("Angabe absolut");
  cbAbsolut.setChecked(true);
  cbReduktion.setReadOnly(true);
  lbEinmalzahlungZB.setCaption("Einmalanlage zu Beginn");
  lbEinmalzahlungEURZB.setCaption("EUR");
  cb_EinmalRabat.setCaption("Mit Rabatt");
  cb_EinmalRabat.setHint("Die Einmalanlage zu Beginn erhält auch den angegebenen Rabatt");
  cb_EinmalRabat.setChecked(true);
  cb_EinmalRabat.setVisible(false);
  cbEinmalStrategie.setItems({"Anlage in Anlagestrategie ",
                              "Anlage in Cash-Option (Geldmarkt-Option)",
                              "Anlage in Cash-Option (Geldmarkt-Option) mit Tauschplan"});
  cbEinmalStrategie.setVisible(false);
  boxTauschplan.setCaption("Tauschplan");
  boxTauschplan.setVisible(false);
  for (MaskEdit* date : {&med_BeginnTausch, &med_EndeTausch, &med_BeginnEinzahl, &med_EndeEinzahl})
    date->setMask("!99/99/9999;1;_");
  cbZWTausch.setItems({"monatlich"});
  cbArtEinmalanlage.setItems({"Erstzeichnung", "Nachzeichnung"});
  cbArtEinmalanlage.setVisible(false);
  lbDepotNr.setCaption("Depot-Nummer");
  lbDepotNr.setVisible(false);
  medDepotNr.setMaxLength(8);
  medDepotNr.setVisible(false);
  cbOhneStaat.setCaption("ohne staatliche Prämie");
  cbOhneStaat.setVisible(false);
  cb_Details.setCaption("detailiertes");
  cb_Details.setChecked(true);
  cb_Details.setVisible(false);
  gbStrategie.setCaption("Anlagestrategie");
  lbPortfolio.setCaption("Portfolio");
  for (Label* info : infoLabels_) info->setCaption("<Info>");
  tsWE.setCaption("Illustrierung der Wertentwicklung");
  tsEinzahlungen.setCaption("Einmalanlagen");
  tsAuszahlungen.setCaption("Entnahmen");
  lbFWM.setCaption("mit Zuzahlung");
  lbPTM.setCaption("(VZ)");
  lbME.setCaption("Mehrertrag durch Zuzahlung (VZ)");
  for (int k = 0; k < 5; ++k)
    singleLabels_[k]->setCaption(std::to_string(k + 1) + ". Einmalanlage");
  for (int k = 0; k < 10; ++k)
    withdrawalLabels_[k]->setCaption(std::to_string(k + 1) + ". Entnahme");
  gbEinzahlplan.setCaption("Einzahlplan");
  gbEinzahlplan.setVisible(false);
  cbZWEinzahlplan.setItems(
      {"jährlich", "jedes 2. Jahr", "jedes 3. Jahr", "jedes 4. Jahr", "jedes 5. Jahr"});
  sb_Angebotsbrechnung.setCaption("Angebot &berechnen");
  sb_Angebotsbrechnung.setHint("Angebotsberechnung durchführen");
  sb_Antrag.setCaption("An&trag");
  sb_Speichern.setCaption("Angebot &speichern");
  cb_Angebotsdaten.setCaption("&Zurück");
  // "Angebot &berechnen" holds Alt+B.
  sb_Abbruch.setCaption("B&eenden");
  sb_Abbruch.setHint("Das Programm ohne Speichern beenden");
  sb_Formular.setCaption("Blankoantrag");
  mHilfe.setCaption("&Hilfe");
  HotKeyHelp.setText("F1");
  mHilfe.setVisible(false);
  HotKeyHelp.setVisible(false);

  auto bind = [this](void (TfrmVertagsdaten::*handler)(Control*)) { return on(handler); };
  auto onExitAndEnter = [&](ComboBoxInc& box, void (TfrmVertagsdaten::*handler)(Control*)) {
    box.onExit = box.OnKeyPressEnter = bind(handler);
  };
  cbBeginnTag.onChange = cbBeginnMonat.onChange = cbBeginnJahr.onChange =
      bind(&TfrmVertagsdaten::cbBeginnJahrChange);
  med_Vbeginn.onExit = bind(&TfrmVertagsdaten::med_VbeginnExit);
  onExitAndEnter(cb_Beitrag_1, &TfrmVertagsdaten::cb_Beitrag_1Exit);
  cb_Beitrag_1.onClick = bind(&TfrmVertagsdaten::cb_Beitrag_1Exit);
  onExitAndEnter(cb_Beitrag_2, &TfrmVertagsdaten::cb_Beitrag_2Exit);
  cb_Beitrag_2.onClick = bind(&TfrmVertagsdaten::cb_Beitrag_2Exit);
  cb_ZW.onExit = bind(&TfrmVertagsdaten::cb_ZWExit);
  cb_Dynamik.onChange = bind(&TfrmVertagsdaten::cb_DynamikChange);
  for (ComboBox* list : rates_) list->onChange = bind(&TfrmVertagsdaten::cb_WEChange);
  for (ComboBox* list : withdrawalTimes_)
    list->onChange = bind(&TfrmVertagsdaten::cb_AuszahlungChange);
  for (ComboBox* list : singleTimes_) list->onChange = bind(&TfrmVertagsdaten::cb_AuszahlungChange);
  cb_BZD1.onChange = cb_BZD2.onChange = bind(&TfrmVertagsdaten::cb_BZDChange);
  cb_BZD3.onChange = bind(&TfrmVertagsdaten::cb_BZD3Change);
  cb_Anlagedauer.onChange = bind(&TfrmVertagsdaten::cb_AnlagedauerChange);
  cb_Vorgabe.onChange = bind(&TfrmVertagsdaten::cb_VorgabeChange);
  onExitAndEnter(cb_Zuschuss, &TfrmVertagsdaten::cb_ZuschussExit);
  onExitAndEnter(cb_EinmalProz, &TfrmVertagsdaten::cb_EinmalProzExit);
  onExitAndEnter(cb_Einmal, &TfrmVertagsdaten::cb_EinmalExit);
  cbAbsolut.onClick = bind(&TfrmVertagsdaten::cbAbsolutClick);
  onExitAndEnter(medEinmalzahlungZB, &TfrmVertagsdaten::medEinmalzahlungZBExit);
  cb_EinmalRabat.onClick = bind(&TfrmVertagsdaten::medEinmalzahlungZBExit);
  for (ComboBoxInc* box : singleAmounts_)
    onExitAndEnter(*box, &TfrmVertagsdaten::cb_EinmalBeitragExit);
  for (ComboBoxInc* box : withdrawalAmounts_)
    onExitAndEnter(*box, &TfrmVertagsdaten::cb_BeitragExit);
  cbEinmalStrategie.onChange = bind(&TfrmVertagsdaten::cbEinmalStrategieChange);
  cbArtEinmalanlage.onChange = bind(&TfrmVertagsdaten::cbArtEinmalanlageChange);
  med_BeginnTausch.onExit = bind(&TfrmVertagsdaten::med_BeginnTauschExit);
  med_EndeTausch.onExit = bind(&TfrmVertagsdaten::med_EndeTauschExit);
  onExitAndEnter(cbTauschbetrag, &TfrmVertagsdaten::cbTauschbetragExit);
  onExitAndEnter(cb_Ablaufleistung, &TfrmVertagsdaten::cb_AblaufleistungExit);
  for (RadioButton* button : funds_) button->onClick = bind(&TfrmVertagsdaten::rb_FondsClick);
  for (Label* info : infoLabels_) info->onClick = bind(&TfrmVertagsdaten::lb_InfoClick);
  sb_Angebotsbrechnung.onClick = bind(&TfrmVertagsdaten::sb_AngebotsbrechnungClick);
  sb_Speichern.onClick = bind(&TfrmVertagsdaten::sb_SpeichernClick);
  sb_Antrag.onClick = bind(&TfrmVertagsdaten::sb_AntragClick);
  cb_Angebotsdaten.onClick = bind(&TfrmVertagsdaten::cb_AngebotsdatenClick);
  sb_Abbruch.onClick = bind(&TfrmVertagsdaten::sb_AbbruchClick);
  sb_Formular.onClick = bind(&TfrmVertagsdaten::sb_FormularClick);
  mHilfe.onClick = bind(&TfrmVertagsdaten::mHilfeClick);

  // Title and product data; without product data the program ends.
  setCaption(host.mainForm().caption() + " - Vertragsdaten");
  const core::ParamRecord* record = host.productData(&host.dialogs());
  if (!record) {
    sb_AbbruchClick(nullptr);
    return;
  }
  readProductData(*record);

  // Strategy buttons from the first variant's table.
  for (std::size_t i = 0; i < funds_.size(); ++i) {
    funds_[i]->setCaption(product_.vl[i].name);
    funds_[i]->setVisible(product_.vl[i].active);
    infoLabels_[i]->setVisible(product_.vl[i].active);
  }

  // Layout, start date, top-ups, lists and their defaults, the first calculation.
  layoutStrategies(false);
  initStartDate();
  topUps.fill(0);
  topUpCount = 0;
  cb_ZW.setItemIndex(0);
  cb_Vorgabe.setItemIndex(0);
  fillLists();
  tsEinzahlungen.setVisible(product_.singlePaymentsOffered);
  cb_BZDChange(&cb_BZD1);
  tsAuszahlungen.setVisible(false);
  for (ComboBox* list : {static_cast<ComboBox*>(&cbEinzahlplan), &cbZWEinzahlplan,
                         &cbEinmalStrategie, &cbZWTausch, &cbArtEinmalanlage})
    list->setItemIndex(0);
  mHilfe.setText(HotKeyHelp.text());
  saved = false;
  created_ = captureVariantValues();
}

void TfrmVertagsdaten::readProductData(const core::ParamRecord& record) {
  using core::paramField;
  using core::paramNumber;
  using core::paramText;
  ContractProductData& p = product_;
  p.fifthGrowthRate = paramNumber(record, paramField("fifthGrowthRate")) * 0.00001;
  p.singlePaymentCostRate = paramNumber(record, paramField("singlePaymentCostRate")) * 0.0001;
  p.premiumFootnote = paramNumber(record, paramField("premiumFootnote")) > 0;
  p.startPaymentOffered = paramNumber(record, paramField("startPaymentOffered")) != 0;
  p.dynamicsOffered = paramNumber(record, paramField("dynamicsOffered")) != 0;
  p.singlePaymentsOffered = paramNumber(record, paramField("singlePaymentsOffered")) != 0;
  p.bankFile = paramText(record, paramField("bankFile"));
  p.productTitleVl = paramText(record, paramField("productTextA1"));
  p.productTitleZiel = paramText(record, paramField("productTextA2"));
  for (std::size_t i = 0; i < 11; ++i) {
    // The first table's eleventh block is a product document, not a strategy.
    if (i < 10 && paramNumber(record, paramField("vlStrategy.active"), i) == 1) {
      p.vl[i] = readStrategy(record, kVlStrategy, i);
    }
    if (paramNumber(record, paramField("zielStrategy.active"), i) != 0) {
      Strategy& s = p.ziel[i];
      s = readStrategy(record, kZielStrategy, i);
      if (i < 10) {
        s.plainName = paramText(record, paramField("zielPlainName"), i);
        s.portfolio = paramText(record, paramField("zielPortfolio"), i);
      }
    }
  }
  // The bank table is read when the application form first needs it (bankTable()).
  bankFolder_ = core::workingDirectory();
  bankTable_.reset();
}

const bank::BankTable& TfrmVertagsdaten::bankTable() const {
  if (!bankTable_) {
    const std::string& name = product_.bankFile;
    bankTable_.emplace();
    if (!name.empty() && bank::bankFileExists(bankFolder_, name))
      *bankTable_ = bank::loadBankTable(bankFolder_, name, host().dialogs());
  }
  return *bankTable_;
}

void TfrmVertagsdaten::fillLists() {
  // Lists of the same amounts are one list, shared.
  const auto shared = [](std::vector<std::string> items) {
    return std::make_shared<const std::vector<std::string>>(std::move(items));
  };
  const auto startingAtZero = [&](const std::vector<std::string>& rest) {
    std::vector<std::string> items = amounts(0, 0, 1);
    items.insert(items.end(), rest.begin(), rest.end());
    return shared(std::move(items));
  };
  std::vector<std::string> subsidy = amounts(0, 70, 5);
  subsidy.push_back(core::formatAmount(engine::kVlMaxSubsidy));
  cb_Zuschuss.setItems(subsidy);
  std::vector<std::string> contribution = amounts(25, 45, 5);
  const std::vector<std::string> to1000 = amounts(50, 1000, 10);
  contribution.insert(contribution.end(), to1000.begin(), to1000.end());
  cb_Beitrag_2.setItems(contribution);
  cbTauschbetrag.setItems(to1000);
  const auto withdrawals = startingAtZero(amounts(100, 1000, 10));
  for (ComboBoxInc* box : withdrawalAmounts_) box->shareItems(withdrawals);
  std::vector<std::string> single = amounts(engine::kMinSingleInvestment, 50000, 100);
  const auto singles = startingAtZero(single);
  for (ComboBoxInc* box : singleAmounts_) box->shareItems(singles);
  cbEinzahlplan.setItems(std::move(single));

  cb_Beitrag_2.setItemIndex(10);
  cb_Beitrag_1.setItemIndex(4);
  for (ComboBoxInc* box : withdrawalAmounts_) box->setItemIndex(0);
  for (ComboBoxInc* box : singleAmounts_) box->setItemIndex(0);
  cb_Zuschuss.setItemIndex(0);
  cb_EinmalProz.setItems(wholeNumbers(0, 100, 5));
  cb_EinmalProz.setItemIndex(0);

  const auto years = shared(wholeNumbers(5, 67));
  for (ComboBox* list : {&cb_BZD2, &cb_BZD3, &cb_Anlagedauer}) list->shareItems(years);
  selectByText(cb_BZD1, "VL4");
  cb_BZD2.setItemIndex(cb_BZD2.itemCount() - 1);
  cb_BZD3.setItemIndex(cb_BZD3.itemCount() - 11);
  cb_Anlagedauer.setItemIndex(cb_Anlagedauer.itemCount() - 16);
  cb_Dynamik.setItems({"0,0", "5,0"});
  cb_Dynamik.setItemIndex(1);

  std::vector<std::string> growth;
  for (int half = 0; half <= 17; ++half)
    growth.push_back(std::to_string(half / 2) + core::notation().decimalSeparator +
                     (half % 2 ? "5" : "0"));
  for (int whole = 9; whole <= 12; ++whole)
    growth.push_back(std::to_string(whole) + core::notation().decimalSeparator + "0");
  const auto rates = shared(std::move(growth));
  const int defaults[] = {0, 8, 14, 18};
  for (int k = 0; k < 4; ++k) {
    rates_[k]->shareItems(rates);
    rates_[k]->setItemIndex(defaults[k]);
  }
}

void TfrmVertagsdaten::selectByText(ComboBox& list, const std::string& text) {
  list.setItemIndex(0);
  const int index = list.indexOf(text);
  if (index >= 0) list.setItemIndex(index);
}

bool TfrmVertagsdaten::secondVariant() const {
  return links().secondVariantChosen();
}

void TfrmVertagsdaten::layoutStrategies(bool second) {
  bool portfolio = false;
  for (const Strategy& s : product_.ziel) portfolio = portfolio || !s.portfolio.empty();
  portfolio = portfolio && second;
  lbPortfolio.setVisible(portfolio);
  for (std::size_t i = 0; i < funds_.size(); ++i) {
    const Strategy& s = second ? product_.ziel[i] : product_.vl[i];
    const std::string caption = !second ? s.name : portfolio ? s.name : s.plainName;
    funds_[i]->setCaption(caption);
    funds_[i]->setVisible(!caption.empty());
    portfolioLabels_[i]->setCaption(portfolio ? s.portfolio : std::string());
    portfolioLabels_[i]->setVisible(portfolio && !s.portfolio.empty());
    infoLabels_[i]->setVisible(!s.infoDocument.empty());
  }
}

// --- contract start ---------------------------------------------------------------------------

void TfrmVertagsdaten::selectEarliestStart() {
  const core::DateTime earliest = host().clock().today() + engine::kEarliestStartDays;
  int year = 0, month = 0, day = 0;
  core::decodeDate(earliest, year, month, day);
  cbBeginnJahr.setItems({std::to_string(year), std::to_string(year + 1)});
  cbBeginnJahr.setItemIndex(0);
  cbBeginnMonat.setItemIndex(month - 1);
}

void TfrmVertagsdaten::initStartDate() {
  const core::DateTime earliest = host().clock().today() + engine::kEarliestStartDays;
  int year = 0, month = 0, day = 0;
  core::decodeDate(earliest, year, month, day);
  selectEarliestStart();
  if (day > 15) {
    if (month == 12) {
      cbBeginnJahr.setItemIndex(1);
      cbBeginnMonat.setItemIndex(0);
    } else {
      cbBeginnMonat.setItemIndex(month);
    }
  }
  if (cbBeginnTag.itemIndex() < 0) cbBeginnTag.setItemIndex(day <= 15 ? 1 : 0);
  cbBeginnJahrChange(nullptr);
}

void TfrmVertagsdaten::fitDayList() {
  const int year = std::atoi(cbBeginnJahr.text().c_str());
  const int month = std::atoi(cbBeginnMonat.text().c_str());
  const bool monthEnd = rb_Fonds1.checked() && month >= 1 && month <= 12 && year > 0;
  const std::vector<std::string> days =
      monthEnd ? std::vector<std::string>{std::to_string(core::daysInMonth(year, month))}
               : std::vector<std::string>{"1", "15"};
  cbBeginnTag.setEnabled(!monthEnd);
  if (cbBeginnTag.items() == days) return;
  const std::string shown = cbBeginnTag.text();
  cbBeginnTag.setItems(days);
  cbBeginnTag.setItemIndex(std::max(0, cbBeginnTag.indexOf(shown)));
}

void TfrmVertagsdaten::cbBeginnJahrChange(Control*) {
  if (cbBeginnJahr.text().empty() || cbBeginnMonat.text().empty()) return;
  int year = std::atoi(cbBeginnJahr.text().c_str());
  int month = std::atoi(cbBeginnMonat.text().c_str());
  if (month == 0) {
    selectEarliestStart();
    year = std::atoi(cbBeginnJahr.text().c_str());
    month = std::atoi(cbBeginnMonat.text().c_str());
  }
  fitDayList();
  // The month-end strategy starts on the real last day, the 29th of February in leap years, as
  // the pre-calculation check counts it.
  const int day = rb_Fonds1.checked()          ? core::daysInMonth(year, month)
                  : cbBeginnTag.text() == "15" ? 15
                                               : 1;
  const auto start = core::encodeDate(year, month, day);
  if (!start) return;
  if (*start < host().clock().today() + engine::kEarliestStartDays)
    host().dialogs().message("Der frühestmögliche Beginn ist in 14 Tagen!", "Beginn");
  med_Vbeginn.setText(core::formatDate(*start));
  startYearText_ = std::to_string(year);
}

void TfrmVertagsdaten::med_VbeginnExit(Control*) {
  core::DateTime start = 0;
  if (checkDateField(med_Vbeginn, start, host().dialogs()) == DateCheck::Valid)
    med_Vbeginn.setText(core::formatDate(start));
}

// --- preparation by the customer form -----------------------------------------------------------

void TfrmVertagsdaten::prepare() {
  const bool second = secondVariant();
  const int variant = second ? 1 : 0;
  const bool switched = preparedVariant_ >= 0 && preparedVariant_ != variant;
  if (switched) keptValues_[static_cast<std::size_t>(preparedVariant_)] = captureVariantValues();
  const auto& kept = keptValues_[static_cast<std::size_t>(variant)];
  const bool restored = switched && kept.has_value();
  // A variant's first visit starts from the form as it was created, not from the other
  // variant's amounts.
  if (switched) restoreVariantValues(restored ? *kept : created_);
  const bool defaults = preparedVariant_ < 0 || (switched && !restored);
  preparedVariant_ = variant;

  if (!defaults) dropStrategiesNotOffered();
  layOut(second);
  show();
  if (defaults) {
    setDefaults(second);
  } else {
    showPeriodFields();
    fillWithdrawalLists();
    if (product_.singlePaymentsOffered) fillSinglePaymentLists(true);
    fitDayList();
  }
  // The agent's discount may have changed since: the payment at the start follows it.
  if (cb_EinmalProz.visible()) {
    cbAbsolutClick(&cbAbsolut);
    if (!cbAbsolut.checked() || core::parseAmount(cb_Einmal.text()) == 0)
      cb_EinmalProzExit(&cb_EinmalProz);
  }
  cb_VorgabeChange(&cb_Vorgabe);
}

void TfrmVertagsdaten::adoptLoadedValues() {
  const bool second = secondVariant();
  keptValues_ = {};
  preparedVariant_ = second ? 1 : 0;
  layOut(second);
  showPeriodFields();
  fillWithdrawalLists();
  if (product_.singlePaymentsOffered) fillSinglePaymentLists(true);
  fitDayList();
}

// Strategies a variant no longer offers (the start screen's choice changed) are unchosen.
void TfrmVertagsdaten::dropStrategiesNotOffered() {
  if (rb_Fonds1.checked() && !links().variantOffered(1)) rb_Fonds1.setChecked(false);
  bool secondOnly = false;
  for (int i = 1; i <= 4; ++i) secondOnly = secondOnly || funds_[i]->checked();
  if (secondOnly && !links().variantOffered(2))
    for (int i = 1; i <= 4; ++i) funds_[i]->setChecked(false);
}

// What each variant shows; values stay as they are.
void TfrmVertagsdaten::layOut(bool second) {
  layoutStrategies(second);
  const bool singles = second && product_.singlePaymentsOffered;
  for (Control* c : std::initializer_list<Control*>{&lbEinmalzahlungZB, &medEinmalzahlungZB,
                                                    &lbEinmalzahlungEURZB, &tsEinzahlungen})
    c->setVisible(singles);
  bankDetailsShown = product_.startPaymentOffered;
  cbBeginnTag.setVisible(second);
  cbOhneStaat.setVisible(!second);
  if (second) {
    lb_BZD.setCaption("Anlagedauer");
    cb_Vorgabe.setEnabled(true);
  } else {
    lb_BZD.setCaption("Anlagevariante");
    // The first variant has no single investment mode.
    cb_Vorgabe.setItemIndex(0);
    cb_Vorgabe.setEnabled(false);
  }
  const bool dynamics = rb_Fonds2.visible() && product_.dynamicsOffered;
  for (Control* c : std::initializer_list<Control*>{&lb_Dynamik, &cb_Dynamik, &lb_DynamikProz})
    c->setVisible(dynamics);
  for (Control* c : std::initializer_list<Control*>{&lb_Zuschuss, &cb_Zuschuss, &lb_ZuschussEUR})
    c->setVisible(!second);
  for (Control* c : std::initializer_list<Control*>{&lb_Einmal, &cb_Einmal, &lb_EinmalEUR,
                                                    &cb_EinmalProz, &lb_EinmalProz, &cbAbsolut})
    c->setVisible(product_.startPaymentOffered);
  cbReduktion.setVisible(lb_EinmalEUR.visible());
}

// The first visit of a variant: periods, the agent's payment at the start, the strategy's
// growth rates.
void TfrmVertagsdaten::setDefaults(bool second) {
  selectByText(cb_BZD1, "VL4");
  selectByText(cb_BZD2, "30");
  selectByText(cb_BZD3, "30");
  selectByText(cb_Anlagedauer, second ? "30" : "25");
  cbAbsolut.setChecked(cbAbsolut.visible());
  if (cb_EinmalProz.visible()) {
    cbAbsolut.setChecked(false);
    selectByText(cb_EinmalProz, links().agentStartPayment(second));
    cb_EinmalProzExit(&cb_EinmalProz);
    cbAbsolut.setChecked(true);
  }
  rb_FondsClick(nullptr);
}

TfrmVertagsdaten::VariantValues TfrmVertagsdaten::captureVariantValues() {
  // The start belongs to the contract, not to a variant.
  std::vector<Control*> own;
  for (Control* c : controls())
    if (c != &cbBeginnTag && c != &cbBeginnMonat && c != &cbBeginnJahr && c != &med_Vbeginn)
      own.push_back(c);
  return {ControlValues::capture(own), singleListPeriod_, withdrawalListPeriod_};
}

void TfrmVertagsdaten::restoreVariantValues(const VariantValues& kept) {
  kept.values.restore();
  singleListPeriod_ = kept.singleListPeriod;
  withdrawalListPeriod_ = kept.withdrawalListPeriod;
}

// --- navigation -------------------------------------------------------------------------------

void TfrmVertagsdaten::cb_AngebotsdatenClick(Control*) {
  hide();
  links().showCustomerData();
}

void TfrmVertagsdaten::sb_SpeichernClick(Control*) {
  // `saveOffer` is the offer files' save dialog; only a completed save marks the offer saved.
  if (saveOffer && saveOffer()) saved = true;
}

void TfrmVertagsdaten::sb_AbbruchClick(Control*) {
  if (saved && host().dialogs().askYesNo("Daten speichern?", "Beenden")) {
    // The agent asked for the save: when it fails the program stays open.
    if (saveOffer && !saveOffer()) return;
  }
  host().mainForm().close();
}

void TfrmVertagsdaten::sb_AntragClick(Control*) {
  if (!saved && host().dialogs().askYesNo("Daten speichern?", "Vertragsdaten") && saveOffer)
    saved = saveOffer() || saved;
  pcWeitereDaten.setActivePage(0);
  if (preCalculationCheck().code != 0) return;
  if (!prepareApplicationForm) return;
  hide();
  prepareApplicationForm();
  if (auto hook = std::exchange(afterApplicationPrepared, nullptr)) hook();
}

void TfrmVertagsdaten::sb_FormularClick(Control*) {
  // The blank application documents and their age rule are the customer form's.
  links().openBlankApplication();
}

void TfrmVertagsdaten::lb_InfoClick(Control* sender) {
  if (!sender || sender->name().size() < 9) return;
  const int number = std::atoi(sender->name().substr(8).c_str());
  if (number < 1 || number > 11) return;
  const Strategy& s = (secondVariant() ? product_.ziel : product_.vl)[number - 1];
  if (s.infoDocument.empty()) {
    host().dialogs().message("Keine Informationen gefunden!", "Fehler");
    return;
  }
  core::openFile(core::joinPath(core::workingDirectory(), s.infoDocument), host().dialogs(),
                 host().shell());
}

void TfrmVertagsdaten::FormCreate() {
  pcWeitereDaten.setActivePage(0);
  tsAuszahlungen.setVisible(false);
}

void TfrmVertagsdaten::FormActivate() {
  setCaption((secondVariant() ? product_.productTitleZiel : product_.productTitleVl) +
             " - Vertragsdaten");
}

}  // namespace fondaris::forms
