#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bank/bank_table.h"
#include "engine/product_rules.h"
#include "forms/controls/combo_box_inc.h"
#include "forms/controls/form.h"
#include "forms/form_links.h"

namespace fondaris::forms {

// What the contract form hands over when it leads here ("An&trag"): the figures of its own
// controls that decide the application's pages and lists.
struct ApplicationStart {
  // Position chosen in the investment-period list (cb_Anlagedauer for the first variant,
  // cb_BZD2 for the second); the goal durations may reach four places beyond it.
  int investmentPeriodIndex = 0;
  // A payment at the start is offered: its bank details (boxKontoZB) show.
  bool paymentAtStart = false;
  // Caption of those bank details for this contract; empty keeps the designed one.
  std::string paymentAtStartCaption{};
  // A single investment exists: its bank details (boxKontoEZ) show.
  bool singleInvestment = false;
  // The bank table the contract form loaded; it must outlive this form's use of it.
  const bank::BankTable* banks = nullptr;
};

// Application data form: investor questionnaire, identity papers, bank connections, employer,
// legal representatives or a further account holder, on seven pages.
class TfrmAngebotsdialog : public Form {
 public:
  explicit TfrmAngebotsdialog(FormHost& host);

  PageControl pageDaten{*this, "pageDaten"};
  TabSheet tsAnleger1{*this, "tsAnleger1", &pageDaten};
  TabSheet tsAnleger2{*this, "tsAnleger2", &pageDaten};
  TabSheet tsAusweis{*this, "tsAusweis", &pageDaten};
  TabSheet tsKonto{*this, "tsKonto", &pageDaten};
  TabSheet tsArbeitgeber{*this, "tsArbeitgeber", &pageDaten};
  TabSheet tsVertreter1{*this, "tsVertreter1", &pageDaten};
  TabSheet tsVertreter2{*this, "tsVertreter2", &pageDaten};

  // Page 1: investor questionnaire, first half.
  Edit ed_WpHG_Beruf{*this, "ed_WpHG_Beruf", &tsAnleger1};
  Edit ed_WpHG_Branche{*this, "ed_WpHG_Branche", &tsAnleger1};
  CheckBox cbSelbst{*this, "cbSelbst", &tsAnleger1};
  Edit ed_WpHG_Beruf2{*this, "ed_WpHG_Beruf2", &tsAnleger1};
  Edit ed_WpHG_Beruf3{*this, "ed_WpHG_Beruf3", &tsAnleger1};
  GroupBox boxFGI{*this, "boxFGI", &tsAnleger1};
  RadioButton rbFGIK{*this, "rbFGIK", &boxFGI};
  RadioButton rbFGI3{*this, "rbFGI3", &boxFGI};
  RadioButton rbFGI7{*this, "rbFGI7", &boxFGI};
  RadioButton rbFGIM7{*this, "rbFGIM7", &boxFGI};
  GroupBox boxRR{*this, "boxRR", &tsAnleger1};
  RadioButton rbRRK{*this, "rbRRK", &boxRR};
  RadioButton rbRR3{*this, "rbRR3", &boxRR};
  RadioButton rbRR7{*this, "rbRR7", &boxRR};
  RadioButton rbRRM7{*this, "rbRRM7", &boxRR};
  GroupBox boxGF{*this, "boxGF", &tsAnleger1};
  RadioButton rbGFK{*this, "rbGFK", &boxGF};
  RadioButton rbGF3{*this, "rbGF3", &boxGF};
  RadioButton rbGF7{*this, "rbGF7", &boxGF};
  RadioButton rbGFM7{*this, "rbGFM7", &boxGF};
  GroupBox boxAA{*this, "boxAA", &tsAnleger1};
  RadioButton rbAAK{*this, "rbAAK", &boxAA};
  RadioButton rbAA3{*this, "rbAA3", &boxAA};
  RadioButton rbAA7{*this, "rbAA7", &boxAA};
  RadioButton rbAAM7{*this, "rbAAM7", &boxAA};
  GroupBox boxVermoegen{*this, "boxVermoegen", &tsAnleger1};
  RadioButton rb25{*this, "rb25", &boxVermoegen};
  RadioButton rb50{*this, "rb50", &boxVermoegen};
  RadioButton rbM50{*this, "rbM50", &boxVermoegen};
  Edit edEinkommen{*this, "edEinkommen", &tsAnleger1};
  Edit edAusgaben{*this, "edAusgaben", &tsAnleger1};
  GroupBox boxPost{*this, "boxPost", &tsAnleger1};
  RadioButton rbNeinPost{*this, "rbNeinPost", &boxPost};
  RadioButton rbJaPost{*this, "rbJaPost", &boxPost};

  // Page 2: investor questionnaire, second half, and the consultation record.
  CheckBox cbVMA{*this, "cbVMA", &tsAnleger2};
  CheckBox cbVS{*this, "cbVS", &tsAnleger2};
  CheckBox cbAS{*this, "cbAS", &tsAnleger2};
  Edit edAS{*this, "edAS", &tsAnleger2};
  ComboBox cbZiel1{*this, "cbZiel1", &tsAnleger2};
  ComboBox cbZiel2{*this, "cbZiel2", &tsAnleger2};
  ComboBox cbZiel3{*this, "cbZiel3", &tsAnleger2};
  GroupBox boxReserven{*this, "boxReserven", &tsAnleger2};
  RadioButton rbRJa{*this, "rbRJa", &boxReserven};
  RadioButton rbRNein{*this, "rbRNein", &boxReserven};
  CheckBox cbKeineErfahrung{*this, "cbKeineErfahrung", &tsAnleger2};
  CheckBox cbAblaufmanagement{*this, "cbAblaufmanagement", &tsAnleger2};
  Edit ed_WpHG_Sonst{*this, "ed_WpHG_Sonst", &tsAnleger2};
  MaskEdit medBP_Datum{*this, "medBP_Datum", &tsAnleger2};
  MaskEdit medBP_Von{*this, "medBP_Von", &tsAnleger2};
  MaskEdit medBP_Bis{*this, "medBP_Bis", &tsAnleger2};
  Button sb_Heute{*this, "sb_Heute", &tsAnleger2};
  Button sb_Jetzt{*this, "sb_Jetzt", &tsAnleger2};
  Edit edBP_Teil1{*this, "edBP_Teil1", &tsAnleger2};
  Edit edBP_Teil2{*this, "edBP_Teil2", &tsAnleger2};
  Edit edBP_Teil3{*this, "edBP_Teil3", &tsAnleger2};
  Edit edBP_Anlass1{*this, "edBP_Anlass1", &tsAnleger2};
  Edit edBP_Anlass2{*this, "edBP_Anlass2", &tsAnleger2};
  Edit edBP_Anlass3{*this, "edBP_Anlass3", &tsAnleger2};

  // Page 3: identity papers of the account holder.
  ComboBox cbVN_Pass{*this, "cbVN_Pass", &tsAusweis};
  Edit edVN_AusNr{*this, "edVN_AusNr", &tsAusweis};
  MaskEdit medVN_Ausdat{*this, "medVN_Ausdat", &tsAusweis};
  MaskEdit medVN_Ausbis{*this, "medVN_Ausbis", &tsAusweis};
  Edit edVN_Behoerde{*this, "edVN_Behoerde", &tsAusweis};
  Edit edVN_BehoerdeOrt{*this, "edVN_BehoerdeOrt", &tsAusweis};
  Edit edVN_SteuerID{*this, "edVN_SteuerID", &tsAusweis};
  ComboBox cbEigeneRechnung{*this, "cbEigeneRechnung", &tsAusweis};
  Edit edRechnungName{*this, "edRechnungName", &tsAusweis};

  // Page 4: bank connections. ZF reference account, ZP different debit account, ZE single
  // investment, ZB payment at the start.
  Edit edZF_Konto{*this, "edZF_Konto", &tsKonto};
  ComboBoxInc cbZF_BLZ{*this, "cbZF_BLZ", &tsKonto};
  Edit edZF_KI{*this, "edZF_KI", &tsKonto};
  Edit edZF_BIC{*this, "edZF_BIC", &tsKonto};
  Edit edZF_IBAN{*this, "edZF_IBAN", &tsKonto};
  ComboBox cbZF_UebEinzug{*this, "cbZF_UebEinzug", &tsKonto};
  ComboBox cbZF_UebTag{*this, "cbZF_UebTag", &tsKonto};
  ComboBox cbRefKonto{*this, "cbRefKonto", &tsKonto};
  ComboBox cbZF_Kontoart{*this, "cbZF_Kontoart", &tsKonto};
  // Travels with saved offers; no page shows it.
  Edit edZF_GebOrt{*this, "edZF_GebOrt", &tsKonto};
  GroupBox Kontoinhaber{*this, "Kontoinhaber", &tsKonto};
  Edit edZF_Kontoin{*this, "edZF_Kontoin", &Kontoinhaber};
  GroupBox boxKonto{*this, "boxKonto", &tsKonto};
  Edit edZP_Konto{*this, "edZP_Konto", &boxKonto};
  ComboBoxInc cbZP_BLZ{*this, "cbZP_BLZ", &boxKonto};
  Edit edZP_KI{*this, "edZP_KI", &boxKonto};
  Edit edZP_BIC{*this, "edZP_BIC", &boxKonto};
  Edit edZP_IBAN{*this, "edZP_IBAN", &boxKonto};
  Edit edZP_Kontoinhaber{*this, "edZP_Kontoinhaber", &boxKonto};
  GroupBox boxKontoEZ{*this, "boxKontoEZ", &tsKonto};
  ComboBox cbZE_UebEinzug{*this, "cbZE_UebEinzug", &boxKontoEZ};
  ComboBox cbKontoEZ{*this, "cbKontoEZ", &boxKontoEZ};
  ComboBox cbZE_UebDatum{*this, "cbZE_UebDatum", &boxKontoEZ};
  MaskEdit medZE_Datum{*this, "medZE_Datum", &boxKontoEZ};
  Edit edZE_Konto{*this, "edZE_Konto", &boxKontoEZ};
  Edit edZE_BLZ{*this, "edZE_BLZ", &boxKontoEZ};
  Edit edZE_KI{*this, "edZE_KI", &boxKontoEZ};
  Edit edZE_Kontoinhaber{*this, "edZE_Kontoinhaber", &boxKontoEZ};
  GroupBox boxKontoZB{*this, "boxKontoZB", &tsKonto};
  ComboBox cb_EEG{*this, "cb_EEG", &boxKontoZB};
  ComboBox cb_EEGTermin{*this, "cb_EEGTermin", &boxKontoZB};
  MaskEdit medEEG_Datum{*this, "medEEG_Datum", &boxKontoZB};
  Edit edZB_Konto{*this, "edZB_Konto", &boxKontoZB};
  ComboBoxInc cbZB_BLZ{*this, "cbZB_BLZ", &boxKontoZB};
  Edit edZB_BIC{*this, "edZB_BIC", &boxKontoZB};
  Edit edZB_KI{*this, "edZB_KI", &boxKontoZB};
  Edit edZB_KIStr{*this, "edZB_KIStr", &boxKontoZB};
  Edit edZB_KIOrt{*this, "edZB_KIOrt", &boxKontoZB};
  Edit edZB_Kontoinhaber{*this, "edZB_Kontoinhaber", &boxKontoZB};
  Edit edZB_IBAN{*this, "edZB_IBAN", &boxKontoZB};
  Button sb_WieRefKonto{*this, "sb_WieRefKonto", &boxKontoZB};
  Button sb_WieKonto{*this, "sb_WieKonto", &boxKontoZB};

  // Page 5: employer.
  Edit ed_Firma{*this, "ed_Firma", &tsArbeitgeber};
  Edit ed_Firma_Strasse{*this, "ed_Firma_Strasse", &tsArbeitgeber};
  ComboBox cb_Firma_Land{*this, "cb_Firma_Land", &tsArbeitgeber};
  Edit ed_Firma_PLZ{*this, "ed_Firma_PLZ", &tsArbeitgeber};
  Edit ed_Firma_Ort{*this, "ed_Firma_Ort", &tsArbeitgeber};
  Edit ed_Firma_Abteilung{*this, "ed_Firma_Abteilung", &tsArbeitgeber};
  Edit ed_Firma_Personalnummer{*this, "ed_Firma_Personalnummer", &tsArbeitgeber};

  // Page 6: first legal representative or further account holder.
  ComboBox cbWD_Art{*this, "cbWD_Art", &tsVertreter1};
  ComboBox cbWD_Anrede{*this, "cbWD_Anrede", &tsVertreter1};
  Edit edWD_Titel{*this, "edWD_Titel", &tsVertreter1};
  Edit edWD_Vorname{*this, "edWD_Vorname", &tsVertreter1};
  Edit edWD_Nachname{*this, "edWD_Nachname", &tsVertreter1};
  MaskEdit medWD_Geburtstag{*this, "medWD_Geburtstag", &tsVertreter1};
  Edit edWD_Strasse{*this, "edWD_Strasse", &tsVertreter1};
  ComboBox cbWD_Land{*this, "cbWD_Land", &tsVertreter1};
  Edit edWD_PLZ{*this, "edWD_PLZ", &tsVertreter1};
  Edit edWD_Ort{*this, "edWD_Ort", &tsVertreter1};
  ComboBox cbWD_Stand{*this, "cbWD_Stand", &tsVertreter1};
  Edit edWD_Nation{*this, "edWD_Nation", &tsVertreter1};
  Edit edWD_GebName{*this, "edWD_GebName", &tsVertreter1};
  Edit edWD_GebOrt{*this, "edWD_GebOrt", &tsVertreter1};
  Edit edWD_GebLand{*this, "edWD_GebLand", &tsVertreter1};
  Edit edWD_Telefon{*this, "edWD_Telefon", &tsVertreter1};
  Edit edWD_E_mail{*this, "edWD_E_mail", &tsVertreter1};
  Edit ed_WDBeruf{*this, "ed_WDBeruf", &tsVertreter1};
  CheckBox cbWD_Selbst{*this, "cbWD_Selbst", &tsVertreter1};
  Edit ed_WDBranche{*this, "ed_WDBranche", &tsVertreter1};
  ComboBox cbWD_Pass{*this, "cbWD_Pass", &tsVertreter1};
  Edit edWD_AusNr{*this, "edWD_AusNr", &tsVertreter1};
  MaskEdit medWD_Ausdat{*this, "medWD_Ausdat", &tsVertreter1};
  MaskEdit medWD_Ausbis{*this, "medWD_Ausbis", &tsVertreter1};
  Edit edWD_Behoerde{*this, "edWD_Behoerde", &tsVertreter1};
  Edit edWD_BehoerdeOrt{*this, "edWD_BehoerdeOrt", &tsVertreter1};
  Edit edWD_SteuerID{*this, "edWD_SteuerID", &tsVertreter1};
  Button sb_WDAdr{*this, "sb_WDAdr", &tsVertreter1};

  // Page 7: second legal representative.
  ComboBox cbGV_Anrede{*this, "cbGV_Anrede", &tsVertreter2};
  Edit edGV_Titel{*this, "edGV_Titel", &tsVertreter2};
  Edit edGV_Vorname{*this, "edGV_Vorname", &tsVertreter2};
  Edit edGV_Nachname{*this, "edGV_Nachname", &tsVertreter2};
  MaskEdit medGV_Geburtstag{*this, "medGV_Geburtstag", &tsVertreter2};
  Edit edGV_Strasse{*this, "edGV_Strasse", &tsVertreter2};
  ComboBox cbGV_Land{*this, "cbGV_Land", &tsVertreter2};
  Edit edGV_PLZ{*this, "edGV_PLZ", &tsVertreter2};
  Edit edGV_Ort{*this, "edGV_Ort", &tsVertreter2};
  ComboBox cbGV_Stand{*this, "cbGV_Stand", &tsVertreter2};
  Edit edGV_Nation{*this, "edGV_Nation", &tsVertreter2};
  Edit edGV_GebName{*this, "edGV_GebName", &tsVertreter2};
  Edit edGV_GebOrt{*this, "edGV_GebOrt", &tsVertreter2};
  Edit edGV_GebLand{*this, "edGV_GebLand", &tsVertreter2};
  Edit edGV_Telefon{*this, "edGV_Telefon", &tsVertreter2};
  Edit edGV_E_mail{*this, "edGV_E_mail", &tsVertreter2};
  Edit ed_GVBeruf{*this, "ed_GVBeruf", &tsVertreter2};
  CheckBox cbGV_Selbst{*this, "cbGV_Selbst", &tsVertreter2};
  Edit ed_GVBranche{*this, "ed_GVBranche", &tsVertreter2};
  ComboBox cbGV_Pass{*this, "cbGV_Pass", &tsVertreter2};
  Edit edGV_AusNr{*this, "edGV_AusNr", &tsVertreter2};
  MaskEdit medGV_Ausdat{*this, "medGV_Ausdat", &tsVertreter2};
  MaskEdit medGV_Ausbis{*this, "medGV_Ausbis", &tsVertreter2};
  Edit edGV_Behoerde{*this, "edGV_Behoerde", &tsVertreter2};
  Edit edGV_BehoerdeOrt{*this, "edGV_BehoerdeOrt", &tsVertreter2};
  Button sb_GVAdr{*this, "sb_GVAdr", &tsVertreter2};

  Button cb_Zurueck{*this, "cb_Zurueck"};
  Button sbErste{*this, "sbErste"};
  Button sbVorher{*this, "sbVorher"};
  Button sbNach{*this, "sbNach"};
  Button sbLetzter{*this, "sbLetzter"};
  Button sb_Vollstaendig{*this, "sb_Vollstaendig"};
  Button sb_Angebotsformular{*this, "sb_Angebotsformular"};
  HotKey HotKeyHelp{*this, "HotKeyHelp"};
  MenuItem mHilfe{*this, "mHilfe"};

  void FormActivate() override;
  void FormClose() override;

  // "An&trag" on the contract form: prepares the pages and lists for the customer of the
  // customer form and the contract described by `start`, then shows the first page.
  void prepare(const ApplicationStart& start);

  void cb_ZurueckClick(Control* sender);
  void sbErsteClick(Control* sender);
  void sbVorherClick(Control* sender);
  void sbNachClick(Control* sender);
  void sbLetzterClick(Control* sender);
  void sb_VollstaendigClick(Control* sender);
  void sb_AngebotsformularClick(Control* sender);

  void medWD_GeburtstagExit(Control* sender);
  void medGV_GeburtstagExit(Control* sender);
  void medVN_AusdatExit(Control* sender);
  void medWD_AusdatExit(Control* sender);
  void medGV_AusdatExit(Control* sender);
  void medVN_AusbisExit(Control* sender);
  void medWD_AusbisExit(Control* sender);
  void medGV_AusbisExit(Control* sender);
  void medBP_DatumExit(Control* sender);
  void medZE_DatumExit(Control* sender);
  void medEEG_DatumExit(Control* sender);
  void medBP_VonExit(Control* sender);
  void medBP_BisExit(Control* sender);
  void sb_HeuteClick(Control* sender);
  void sb_JetztClick(Control* sender);

  void cbEigeneRechnungChange(Control* sender);
  void cbRefKontoClick(Control* sender);
  void cbZE_UebEinzugExit(Control* sender);
  void cbKontoEZClick(Control* sender);
  void cbZE_UebDatumExit(Control* sender);
  void cb_EEGClick(Control* sender);
  void cb_EEGTerminClick(Control* sender);
  void cbWD_ArtChange(Control* sender);

  void sb_WDAdrClick(Control* sender);
  void sb_GVAdrClick(Control* sender);
  void sb_WieRefKontoClick(Control* sender);
  void sb_WieKontoClick(Control* sender);
  void edAusgabenExit(Control* sender);
  void cbZielChange(Control* sender);

  void cbZF_BLZExit(Control* sender);
  void cbZP_BLZExit(Control* sender);
  void cbZB_BLZExit(Control* sender);
  void edZF_KontoExit(Control* sender);
  void edZP_KontoExit(Control* sender);
  void edZB_KontoExit(Control* sender);

  // The policyholder's completed years at the contract start (from the birth date when it is
  // valid, else the age typed on the customer form); nullopt when neither is readable.
  std::optional<int> policyholderAge() const;
  bool policyholderIsMinor() const;

  // The findings of the completeness check, in their order, each with the control it is about;
  // empty when nothing is missing. Runs silently: unreadable dates and times count as given,
  // empty ones as missing.
  std::vector<Finding> completenessCheck() const;
  // Their texts alone.
  std::vector<std::string> completenessFindings() const;

  // Selects the page that holds the control named `control` and puts the focus into it when it
  // shows; an unknown name changes nothing.
  void showField(const std::string& control);

  // File names of the PDF forms the forms-data files refer to.
  std::string applicationFormVl = "FQ-VL-Antrag.pdf";
  std::string applicationFormZiel = "FQ-Zielspar-Antrag.pdf";
  std::string protectionForm = "FQ-Schutz.pdf";
  std::string formVvez;
  std::string formVvzuebVl, formVvzuebZiel;
  std::string formVvzuebeaVl, formVvzuebeaZiel;
  std::string formVvzuebeeg;
  // "Daten speichern?" answered with yes on "&Weiter": saves the offer to its file (or through the
  // save dialog when it has none); true when saved.
  std::function<bool()> saveOffer;
  // Where "&Weiter" writes the forms-data files; empty means the user's document folder.
  std::string documentFolder;

  // Program-wide load on single payments, used by the forms-data figures.
  double singlePaymentLoad = engine::kFixedTermSinglePaymentLoad;

  // Limit of the goal durations: a list position.
  int goalLimit() const { return goalLimit_; }

 private:
  struct BankConnection {
    ComboBox& code;
    Edit& account;
    Edit& bic;
    Edit& bankName;
    Edit& iban;
    Edit* place;  // only ZB keeps the place apart
  };
  BankConnection zf() { return {cbZF_BLZ, edZF_Konto, edZF_BIC, edZF_KI, edZF_IBAN, nullptr}; }
  BankConnection zp() { return {cbZP_BLZ, edZP_Konto, edZP_BIC, edZP_KI, edZP_IBAN, nullptr}; }
  BankConnection zb() { return {cbZB_BLZ, edZB_Konto, edZB_BIC, edZB_KI, edZB_IBAN, &edZB_KIOrt}; }
  void bankCodeExit(const BankConnection& c);
  void accountExit(const BankConnection& c);
  void updateIban(const BankConnection& c);
  void warnAboutAccount(const BankConnection& c);
  void copyToZb(const BankConnection& from, const std::string& holder);
  const bank::BankRecord* bankFor(const std::string& code) const;
  bool accountFailsCheck(const Control& code, const Control& account) const;

  void birthdayExit(MaskEdit& field);
  void issueDateExit(MaskEdit& field);
  void validUntilExit(MaskEdit& field, const char* message);
  void notBeforeTodayExit(MaskEdit& field);
  void timeExit(MaskEdit& field);
  void copyAddress(Edit& street, Edit& place, Edit& postcode, ComboBox& country);
  void readProductData();
  std::array<const TabSheet*, 7> pages() const;
  int visiblePage(int from, int step) const;
  // The page `control` sits on, or -1.
  int pageOf(const Control& control) const;

  const bank::BankTable* banks_ = nullptr;
  int goalLimit_ = 98;
};

}  // namespace fondaris::forms
