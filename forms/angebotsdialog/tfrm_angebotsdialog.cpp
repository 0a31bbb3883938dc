#include "forms/angebotsdialog/tfrm_angebotsdialog.h"

#include <algorithm>
#include <tuple>

#include "bank/account_check.h"
#include "bank/bank_details.h"
#include "bank/iban.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/german.h"
#include "core/notation.h"
#include "core/param_layout.h"
#include "core/param_record.h"
#include "core/settings.h"
#include "core/shell.h"
#include "documents/fdf/filled_form.h"
#include "forms/angebotsdialog/completeness.h"
#include "forms/date_field.h"
#include "forms/form_links.h"

namespace fondaris::forms {

namespace {

using Self = TfrmAngebotsdialog;

constexpr const char* kDateMask = "!99/99/9999;1;_";
constexpr const char* kTimeMask = "!99:99;1;_";
constexpr const char* kAccountMask = "9999999999;0;_";
constexpr const char* kBankCodeMask = "99999999;0;_";
constexpr const char* kPaymentAtStartCaption =
    "Bankverbindung Zuzahlung zu Beginn zum Einrichtungsentgelt";

bool onlyBlanksAnd(const std::string& text, char separator) {
  return std::all_of(text.begin(), text.end(),
                     [separator](char c) { return c == ' ' || c == '_' || c == separator; });
}

// Completeness check reads dates and times without any message box.
bool dateMissing(const std::string& text) {
  return onlyBlanksAnd(text, core::notation().dateSeparator);
}
bool dateMissing(const Control& field) {
  return dateMissing(field.text());
}
bool timeMissing(const Control& field) {
  return onlyBlanksAnd(field.text(), core::notation().timeSeparator);
}
// A five-character time with blank hours or minutes counts them as "00".
std::optional<core::DateTime> silentTime(const Control& field) {
  if (timeMissing(field)) return std::nullopt;
  std::string text = field.text();
  if (text.size() == 5) {
    if (text.substr(0, 2) == "  ")
      text.replace(0, 2, "00");
    else if (text.substr(3, 2) == "  ")
      text.replace(3, 2, "00");
  }
  return core::textToTime(text);
}

std::string joinNames(const Control& first, const Control& last) {
  return first.text() + " " + last.text();
}

}  // namespace

TfrmAngebotsdialog::TfrmAngebotsdialog(FormHost& host)
    : Form(host, "TfrmAngebotsdialog", "frmAngebotsdialog",
           {Placement::PositionAndSize, Placement::PositionAndSize, true, false}) {
  designHeight = 680;
  designWidth = 1180;
  tsAnleger1.setCaption("Anlegerfragebogen Teil 1");
  tsAnleger2.setCaption("Anlegerfragebogen Teil 2");
  tsAusweis.setCaption("Ausweis");
  tsKonto.setCaption("Kontoverbindung");
  tsArbeitgeber.setCaption("Arbeitgeber");
  tsVertreter1.setCaption("1. Gesetzliche Vertretung / Weiterer Depotinhaber");
  tsVertreter2.setCaption("2. Gesetzliche Vertretung");

  // Choices and lists.
  cbSelbst.setCaption("selbstständig");
  for (const char* row : {"FGI", "RR", "GF", "AA"}) {
    const std::string r(row);
    find("rb" + r + "K")->setCaption("Keine");
    find("rb" + r + "3")->setCaption("bis zu 3 Jahre");
    find("rb" + r + "7")->setCaption("3 bis 7 Jahre");
    find("rb" + r + "M7")->setCaption("mehr als 7 Jahre");
  }
  boxFGI.setCaption("Festgeld/Geldmarkt-/Immobilienfonds");
  boxRR.setCaption("Renten/Rentenfonds");
  boxGF.setCaption("Gemischte Fonds");
  boxAA.setCaption("Aktien/Aktienfonds");
  boxVermoegen.setCaption("Anteil der geplanten Anlage am Gesamtvermögen");
  rb25.setCaption("weniger als 25 %");
  rb50.setCaption("25 bis 50 %");
  rbM50.setCaption("mehr als 50 %");
  boxPost.setCaption("Postalische Zusendung der Reports");
  rbNeinPost.setCaption("Nein");
  rbJaPost.setCaption("Ja (Auftrag zum kostenpflichtigen Postversand wird erzeugt)");
  cbVMA.setCaption("Vermögensaufbau");
  cbVS.setCaption("Vorsorge");
  cbAS.setCaption("sonst:");
  boxReserven.setCaption("Reserven, die den Lebensunterhalt ohne diese Anlage absichern");
  rbRJa.setCaption("Ja");
  rbRNein.setCaption("Nein");
  cbKeineErfahrung.setCaption("Keine Erfahrung mit Wertpapieranlagen");
  cbAblaufmanagement.setCaption("Ja, ich möchte am Ablaufmanagement teilnehmen");
  sb_Heute.setCaption("H");
  sb_Jetzt.setCaption("J");
  cbVN_Pass.setItems({"Reisepass", "Personalausweis", "Kinderpass", "Sonstige"});
  cbEigeneRechnung.setItems({"Handelt auf eigene Rechnung", "Handelt auf Rechnung von", ""});
  cbZF_UebEinzug.setItems({"Überweisung", "Bankeinzug"});
  cbZF_UebTag.setItems({"zum 1. des Monats", "zum 15. des Monats"});
  cbRefKonto.setItems({"Auch Einzugskonto", "Nur Referenzkonto"});
  cbZF_Kontoart.setItems({"Antragsteller", "Gesetzlicher Vertreter 1", "Gesetzlicher Vertreter 2"});
  Kontoinhaber.setCaption("Kontoinhaber");
  boxKonto.setCaption("abweichende Bankverbindung für Einzug");
  boxKontoEZ.setCaption("Bankverbindung Einmalzahlung");
  cbZE_UebEinzug.setItems({"Überweisung", "Bankeinzug"});
  cbKontoEZ.setItems({"vom Referenzkonto", "von folgendem Konto"});
  cbZE_UebDatum.setItems({"sofort", "zum"});
  boxKontoZB.setCaption(kPaymentAtStartCaption);
  cb_EEG.setItems({"Per Zahlschein", "Per Überweisung"});
  cb_EEGTermin.setItems({"sofort", "zum"});
  sb_WieRefKonto.setCaption("Wie Referenzbankverbindung");
  sb_WieKonto.setCaption("Wie abw. Bankverbindung");
  cb_Firma_Land.setItems({"D", "A"});
  cbWD_Art.setItems({"Gesetztliche Vertretung", "Weiterer Depotinhaber"});
  for (ComboBox* salutation : {&cbWD_Anrede, &cbGV_Anrede}) salutation->setItems({"Herr", "Frau"});
  for (ComboBox* country : {&cbWD_Land, &cbGV_Land}) country->setItems({"D"});
  for (ComboBox* status : {&cbWD_Stand, &cbGV_Stand})
    status->setItems({"ledig", "verheiratet", "verwitwet", "geschieden"});
  for (ComboBox* pass : {&cbWD_Pass, &cbGV_Pass})
    pass->setItems({"Reisepass", "Personalausweis", "Sonstige"});
  for (CheckBox* self : {&cbWD_Selbst, &cbGV_Selbst}) self->setCaption("selbstständig");
  sb_WDAdr.setCaption("&Anschrift wie Depoinhaber");
  sb_GVAdr.setCaption("&Anschrift wie Depoinhaber");

  cb_Zurueck.setCaption("&Zurück");
  sbErste.setCaption("<<");
  sbVorher.setCaption("<");
  sbNach.setCaption(">");
  sbLetzter.setCaption(">>");
  sb_Vollstaendig.setCaption("&Prüfe Vollständigkeit");
  sb_Angebotsformular.setCaption("&Weiter");
  mHilfe.setCaption("&Hilfe");
  HotKeyHelp.setText("F1");

  // Every list offers only its choices, except the goal durations and bank codes, which take
  // typed numbers.
  for (Control* c : controls())
    if (c->kind() == ControlKind::ComboBox) c->setDropDownList(true);
  for (Control* typed : std::initializer_list<Control*>{&cbZiel1, &cbZiel2, &cbZiel3, &cbZF_BLZ,
                                                        &cbZP_BLZ, &cbZB_BLZ})
    typed->setDropDownList(false);

  // Masks and lengths: what the offer file and the forms-data files keep.
  for (Control* c : controls()) {
    if (c->kind() == ControlKind::MaskEdit) {
      const bool time = c == &medBP_Von || c == &medBP_Bis;
      c->setMask(time ? kTimeMask : kDateMask);
      c->setText(time ? core::emptyTimeText() : core::emptyDateText());
      c->setMaxLength(time ? 5 : 10);
    } else if (c->kind() == ControlKind::Edit) {
      c->setMaxLength(100);
    }
  }
  for (Edit* account : {&edZF_Konto, &edZP_Konto, &edZB_Konto, &edZE_Konto}) {
    account->setMask(kAccountMask);
    account->setMaxLength(10);
  }
  // Bank codes take digits only and are looked up exactly: a completed code could name a bank
  // the agent did not mean.
  for (ComboBoxInc* code : {&cbZF_BLZ, &cbZP_BLZ, &cbZB_BLZ}) {
    code->setMask(kBankCodeMask);
    code->setMaxLength(8);
    code->Numeric = true;
    code->IncSearch = false;
  }
  edZE_BLZ.setMask(kBankCodeMask);
  edZE_BLZ.setMaxLength(8);
  for (Edit* bic : {&edZF_BIC, &edZP_BIC, &edZB_BIC}) bic->setMaxLength(11);
  for (Edit* iban : {&edZF_IBAN, &edZP_IBAN, &edZB_IBAN}) iban->setMaxLength(34);
  for (Edit* postcode : {&ed_Firma_PLZ, &edWD_PLZ, &edGV_PLZ}) postcode->setMaxLength(10);
  // Everything typed here goes into the lines of saved offers and the forms-data files.
  limitToLineFile(static_cast<int>(core::kMaxLineLength));

  for (Control* hidden : std::initializer_list<Control*>{
           &edEinkommen,  &edAusgaben,     &edBP_Anlass1, &edBP_Anlass2, &edBP_Anlass3,
           &medVN_Ausdat, &edRechnungName, &cbZF_UebTag,  &cbRefKonto,   &Kontoinhaber,
           &edZF_GebOrt,  &cbKontoEZ,      &medZE_Datum,  &medEEG_Datum, &medWD_Ausdat,
           &medGV_Ausdat, &sb_WDAdr,       &sb_GVAdr,     &HotKeyHelp,   &mHilfe})
    hidden->setVisible(false);

  cb_Zurueck.onClick = on(&Self::cb_ZurueckClick);
  sbErste.onClick = on(&Self::sbErsteClick);
  sbVorher.onClick = on(&Self::sbVorherClick);
  sbNach.onClick = on(&Self::sbNachClick);
  sbLetzter.onClick = on(&Self::sbLetzterClick);
  sb_Vollstaendig.onClick = on(&Self::sb_VollstaendigClick);
  sb_Angebotsformular.onClick = on(&Self::sb_AngebotsformularClick);
  mHilfe.onClick = on(&Self::mHilfeClick);
  medWD_Geburtstag.onExit = on(&Self::medWD_GeburtstagExit);
  medGV_Geburtstag.onExit = on(&Self::medGV_GeburtstagExit);
  medVN_Ausdat.onExit = on(&Self::medVN_AusdatExit);
  medWD_Ausdat.onExit = on(&Self::medWD_AusdatExit);
  medGV_Ausdat.onExit = on(&Self::medGV_AusdatExit);
  medVN_Ausbis.onExit = on(&Self::medVN_AusbisExit);
  medWD_Ausbis.onExit = on(&Self::medWD_AusbisExit);
  medGV_Ausbis.onExit = on(&Self::medGV_AusbisExit);
  medBP_Datum.onExit = on(&Self::medBP_DatumExit);
  medZE_Datum.onExit = on(&Self::medZE_DatumExit);
  medEEG_Datum.onExit = on(&Self::medEEG_DatumExit);
  medBP_Von.onExit = on(&Self::medBP_VonExit);
  medBP_Bis.onExit = on(&Self::medBP_BisExit);
  sb_Heute.onClick = on(&Self::sb_HeuteClick);
  sb_Jetzt.onClick = on(&Self::sb_JetztClick);
  cbEigeneRechnung.onChange = on(&Self::cbEigeneRechnungChange);
  cbRefKonto.onClick = on(&Self::cbRefKontoClick);
  cbZF_Kontoart.onClick = on(&Self::cbRefKontoClick);
  cbZE_UebEinzug.onExit = on(&Self::cbZE_UebEinzugExit);
  cbZE_UebEinzug.onClick = on(&Self::cbZE_UebEinzugExit);
  cbKontoEZ.onClick = on(&Self::cbKontoEZClick);
  cbZE_UebDatum.onExit = on(&Self::cbZE_UebDatumExit);
  cbZE_UebDatum.onClick = on(&Self::cbZE_UebDatumExit);
  cb_EEG.onClick = on(&Self::cb_EEGClick);
  cb_EEGTermin.onClick = on(&Self::cb_EEGTerminClick);
  cbWD_Art.onChange = on(&Self::cbWD_ArtChange);
  sb_WDAdr.onClick = on(&Self::sb_WDAdrClick);
  sb_GVAdr.onClick = on(&Self::sb_GVAdrClick);
  sb_WieRefKonto.onClick = on(&Self::sb_WieRefKontoClick);
  sb_WieKonto.onClick = on(&Self::sb_WieKontoClick);
  edAusgaben.onExit = on(&Self::edAusgabenExit);
  edEinkommen.onExit = on(&Self::edAusgabenExit);
  for (ComboBox* goal : {&cbZiel1, &cbZiel2, &cbZiel3})
    goal->onChange = goal->onExit = on(&Self::cbZielChange);
  cbZF_BLZ.onExit = cbZF_BLZ.onClick = cbZF_BLZ.OnKeyPressEnter = on(&Self::cbZF_BLZExit);
  cbZP_BLZ.onExit = cbZP_BLZ.onClick = cbZP_BLZ.OnKeyPressEnter = on(&Self::cbZP_BLZExit);
  cbZB_BLZ.onExit = on(&Self::cbZB_BLZExit);
  edZF_Konto.onExit = on(&Self::edZF_KontoExit);
  edZP_Konto.onExit = on(&Self::edZP_KontoExit);
  edZB_Konto.onExit = on(&Self::edZB_KontoExit);

  setCaption(host.links().startCaption() + " - Antrag");
  for (ComboBox* first :
       {&cbZF_Kontoart, &cbZF_UebEinzug, &cbZF_UebTag, &cbKontoEZ, &cbEigeneRechnung,
        &cb_Firma_Land, &cbZE_UebEinzug, &cbZE_UebDatum, &cbWD_Land, &cbGV_Land})
    first->setItemIndex(0);
  cbKontoEZClick(nullptr);
  cbZE_UebDatumExit(nullptr);
  cbZE_UebEinzugExit(nullptr);
  cb_EEG.setItemIndex(0);
  cb_EEGTermin.setItemIndex(0);
  boxKontoEZ.setVisible(false);
  readProductData();
  std::vector<std::string> years;
  for (int y = 1; y <= 99; ++y) years.push_back(std::to_string(y));
  for (ComboBox* goal : {&cbZiel1, &cbZiel2, &cbZiel3}) goal->setItems(years);
  cbRefKonto.setItemIndex(0);
  rbNeinPost.setChecked(true);
  mHilfe.setText(HotKeyHelp.text());
  // The states the handlers expect from the start.
  cbRefKontoClick(nullptr);
  cb_EEGClick(nullptr);
  cb_EEGTerminClick(nullptr);
  cbWD_ArtChange(nullptr);
  cbEigeneRechnungChange(nullptr);
}

void TfrmAngebotsdialog::readProductData() {
  const core::ParamRecord* productData = host().productData(nullptr);
  if (!productData) return;
  const core::ParamRecord& record = *productData;
  auto text = [&record](const char* name) {
    const core::ParamField* field = core::findParamField(name);
    return field ? core::paramText(record, *field, 0) : std::string();
  };
  auto take = [&text](std::string& target, const char* name) {
    if (std::string value = text(name); !value.empty()) target = value;
  };
  take(applicationFormVl, "applicationFormVl");
  take(applicationFormZiel, "applicationFormZiel");
  if (std::string both = text("applicationFormBoth"); !both.empty())
    applicationFormVl = applicationFormZiel = both;
  take(formVvzuebVl, "formVvzuebVl");
  take(formVvzuebZiel, "formVvzuebZiel");
  take(formVvzuebeeg, "formVvzuebeeg");
  take(formVvzuebeaVl, "formVvzuebeaVl");
  take(formVvzuebeaZiel, "formVvzuebeaZiel");
  formVvez = text("formVvez");
  take(protectionForm, "protectionForm");
  if (const core::ParamField* load = core::findParamField("singlePaymentCostRate"))
    singlePaymentLoad = static_cast<double>(core::paramNumber(record, *load, 0)) * 0.0001;
}

void TfrmAngebotsdialog::FormActivate() {
  setCaption(links().startCaption() + " - Antrag");
}

void TfrmAngebotsdialog::FormClose() {
  links().showContractData();
}

// --- preparation ----------------------------------------------------------------------------

std::optional<int> TfrmAngebotsdialog::policyholderAge() const {
  const PersonFacts holder = links().customerFacts().holder;
  const auto start = core::textToDate(links().contractStart().text());
  const auto born = core::textToDate(holder.birthDate);
  if (start && born) return core::ageInYears(*start, *born, core::AgeMode::kCompleted);
  int age = 0;
  if (core::parseStrictInt(holder.age, age)) return age;
  return std::nullopt;
}

bool TfrmAngebotsdialog::policyholderIsMinor() const {
  // Without any readable age the representatives are asked for rather than left out.
  return policyholderAge().value_or(0) < 18;
}

void TfrmAngebotsdialog::prepare(const ApplicationStart& start) {
  banks_ = start.banks;
  std::vector<std::string> codes;
  if (banks_)
    for (const bank::BankRecord& r : banks_->records) codes.push_back(r.code);
  for (ComboBox* list : {&cbZF_BLZ, &cbZP_BLZ, &cbZB_BLZ})
    if (list->itemCount() == 0) {
      const std::string typed = list->text();
      list->setItems(codes);
      list->setText(typed);
    }

  const bool minor = policyholderIsMinor();
  if (minor) cbWD_Art.setItemIndex(0);
  tsVertreter1.setTabVisible(true);
  tsVertreter2.setTabVisible(minor);
  cbWD_ArtChange(&cbWD_Art);
  // The employer takes part only in the employer-funded variant.
  tsArbeitgeber.setTabVisible(!links().secondVariantChosen());

  const PersonFacts customer = links().customerFacts().holder;
  for (auto [street, place, postcode] : {std::tuple{&edWD_Strasse, &edWD_Ort, &edWD_PLZ},
                                         std::tuple{&edGV_Strasse, &edGV_Ort, &edGV_PLZ}}) {
    if (street->text().empty()) street->setText(customer.street);
    if (place->text().empty()) place->setText(customer.place);
    if (postcode->text().empty()) postcode->setText(customer.postcode);
  }

  boxKontoZB.setVisible(start.paymentAtStart);
  boxKontoZB.setCaption(start.paymentAtStartCaption.empty() ? kPaymentAtStartCaption
                                                            : start.paymentAtStartCaption);
  boxKontoEZ.setVisible(start.singleInvestment);

  goalLimit_ = std::clamp(start.investmentPeriodIndex + 4, 0, cbZiel1.itemCount() - 1);
  for (ComboBox* goal : {&cbZiel1, &cbZiel2, &cbZiel3}) {
    if (goal->itemIndex() < 0 && goal->text().empty())
      goal->setItemIndex(goalLimit_);
    else
      cbZielChange(goal);
  }

  pageDaten.setActivePage(0);
  show();
}

// --- navigation -----------------------------------------------------------------------------

std::array<const TabSheet*, 7> TfrmAngebotsdialog::pages() const {
  return {&tsAnleger1,    &tsAnleger2,   &tsAusweis,   &tsKonto,
          &tsArbeitgeber, &tsVertreter1, &tsVertreter2};
}

int TfrmAngebotsdialog::visiblePage(int from, int step) const {
  const auto sheets = pages();
  for (int i = from; i >= 0 && i < 7; i += step)
    if (sheets[i]->visible() && sheets[i]->tabVisible()) return i;
  return -1;
}

int TfrmAngebotsdialog::pageOf(const Control& control) const {
  const auto sheets = pages();
  for (const Control* c = &control; c; c = c->parent())
    if (auto it = std::find(sheets.begin(), sheets.end(), c); it != sheets.end())
      return static_cast<int>(it - sheets.begin());
  return -1;
}

void TfrmAngebotsdialog::sbErsteClick(Control*) {
  if (int page = visiblePage(0, 1); page >= 0) pageDaten.setActivePage(page);
}

void TfrmAngebotsdialog::sbLetzterClick(Control*) {
  if (int page = visiblePage(6, -1); page >= 0) pageDaten.setActivePage(page);
}

void TfrmAngebotsdialog::sbVorherClick(Control*) {
  if (int page = visiblePage(pageDaten.activePage() - 1, -1); page >= 0)
    pageDaten.setActivePage(page);
}

void TfrmAngebotsdialog::sbNachClick(Control*) {
  if (int page = visiblePage(pageDaten.activePage() + 1, 1); page >= 0)
    pageDaten.setActivePage(page);
}

void TfrmAngebotsdialog::cb_ZurueckClick(Control*) {
  hide();
  links().showContractData();
}

void TfrmAngebotsdialog::sb_AngebotsformularClick(Control*) {
  core::Dialogs& dialogs = host().dialogs();
  if (dialogs.askYesNo("Daten speichern?", "Angebotsdaten") && saveOffer) saveOffer();

  const std::string& working = core::workingDirectory();
  const std::string folder = documentFolder.empty() ? core::personalFolder() : documentFolder;
  // Every file is written before anything opens: a failure leaves no viewer showing a part.
  std::vector<std::string> toOpen;
  for (const FormsDataFile& file : links().formsData()) {
    documents::FdfData data{file.entries, {}};
    const std::string formPath = core::joinPath(working, file.formName);
    const std::string name(documents::fdfFileName(file.file));
    std::string path = core::joinPath(folder, name);
    const bool inWorking = core::sameFile(folder, working);
    data.formReference = documents::fdfFormReference(working, file.formName, inWorking);
    documents::FormsDataResult written = documents::writeFormsData(path, data, formPath);
    if (written.fdf != documents::FdfWriteResult::Written && !inWorking) {
      path = core::joinPath(working, name);
      data.formReference = documents::fdfFormReference(working, file.formName, true);
      written = documents::writeFormsData(path, data, formPath);
    }
    if (written.fdf != documents::FdfWriteResult::Written) {
      dialogs.message("Die Datei '" + path + "' konnte nicht erzeugt werden!", "Fehler");
      return;
    }
    if (written.pdf.result == documents::FilledFormResult::CannotWrite) {
      dialogs.message("Die Datei '" + written.pdfPath + "' konnte nicht erzeugt werden!", "Fehler");
      return;
    }
    // Without a readable form the forms-data file itself is opened, as a reader of it would.
    toOpen.push_back(written.pdf.result == documents::FilledFormResult::Written ? written.pdfPath
                                                                                : path);
  }
  for (const std::string& path : toOpen) core::openFile(path, dialogs, host().shell());
}

// --- dates and times ------------------------------------------------------------------------

namespace {
constexpr const char* kDateCaption = "Datumsprüfung";
}

void TfrmAngebotsdialog::birthdayExit(MaskEdit& field) {
  core::DateTime date = 0;
  if (checkDateField(field, date, host().dialogs()) != DateCheck::Valid) return;
  field.setText(core::formatDate(date));
  if (date > host().clock().today())
    host().dialogs().message("Das Geburtsdatum liegt in der Zukunft!", kDateCaption);
}

void TfrmAngebotsdialog::issueDateExit(MaskEdit& field) {
  core::DateTime date = 0;
  if (checkDateField(field, date, host().dialogs()) != DateCheck::Valid) return;
  field.setText(core::formatDate(date));
  if (date > host().clock().today())
    host().dialogs().message("Der Ausweis wurde in der Zukunft ausgestellt!", kDateCaption);
}

void TfrmAngebotsdialog::validUntilExit(MaskEdit& field, const char* message) {
  core::DateTime date = 0;
  if (checkDateField(field, date, host().dialogs()) != DateCheck::Valid) return;
  field.setText(core::formatDate(date));
  if (date <= host().clock().today()) host().dialogs().message(message, kDateCaption);
}

void TfrmAngebotsdialog::notBeforeTodayExit(MaskEdit& field) {
  // A date typed without its year (or month) means the coming one of this year and month.
  const char separator = core::notation().dateSeparator;
  std::string text = field.text();
  int year = 0, month = 0, day = 0;
  core::decodeDate(host().clock().today(), year, month, day);
  if (!onlyBlanksAnd(text, separator) && text.size() == 10) {
    auto blank = [&text](std::size_t at, std::size_t n) {
      return text.substr(at, n).find_first_not_of(' ') == std::string::npos;
    };
    if (blank(3, 2)) text.replace(3, 2, (month < 10 ? "0" : "") + std::to_string(month));
    if (blank(6, 4)) text.replace(6, 4, std::to_string(year));
    field.setText(text);
  }
  core::DateTime date = 0;
  if (checkDateField(field, date, host().dialogs()) != DateCheck::Valid) return;
  field.setText(core::formatDate(std::max(date, host().clock().today())));
}

void TfrmAngebotsdialog::medWD_GeburtstagExit(Control*) {
  birthdayExit(medWD_Geburtstag);
}
void TfrmAngebotsdialog::medGV_GeburtstagExit(Control*) {
  birthdayExit(medGV_Geburtstag);
}
void TfrmAngebotsdialog::medVN_AusdatExit(Control*) {
  issueDateExit(medVN_Ausdat);
}
void TfrmAngebotsdialog::medWD_AusdatExit(Control*) {
  issueDateExit(medWD_Ausdat);
}
void TfrmAngebotsdialog::medGV_AusdatExit(Control*) {
  issueDateExit(medGV_Ausdat);
}
void TfrmAngebotsdialog::medVN_AusbisExit(Control*) {
  validUntilExit(medVN_Ausbis, "Der Ausweis ist nicht mehr gültig!");
}
void TfrmAngebotsdialog::medWD_AusbisExit(Control*) {
  validUntilExit(medWD_Ausbis, "Der Ausweis ist nicht mehr gültig!");
}
void TfrmAngebotsdialog::medGV_AusbisExit(Control*) {
  validUntilExit(medGV_Ausbis, "Der Ausweis ist nicht mehrgültig!");
}
void TfrmAngebotsdialog::medZE_DatumExit(Control*) {
  notBeforeTodayExit(medZE_Datum);
}
void TfrmAngebotsdialog::medEEG_DatumExit(Control*) {
  notBeforeTodayExit(medEEG_Datum);
}

void TfrmAngebotsdialog::medBP_DatumExit(Control*) {
  core::DateTime date = 0;
  if (checkDateField(medBP_Datum, date, host().dialogs()) != DateCheck::Valid) return;
  medBP_Datum.setText(core::formatDate(date));
  const core::DateTime today = host().clock().today();
  if (date > today)
    host().dialogs().message("Die Beratung fand in der Zukunft statt?", kDateCaption);
  else if (core::daysBetween(today, date) >= 28)
    host().dialogs().message("Die Beratung darf nicht mehr als 4 Wochen zurückliegen!",
                             kDateCaption);
}

void TfrmAngebotsdialog::sb_HeuteClick(Control*) {
  medBP_Datum.setText(core::formatDate(host().clock().today()));
}

void TfrmAngebotsdialog::timeExit(MaskEdit& field) {
  core::DateTime time = 0;
  if (core::parseTime(field.text(), time, host().dialogs()) != DateCheck::Valid) return;
  field.setText(core::formatTime(time));
  core::DateTime from = 0, to = 0;
  if (core::parseTime(medBP_Von.text(), from, host().dialogs()) == DateCheck::Valid &&
      core::parseTime(medBP_Bis.text(), to, host().dialogs()) == DateCheck::Valid && from > to)
    host().dialogs().message("Der angegebene Zeitraum stimmt nicht! Bitte prüfen.",
                             "Zeitraum Beratung");
}

void TfrmAngebotsdialog::medBP_VonExit(Control*) {
  timeExit(medBP_Von);
}
void TfrmAngebotsdialog::medBP_BisExit(Control*) {
  timeExit(medBP_Bis);
}

void TfrmAngebotsdialog::sb_JetztClick(Control*) {
  const core::DateTime now = host().clock().now();
  const core::DateTime timeOfDay = now - core::dateOf(now);
  // The start as shown: minutes only, so a start in this very minute is no conflict.
  const auto from = silentTime(medBP_Von);
  if (from && core::formatTime(*from) > core::formatTime(timeOfDay)) {
    host().dialogs().message("Nicht möglich!", "Zeitraum Beratung");
    return;
  }
  medBP_Bis.setText(core::formatTime(timeOfDay));
}

// --- visibility -----------------------------------------------------------------------------

void TfrmAngebotsdialog::cbEigeneRechnungChange(Control*) {
  edRechnungName.setVisible(cbEigeneRechnung.itemIndex() > 0);
}

void TfrmAngebotsdialog::cbRefKontoClick(Control*) {
  boxKonto.setVisible(cbRefKonto.itemIndex() > 0);
  sb_WieKonto.setVisible(boxKonto.visible());
}

void TfrmAngebotsdialog::cbZE_UebEinzugExit(Control*) {
  cbKontoEZ.setVisible(cbZE_UebEinzug.text() == "Bankeinzug");
  cbZE_UebDatum.setVisible(cbKontoEZ.visible());
  // The dependent fields follow at once, not only when their own lists are used.
  cbKontoEZClick(nullptr);
  cbZE_UebDatumExit(nullptr);
}

void TfrmAngebotsdialog::cbKontoEZClick(Control*) {
  const bool own = cbKontoEZ.visible() && cbKontoEZ.text() == "von folgendem Konto";
  for (Edit* field : {&edZE_Konto, &edZE_BLZ, &edZE_KI, &edZE_Kontoinhaber}) field->setVisible(own);
}

void TfrmAngebotsdialog::cbZE_UebDatumExit(Control*) {
  medZE_Datum.setVisible(cbZE_UebDatum.visible() && cbZE_UebDatum.text() == "zum");
}

void TfrmAngebotsdialog::cb_EEGClick(Control*) {
  const bool slip = cb_EEG.itemIndex() == 0;
  for (Control* field : std::initializer_list<Control*>{
           &edZB_Konto, &cbZB_BLZ, &edZB_BIC, &edZB_KI, &edZB_KIStr, &edZB_KIOrt,
           &edZB_Kontoinhaber, &edZB_IBAN, &sb_WieRefKonto})
    field->setVisible(slip);
  sb_WieKonto.setVisible(slip && boxKonto.visible());
}

void TfrmAngebotsdialog::cb_EEGTerminClick(Control*) {
  medEEG_Datum.setVisible(cb_EEGTermin.text() == "zum");
}

void TfrmAngebotsdialog::cbWD_ArtChange(Control*) {
  edWD_SteuerID.setVisible(cbWD_Art.text() == "Weiterer Depotinhaber");
}

// --- copies ---------------------------------------------------------------------------------

void TfrmAngebotsdialog::copyAddress(Edit& street, Edit& place, Edit& postcode, ComboBox& country) {
  const PersonFacts customer = links().customerFacts().holder;
  street.setText(customer.street);
  place.setText(customer.place);
  postcode.setText(customer.postcode);
  const int index = country.indexOf(customer.country);
  if (index >= 0) country.setItemIndex(index);
}

void TfrmAngebotsdialog::sb_WDAdrClick(Control*) {
  copyAddress(edWD_Strasse, edWD_Ort, edWD_PLZ, cbWD_Land);
}

void TfrmAngebotsdialog::sb_GVAdrClick(Control*) {
  copyAddress(edGV_Strasse, edGV_Ort, edGV_PLZ, cbGV_Land);
}

void TfrmAngebotsdialog::copyToZb(const BankConnection& from, const std::string& holder) {
  edZB_Konto.setText(from.account.text());
  const int index = cbZB_BLZ.indexOf(from.code.text());
  if (index >= 0)
    cbZB_BLZ.setItemIndex(index);
  else
    cbZB_BLZ.setText(from.code.text());
  edZB_BIC.setText(from.bic.text());
  edZB_IBAN.setText(from.iban.text());
  if (const bank::BankRecord* bank = bankFor(from.code.text())) {
    const bank::BankDetails details = bank::bankDetails(bank, true);
    edZB_KI.setText(details.name);
    edZB_KIOrt.setText(details.place);
  } else {
    edZB_KI.setText(from.bankName.text());
  }
  edZB_Kontoinhaber.setText(holder);
}

void TfrmAngebotsdialog::sb_WieRefKontoClick(Control*) {
  const PersonFacts customer = links().customerFacts().holder;
  std::string holder;
  if (cbZF_Kontoart.text() == "Gesetzlicher Vertreter 2")
    holder = joinNames(edGV_Vorname, edGV_Nachname);
  else if (cbZF_Kontoart.text() == "Gesetzlicher Vertreter 1")
    holder = joinNames(edWD_Vorname, edWD_Nachname);
  else
    holder = customer.firstName + " " + customer.lastName;
  copyToZb(zf(), holder);
}

void TfrmAngebotsdialog::sb_WieKontoClick(Control*) {
  copyToZb(zp(), edZP_Kontoinhaber.text());
}

// --- income and goals -----------------------------------------------------------------------

void TfrmAngebotsdialog::edAusgabenExit(Control*) {
  const double income = core::parseAmount(edEinkommen.text());
  if (income > 0 && core::parseAmount(edAusgaben.text()) > income)
    host().dialogs().message("Die Ausgaben sind höher als die Einmahmen!", "Prüfung");
}

void TfrmAngebotsdialog::cbZielChange(Control* sender) {
  auto* goal = static_cast<ComboBox*>(sender);
  if (!goal) return;
  if (goal->itemIndex() > goalLimit_) {
    goal->setItemIndex(goalLimit_);
    return;
  }
  int years = 0;
  if (goal->itemIndex() < 0 && core::parseStrictInt(goal->text(), years) &&
      years > std::stoi(goal->items()[goalLimit_]))
    goal->setItemIndex(goalLimit_);
}

// --- bank connections -----------------------------------------------------------------------

const bank::BankRecord* TfrmAngebotsdialog::bankFor(const std::string& code) const {
  if (!banks_) return nullptr;
  const auto index = bank::findBankCode(*banks_, code);
  return index ? &banks_->records[*index] : nullptr;
}

// The fields first, the warnings after: a box must not hide what the exit already knows.
void TfrmAngebotsdialog::bankCodeExit(const BankConnection& c) {
  const std::string code = c.code.text();
  const bank::BankRecord* bank = code.empty() ? nullptr : bankFor(code);
  const bank::BankDetails details = bank::bankDetails(bank, c.place != nullptr);
  c.bic.setText(details.bic);
  c.bankName.setText(details.name);
  if (c.place) c.place->setText(details.place);
  updateIban(c);
  // An empty code is no typing error: it just clears what belonged to the old one.
  if (!bank && !code.empty())
    host().dialogs().message(
        "Unbekannt Bankleitzahl (BLZ) '" + code + "' eingegeben! Bitte prüfen.", "Bankleitzahl");
  warnAboutAccount(c);
}

void TfrmAngebotsdialog::accountExit(const BankConnection& c) {
  updateIban(c);
  warnAboutAccount(c);
}

void TfrmAngebotsdialog::updateIban(const BankConnection& c) {
  if (auto iban = bank::ibanForAccountExit(c.code.text(), c.account.text())) c.iban.setText(*iban);
}

// Warnings only: the agent may know better than the method data. An account that is no number
// (from an offer file) has no IBAN; it is named rather than left to an empty IBAN field.
void TfrmAngebotsdialog::warnAboutAccount(const BankConnection& c) {
  if (!onlyDigits(c.account.text()))
    host().dialogs().message("Die Kontonummer '" + c.account.text() +
                                 "' enthält andere Zeichen als Ziffern. Bitte prüfen.",
                             "Kontonummer");
  else if (accountFailsCheck(c.code, c.account))
    host().dialogs().message("Die Kontonummer '" + c.account.text() +
                                 "' passt nach dem Prüfziffernverfahren der Bank nicht zur "
                                 "Bankleitzahl '" +
                                 c.code.text() + "'. Bitte prüfen.",
                             "Kontonummer");
}

bool TfrmAngebotsdialog::accountFailsCheck(const Control& code, const Control& account) const {
  return bankFor(code.text()) &&
         bank::checkAccount(code.text(), account.text()) == bank::AccountCheck::Invalid;
}

void TfrmAngebotsdialog::cbZF_BLZExit(Control*) {
  bankCodeExit(zf());
}
void TfrmAngebotsdialog::cbZP_BLZExit(Control*) {
  bankCodeExit(zp());
}
void TfrmAngebotsdialog::cbZB_BLZExit(Control*) {
  bankCodeExit(zb());
}
void TfrmAngebotsdialog::edZF_KontoExit(Control*) {
  accountExit(zf());
}
void TfrmAngebotsdialog::edZP_KontoExit(Control*) {
  accountExit(zp());
}
void TfrmAngebotsdialog::edZB_KontoExit(Control*) {
  accountExit(zb());
}

// --- completeness check ---------------------------------------------------------------------

namespace {

// The eleven person fields of pages 6 and 7.
struct PersonFields {
  const Control &surname, &firstName, &street, &postcode, &place, &birthday, &birthPlace,
      &birthCountry, &birthName, &status, &nation, &idNumber, &authority;
};

void checkPerson(const PersonFields& p, const std::string& who, std::vector<Finding>& out) {
  const PersonEntries entries{p.surname.text(),    p.firstName.text(),    p.street.text(),
                              p.postcode.text(),   p.place.text(),        dateMissing(p.birthday),
                              p.birthPlace.text(), p.birthCountry.text(), p.birthName.text(),
                              p.status.text(),     p.nation.text(),       p.idNumber.text(),
                              p.authority.text()};
  const PersonControls fields{
      p.surname.name().c_str(),   p.firstName.name().c_str(),  p.street.name().c_str(),
      p.birthday.name().c_str(),  p.birthPlace.name().c_str(), p.birthCountry.name().c_str(),
      p.birthName.name().c_str(), p.status.name().c_str(),     p.nation.name().c_str(),
      p.idNumber.name().c_str(),  p.authority.name().c_str()};
  personFindings(entries, who, fields, out);
}

BankConnectionEntries bankEntries(const Control& bankName, const Control& code,
                                  const Control& account, const Control* holder, bool failsCheck) {
  return {bankName.text(), code.text(), account.text(), holder ? holder->text() : std::string(),
          failsCheck};
}

BankControls bankControls(const Control& bankName, const Control& code, const Control& account,
                          const Control* holder) {
  return {bankName.name().c_str(), code.name().c_str(), account.name().c_str(),
          holder ? holder->name().c_str() : ""};
}

bool noneChecked(std::initializer_list<const Control*> choices) {
  return std::none_of(choices.begin(), choices.end(),
                      [](const Control* c) { return c->checked(); });
}

}  // namespace

// Each rule names the control its finding leads to; the agent's and the customer's data are
// no field of this form and lead nowhere.
std::vector<Finding> TfrmAngebotsdialog::completenessCheck() const {
  std::vector<Finding> out;
  auto rule = [&out](bool fires, const char* text, const Control* field) {
    if (fires) out.push_back({text, field ? field->name() : std::string()});
  };

  const double income = core::parseAmount(edEinkommen.text());
  rule(income > 0 && core::parseAmount(edAusgaben.text()) > income,
       " Die Ausgaben sind höher als die Einmahmen", &edAusgaben);
  rule(dateMissing(medBP_Datum), " Anlegerfragebogen: Das Datum fehlt", &medBP_Datum);
  rule(timeMissing(medBP_Von), " Anlegerfragebogen: Das Uhrzeit des Beginns der Beratung fehlt",
       &medBP_Von);
  rule(timeMissing(medBP_Bis), " Anlegerfragebogen: Das Uhrzeit des Ende der Beratung fehlt",
       &medBP_Bis);
  const auto from = silentTime(medBP_Von), to = silentTime(medBP_Bis);
  rule(from && to && *from > *to,
       " Anlegerfragebogen: Die Uhrzeiten der Beratung passen nicht zu einander", &medBP_Von);
  rule(edBP_Teil1.text().empty() && edBP_Teil2.text().empty() && edBP_Teil3.text().empty(),
       " Anlegerfragebogen: Keine Gesprächsteilnehmer", &edBP_Teil1);

  const AgentFacts agent = links().agentFacts();
  rule(agent.company.empty(), " Vermittlername fehlt", nullptr);
  rule(agent.phone.empty(), " Telefonnummer des Vermittlers fehlt", nullptr);
  rule(agent.subNumber.empty(), " Vermittlernummer (UnterVKZ) fehlt", nullptr);

  const PersonFacts vn = links().customerFacts().holder;
  rule(vn.lastName.empty(), " Name des Depotinhabers fehlt", nullptr);
  rule(vn.firstName.empty(), " Vorname des Depotinhabers fehlt", nullptr);
  rule(vn.street.empty() || vn.postcode.empty() || vn.place.empty(),
       " Adresse (Strasse, PLZ, Ort) des Depotinhabers ist unvollständig", nullptr);
  rule(dateMissing(vn.birthDate), " Geburtsdatum des Depotinhabers fehlt", nullptr);
  rule(vn.birthPlace.empty(), " Geburtsort des Depotinhabers fehlt", nullptr);
  rule(vn.birthCountry.empty(), " Geburtsland des Depotinhabers fehlt", nullptr);
  rule(vn.birthName.empty(), " Falls zutreffend, bitte Geburtsnamen des Depotinhabers angeben",
       nullptr);
  rule(vn.maritalStatus.empty(), " Familienstand des Depotinhabers fehlt", nullptr);
  rule(vn.nationality.empty(), " Staatsangehörigkeit des Depotinhabers fehlt", nullptr);

  const PersonFields wd{edWD_Nachname,    edWD_Vorname, edWD_Strasse, edWD_PLZ,     edWD_Ort,
                        medWD_Geburtstag, edWD_GebOrt,  edWD_GebLand, edWD_GebName, cbWD_Stand,
                        edWD_Nation,      edWD_AusNr,   edWD_Behoerde};
  if (!policyholderIsMinor()) {
    rule(edVN_AusNr.text().empty(), " Ausweisnummer des Depotinhabers fehlt", &edVN_AusNr);
    rule(edVN_Behoerde.text().empty(),
         " Ausstellende Behörde des Ausweises des Depotinhabers fehlt", &edVN_Behoerde);
    if (cbWD_Art.itemIndex() == 1) checkPerson(wd, "weiteren Depotinhabers", out);
  } else {
    if (cbWD_Art.itemIndex() != 0)
      out.push_back({" 1. gesetzlicher Vertreter fehlt", cbWD_Art.name()});
    else
      checkPerson(wd, "1. gesetzlichen Vertreters", out);
    const PersonFields gv{edGV_Nachname,    edGV_Vorname, edGV_Strasse, edGV_PLZ,     edGV_Ort,
                          medGV_Geburtstag, edGV_GebOrt,  edGV_GebLand, edGV_GebName, cbGV_Stand,
                          edGV_Nation,      edGV_AusNr,   edGV_Behoerde};
    checkPerson(gv, "2. gesetzlichen Vertreters", out);
  }

  bankFindings(
      bankEntries(edZF_KI, cbZF_BLZ, edZF_Konto, nullptr, accountFailsCheck(cbZF_BLZ, edZF_Konto)),
      kReferenceAccountRules, bankControls(edZF_KI, cbZF_BLZ, edZF_Konto, nullptr), out);
  if (cbRefKonto.visible() && cbRefKonto.itemIndex() != 0)
    bankFindings(bankEntries(edZP_KI, cbZP_BLZ, edZP_Konto, &edZP_Kontoinhaber,
                             accountFailsCheck(cbZP_BLZ, edZP_Konto)),
                 kCollectionAccountRules,
                 bankControls(edZP_KI, cbZP_BLZ, edZP_Konto, &edZP_Kontoinhaber), out);
  if (edZB_Konto.showing())
    bankFindings(bankEntries(edZB_KI, cbZB_BLZ, edZB_Konto, &edZB_Kontoinhaber,
                             accountFailsCheck(cbZB_BLZ, edZB_Konto)),
                 kStartPaymentAccountRules,
                 bankControls(edZB_KI, cbZB_BLZ, edZB_Konto, &edZB_Kontoinhaber), out);
  if (edZE_Konto.showing())
    bankFindings(bankEntries(edZE_KI, edZE_BLZ, edZE_Konto, &edZE_Kontoinhaber, false),
                 kSinglePaymentAccountRules,
                 bankControls(edZE_KI, edZE_BLZ, edZE_Konto, &edZE_Kontoinhaber), out);

  rule(ed_WpHG_Beruf.text().empty(), " Anlegerfragebogen: die Angabe des Berufs fehlt",
       &ed_WpHG_Beruf);
  rule(ed_WpHG_Beruf2.text().empty() && ed_WpHG_Beruf3.text().empty(),
       " Anlegerfragebogen: die Angabe der Tätigkeiten der letzten 10 Jahre fehlt",
       &ed_WpHG_Beruf2);
  rule(noneChecked({&rbFGIK, &rbFGI3, &rbFGI7, &rbFGIM7}),
       " Anlegerfragebogen: Erfahrungen mit Festgeld/Geldmarkt-/Immobilienfonds?", &rbFGIK);
  rule(noneChecked({&rbRRK, &rbRR3, &rbRR7, &rbRRM7}),
       " Anlegerfragebogen: Erfahrungen mit Renten/Rentenfonds?", &rbRRK);
  rule(noneChecked({&rbGFK, &rbGF3, &rbGF7, &rbGFM7}), " Anlegerfragebogen: Gemischte Fonds?",
       &rbGFK);
  rule(noneChecked({&rbAAK, &rbAA3, &rbAA7, &rbAAM7}),
       " Anlegerfragebogen: Erfahrungen mit Aktien/Aktienfonds?", &rbAAK);
  rule(noneChecked({&rb25, &rb50, &rbM50}),
       " Anlegerfragebogen: Wie hoch ist das Verhältnis der geplanten Anlage zum "
       "Gesamtvermögen?",
       &rb25);
  rule(noneChecked({&cbVMA, &cbVS, &cbAS}),
       " Anlegerfragebogen: Welche Anlageziele werden mit der Anlage verfolgt?", &cbVMA);
  rule(cbVMA.checked() && cbZiel1.itemIndex() < 0,
       " Anlegerfragebogen: Dauer zum Vermögensaufbau fehlt", &cbZiel1);
  rule(cbVS.checked() && cbZiel2.itemIndex() < 0, " Anlegerfragebogen: Dauer zur Vorsorge fehlt",
       &cbZiel2);
  rule(cbAS.checked() && (edAS.text().empty() || cbZiel3.itemIndex() < 0),
       " Anlegerfragebogen: Angaben zum sonstigen Anlageziel unvollständig", &edAS);
  rule(noneChecked({&rbRJa, &rbRNein}),
       " Anlegerfragebogen: Verfügen Sie über Reserven, die geeignet sind, Ihren "
       "Lebensunterhalt abzusichern, ohne auf die hier geplanten Anlagen zurück zu greifen?",
       &rbRJa);
  return out;
}

std::vector<std::string> TfrmAngebotsdialog::completenessFindings() const {
  std::vector<std::string> texts;
  for (const Finding& finding : completenessCheck()) texts.push_back(finding.text);
  return texts;
}

void TfrmAngebotsdialog::showField(const std::string& control) {
  Control* field = find(control);
  if (!field) return;
  if (int page = pageOf(*field); page >= 0) pageDaten.setActivePage(page);
  if (field->showing() && field->enabled()) focus(field);
}

void TfrmAngebotsdialog::sb_VollstaendigClick(Control*) {
  const std::vector<Finding> findings = completenessCheck();
  if (findings.empty()) {
    host().dialogs().message("Keine Fehler gefunden!", "Prüfung");
    return;
  }
  hide();
  links().showFindings(findings);
}

}  // namespace fondaris::forms
