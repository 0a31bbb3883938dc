#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bank/bank_table.h"
#include "core/param_record.h"
#include "documents/offer/offer_input.h"
#include "engine/projection.h"
#include "forms/controls/combo_box_inc.h"
#include "forms/controls/control_values.h"
#include "forms/controls/form.h"

namespace fondaris::forms {

// One strategy of a product variant as the product data describe it.
struct Strategy {
  bool active = false;
  int value1 = 0;  // the offer document's table top
  int value2 = 0;
  std::string name;       // display name (second variant: with portfolio)
  std::string plainName;  // second variant: without portfolio
  std::string portfolio;  // second variant: portfolio caption
  std::string listName;
  std::string extraText;
  std::string offerTemplate;
  std::string infoDocument;
};

// What the contract form keeps from the product data, read once at construction.
struct ContractProductData {
  std::array<Strategy, 11> vl;
  std::array<Strategy, 11> ziel;
  bool dynamicsOffered = false;
  bool startPaymentOffered = false;
  bool singlePaymentsOffered = false;
  bool premiumFootnote = false;
  double singlePaymentCostRate = 0;  // fraction
  double fifthGrowthRate = 0;        // fraction
  std::string bankFile;
  std::string productTitleVl, productTitleZiel;
};

// Result of the pre-calculation check: code 0 lets the offer be made.
struct PreCheck {
  int code = 0;
  double contribution = 0;
};

// The plain arguments of one offer calculation, gathered from the three forms.
struct OfferRun {
  engine::DriverInput driver;
  engine::DriverInput comparison;  // without the payment at the start
  documents::OfferDocumentInput document;
};

// Contract data form: the contract wishes, their checks, the live illustration of the value
// development and the offer calculation.
class TfrmVertagsdaten : public Form {
 public:
  explicit TfrmVertagsdaten(FormHost& host);

  // Contract start.
  ComboBox cbBeginnTag{*this, "cbBeginnTag"};
  ComboBox cbBeginnMonat{*this, "cbBeginnMonat"};
  ComboBox cbBeginnJahr{*this, "cbBeginnJahr"};
  // Hidden; holds the contract start as "dd.mm.yyyy".
  MaskEdit med_Vbeginn{*this, "med_Vbeginn"};

  // Contribution block.
  ComboBox cb_Vorgabe{*this, "cb_Vorgabe"};
  Label lb_Beitrag{*this, "lb_Beitrag"};
  ComboBoxInc cb_Beitrag_1{*this, "cb_Beitrag_1"};
  ComboBoxInc cb_Beitrag_2{*this, "cb_Beitrag_2"};
  ComboBox cb_ZW{*this, "cb_ZW"};
  Label lb_Zuschuss{*this, "lb_Zuschuss"};
  ComboBoxInc cb_Zuschuss{*this, "cb_Zuschuss"};
  Label lb_ZuschussEUR{*this, "lb_ZuschussEUR"};
  Label lb_Dynamik{*this, "lb_Dynamik"};
  ComboBox cb_Dynamik{*this, "cb_Dynamik"};
  Label lb_DynamikProz{*this, "lb_DynamikProz"};
  Label lb_BZD{*this, "lb_BZD"};
  ComboBox cb_BZD1{*this, "cb_BZD1"};
  ComboBox cb_BZD2{*this, "cb_BZD2"};
  Label lb_BZD3{*this, "lb_BZD3"};
  ComboBox cb_BZD3{*this, "cb_BZD3"};
  Label lb_Anlagedauer{*this, "lb_Anlagedauer"};
  ComboBox cb_Anlagedauer{*this, "cb_Anlagedauer"};
  Edit medAnlage{*this, "medAnlage"};
  ComboBoxInc cb_Ablaufleistung{*this, "cb_Ablaufleistung"};

  // Payment at the start and single investment at the start.
  Label lb_Einmal{*this, "lb_Einmal"};
  ComboBoxInc cb_EinmalProz{*this, "cb_EinmalProz"};
  Label lb_EinmalProz{*this, "lb_EinmalProz"};
  ComboBoxInc cb_Einmal{*this, "cb_Einmal"};
  Label lb_EinmalEUR{*this, "lb_EinmalEUR"};
  CheckBox cbAbsolut{*this, "cbAbsolut"};
  Edit cbReduktion{*this, "cbReduktion"};
  Label lbEinmalzahlungZB{*this, "lbEinmalzahlungZB"};
  ComboBoxInc medEinmalzahlungZB{*this, "medEinmalzahlungZB"};
  Label lbEinmalzahlungEURZB{*this, "lbEinmalzahlungEURZB"};
  CheckBox cb_EinmalRabat{*this, "cb_EinmalRabat"};
  ComboBox cbEinmalStrategie{*this, "cbEinmalStrategie"};
  GroupBox boxTauschplan{*this, "boxTauschplan"};
  MaskEdit med_BeginnTausch{*this, "med_BeginnTausch", &boxTauschplan};
  ComboBoxInc cbTauschbetrag{*this, "cbTauschbetrag", &boxTauschplan};
  MaskEdit med_EndeTausch{*this, "med_EndeTausch", &boxTauschplan};
  ComboBox cbZWTausch{*this, "cbZWTausch", &boxTauschplan};
  ComboBox cbArtEinmalanlage{*this, "cbArtEinmalanlage"};
  Label lbDepotNr{*this, "lbDepotNr"};
  Edit medDepotNr{*this, "medDepotNr"};
  CheckBox cbOhneStaat{*this, "cbOhneStaat"};
  CheckBox cb_Details{*this, "cb_Details"};

  // Investment strategy.
  GroupBox gbStrategie{*this, "gbStrategie"};
  Label lbPortfolio{*this, "lbPortfolio", &gbStrategie};
#define FONDARIS_STRATEGY(n)                                   \
  RadioButton rb_Fonds##n{*this, "rb_Fonds" #n, &gbStrategie}; \
  Label lbAS##n{*this, "lbAS" #n, &gbStrategie};               \
  Label lb_InfoF##n{*this, "lb_InfoF" #n, &gbStrategie};
  FONDARIS_STRATEGY(1)
  FONDARIS_STRATEGY(2)
  FONDARIS_STRATEGY(3)
  FONDARIS_STRATEGY(4)
  FONDARIS_STRATEGY(5)
  FONDARIS_STRATEGY(6)
  FONDARIS_STRATEGY(7)
  FONDARIS_STRATEGY(8)
  FONDARIS_STRATEGY(9)
  FONDARIS_STRATEGY(10)
  FONDARIS_STRATEGY(11)
#undef FONDARIS_STRATEGY

  PageControl pcWeitereDaten{*this, "pcWeitereDaten"};
  // "Illustrierung der Wertentwicklung".
  TabSheet tsWE{*this, "tsWE", &pcWeitereDaten};
  Label lbFWM{*this, "lbFWM", &tsWE};
  Label lbPTM{*this, "lbPTM", &tsWE};
  Label lbME{*this, "lbME", &tsWE};
#define FONDARIS_RATE(n)                       \
  ComboBox cb_WE##n{*this, "cb_WE" #n, &tsWE}; \
  Edit med_FW##n{*this, "med_FW" #n, &tsWE};   \
  Edit med_PT##n{*this, "med_PT" #n, &tsWE};   \
  Edit med_FWM##n{*this, "med_FWM" #n, &tsWE}; \
  Edit med_PTM##n{*this, "med_PTM" #n, &tsWE}; \
  Edit med_ME##n{*this, "med_ME" #n, &tsWE};
  FONDARIS_RATE(1)
  FONDARIS_RATE(2)
  FONDARIS_RATE(3)
  FONDARIS_RATE(4)
#undef FONDARIS_RATE

  // "Einmalanlagen".
  TabSheet tsEinzahlungen{*this, "tsEinzahlungen", &pcWeitereDaten};
#define FONDARIS_SINGLE(n)                                               \
  Label lb_Einzahlung##n{*this, "lb_Einzahlung" #n, &tsEinzahlungen};    \
  ComboBox cb_Einzahlung##n{*this, "cb_Einzahlung" #n, &tsEinzahlungen}; \
  ComboBoxInc cb_EinmalBeitrag##n{*this, "cb_EinmalBeitrag" #n, &tsEinzahlungen};
  FONDARIS_SINGLE(1)
  FONDARIS_SINGLE(2)
  FONDARIS_SINGLE(3)
  FONDARIS_SINGLE(4)
  FONDARIS_SINGLE(5)
#undef FONDARIS_SINGLE
  GroupBox gbEinzahlplan{*this, "gbEinzahlplan", &tsEinzahlungen};
  MaskEdit med_BeginnEinzahl{*this, "med_BeginnEinzahl", &gbEinzahlplan};
  ComboBoxInc cbEinzahlplan{*this, "cbEinzahlplan", &gbEinzahlplan};
  MaskEdit med_EndeEinzahl{*this, "med_EndeEinzahl", &gbEinzahlplan};
  ComboBox cbZWEinzahlplan{*this, "cbZWEinzahlplan", &gbEinzahlplan};

  // "Entnahmen".
  TabSheet tsAuszahlungen{*this, "tsAuszahlungen", &pcWeitereDaten};
#define FONDARIS_WITHDRAWAL(n)                                           \
  Label lb_Auszahlung##n{*this, "lb_Auszahlung" #n, &tsAuszahlungen};    \
  ComboBox cb_Auszahlung##n{*this, "cb_Auszahlung" #n, &tsAuszahlungen}; \
  ComboBoxInc cb_Beitrag##n{*this, "cb_Beitrag" #n, &tsAuszahlungen};
  FONDARIS_WITHDRAWAL(1)
  FONDARIS_WITHDRAWAL(2)
  FONDARIS_WITHDRAWAL(3)
  FONDARIS_WITHDRAWAL(4)
  FONDARIS_WITHDRAWAL(5)
  FONDARIS_WITHDRAWAL(6)
  FONDARIS_WITHDRAWAL(7)
  FONDARIS_WITHDRAWAL(8)
  FONDARIS_WITHDRAWAL(9)
  FONDARIS_WITHDRAWAL(10)
#undef FONDARIS_WITHDRAWAL

  Button sb_Angebotsbrechnung{*this, "sb_Angebotsbrechnung"};
  Button sb_Antrag{*this, "sb_Antrag"};
  Button sb_Speichern{*this, "sb_Speichern"};
  Button cb_Angebotsdaten{*this, "cb_Angebotsdaten"};
  Button sb_Abbruch{*this, "sb_Abbruch"};
  Button sb_Formular{*this, "sb_Formular"};
  HotKey HotKeyHelp{*this, "HotKeyHelp"};
  MenuItem mHilfe{*this, "mHilfe"};

  void FormCreate() override;
  void FormActivate() override;

  // Start date.
  void cbBeginnJahrChange(Control* sender);
  void med_VbeginnExit(Control* sender);

  // Field checks.
  void cb_Beitrag_1Exit(Control* sender);
  void cb_Beitrag_2Exit(Control* sender);
  void cb_ZWExit(Control* sender);
  void cb_DynamikChange(Control* sender);
  void cb_WEChange(Control* sender);
  void cb_AuszahlungChange(Control* sender);
  void cb_BZDChange(Control* sender);
  void cb_BZD3Change(Control* sender);
  void cb_AnlagedauerChange(Control* sender);
  void cb_VorgabeChange(Control* sender);
  void cb_ZuschussExit(Control* sender);
  void cb_EinmalProzExit(Control* sender);
  void cb_EinmalExit(Control* sender);
  void cbAbsolutClick(Control* sender);
  void medEinmalzahlungZBExit(Control* sender);
  void cb_EinmalBeitragExit(Control* sender);
  void cb_BeitragExit(Control* sender);
  void cbEinmalStrategieChange(Control* sender);
  void cbArtEinmalanlageChange(Control* sender);
  void med_BeginnTauschExit(Control* sender);
  void med_EndeTauschExit(Control* sender);
  void cbTauschbetragExit(Control* sender);
  void cb_AblaufleistungExit(Control* sender);
  void rb_FondsClick(Control* sender);
  void lb_InfoClick(Control* sender);

  // Actions and navigation.
  void sb_AngebotsbrechnungClick(Control* sender);
  void sb_SpeichernClick(Control* sender);
  void sb_AntragClick(Control* sender);
  void cb_AngebotsdatenClick(Control* sender);
  void sb_AbbruchClick(Control* sender);
  void sb_FormularClick(Control* sender);
  void sb_ZuzahlungenClick(Control* sender);

  // Preparation by the customer form's "&Weiter": lays the form out for the chosen variant and
  // shows it. The first visit of a variant sets its defaults; later visits keep every choice,
  // and each variant keeps its own values when the agent switches between them.
  void prepare();
  // A loaded offer becomes what this form holds for the loaded variant: laid out for it, its
  // lists filled for the loaded periods, kept by the next visit; the other variant's values
  // belonged to the offer before and are dropped.
  void adoptLoadedValues();
  // The day list shows the start's day: the month's last day alone under the month-end strategy.
  void fitDayList();

  // Fills the start lists from the earliest possible start (today + 14 days).
  void initStartDate();
  // Strategy buttons, portfolio and info labels for one variant.
  void layoutStrategies(bool secondVariant);
  // Time lists of the single payments and withdrawals for the investment period.
  void fillSinglePaymentLists(bool keepSelection);
  void fillWithdrawalLists();

  // The check before an offer or an application is made.
  PreCheck preCalculationCheck();
  // The illustration of the value development for the chosen variant.
  void illustrate();
  // Everything one offer calculation hands to the driver and the document.
  OfferRun gatherOfferRun(double contribution);

  bool secondVariant() const;
  bool singleInvestmentMode() const {
    return cb_Vorgabe.itemIndex() == 1;
  }
  // A single investment at the start is offered and holds an amount.
  bool hasSingleInvestment() const;

  // Set by a successful save of the offer; asked for when the program ends.
  bool saved = false;
  const ContractProductData& product() const {
    return product_;
  }
  // The banks the application form offers, read from the bank file on the first call (an
  // offer alone never needs them); a missing bank file gives an empty table, an unreadable one
  // its message then, once.
  const bank::BankTable& bankTable() const;

  // Top-ups at the beginning of contract years 2..51 (index 1..50); index 0 holds the payment
  // at the start written by the offer calculation.
  std::array<double, 51> topUps{};
  int topUpCount = 0;

  // Projection of the illustration with the payment at the start (what the chart shows).
  const engine::ProjectionResult& illustration() const {
    return with_;
  }
  // Years the illustration projected (the investment period).
  int illustratedYears() const {
    return illustratedYears_;
  }
  // Runs after every illustration, so a chart can follow the result fields.
  std::function<void()> onIllustrated;

  // The application action's preparation of the application data form; set by that form.
  std::function<void()> prepareApplicationForm;

  // The application data form's bank details for the payment at the start: whether they show
  // and their caption (read by that form's preparation).
  bool bankDetailsShown = false;
  std::string bankDetailsCaption;

  // The offer document the last calculation wrote.
  std::string lastOfferPath;
  // Where the calculation writes the offer document instead of the offer folder (the offer
  // command's output file); empty in the program.
  std::string offerOutputPath;

  // Saving the offer to a file, with the save dialog; true when the file was written.
  std::function<bool()> saveOffer;
  // Set by loading an offer, run once after the next preparation of the application form: it
  // puts the loaded values back over the defaults that preparation sets.
  std::function<void()> afterApplicationPrepared;

 private:
  // What one variant holds while the other is shown.
  struct VariantValues {
    ControlValues values;
    int singleListPeriod = -1;
    int withdrawalListPeriod = -1;
  };
  VariantValues captureVariantValues();
  void restoreVariantValues(const VariantValues& kept);
  void layOut(bool second);
  void setDefaults(bool second);
  void showPeriodFields();
  void dropStrategiesNotOffered();
  void selectEarliestStart();
  void readProductData(const core::ParamRecord& record);
  void fillLists();
  void recalculate(Control* sender);
  void followContribution();
  double acquisitionCosts(bool& ok);
  void collect(engine::Schedule& withdrawals, engine::Schedule& singlePayments);
  double agentDiscount(bool vl) const;
  engine::ContractInput illustrationInput(double contribution);
  void writeRateFields(int rate, const engine::RunOutcome& without, const engine::RunOutcome& with);
  void selectByText(ComboBox& list, const std::string& text);
  void tauschDateExit(MaskEdit& field, bool begin);

  // The repeated controls in their order, for the handlers that walk them.
  std::array<RadioButton*, 11> funds_;
  std::array<Label*, 11> portfolioLabels_, infoLabels_;
  std::array<ComboBox*, 4> rates_;
  std::array<Edit*, 4> fw_, pt_, fwm_, ptm_, me_;
  std::array<ComboBox*, 5> singleTimes_;
  std::array<ComboBoxInc*, 5> singleAmounts_;
  std::array<Label*, 5> singleLabels_;
  std::array<ComboBox*, 10> withdrawalTimes_;
  std::array<ComboBoxInc*, 10> withdrawalAmounts_;
  std::array<Label*, 10> withdrawalLabels_;

  ContractProductData product_;
  std::string bankFolder_;
  mutable std::optional<bank::BankTable> bankTable_;
  std::string startYearText_;
  int singleListPeriod_ = -1;
  int withdrawalListPeriod_ = -1;
  // The variant the form was last laid out for (0 first, 1 second; -1 never), and the values
  // the other variant left.
  int preparedVariant_ = -1;
  std::array<std::optional<VariantValues>, 2> keptValues_;
  VariantValues created_;
  engine::ProjectionResult without_{};
  engine::ProjectionResult with_{};
  int illustratedYears_ = 0;
};

}  // namespace fondaris::forms
