#pragma once

#include <string>

#include "forms/controls/combo_box_inc.h"
#include "forms/controls/form.h"

namespace fondaris::forms {

// Customer data form: the account holder ("VN"), the insured person ("VP", a hidden group
// that mirrors the account holder), the product variant and the ages.
class TfrmAngebotsdaten : public Form {
 public:
  explicit TfrmAngebotsdaten(FormHost& host);

  // Account holder, group "Depotinhaber".
  GroupBox boxVN{*this, "boxVN"};
  ComboBox cbVN_Anrede{*this, "cbVN_Anrede", &boxVN};
  Edit edVN_Titel{*this, "edVN_Titel", &boxVN};
  Edit edVN_Vorname{*this, "edVN_Vorname", &boxVN};
  Edit edVN_Nachname{*this, "edVN_Nachname", &boxVN};
  Edit edVN_Strasse{*this, "edVN_Strasse", &boxVN};
  Edit edVN_HausNr{*this, "edVN_HausNr", &boxVN};
  ComboBox cbVN_Land{*this, "cbVN_Land", &boxVN};
  Edit edVN_PLZ{*this, "edVN_PLZ", &boxVN};
  Edit edVN_Ort{*this, "edVN_Ort", &boxVN};
  Edit edVN_Telefon{*this, "edVN_Telefon", &boxVN};
  Edit edVN_FAX{*this, "edVN_FAX", &boxVN};
  Edit edVN_E_mail{*this, "edVN_E_mail", &boxVN};
  Edit edVN_TelefonDienstlich{*this, "edVN_TelefonDienstlich", &boxVN};
  ComboBox cbVN_Stand{*this, "cbVN_Stand", &boxVN};
  Edit edVN_Nation{*this, "edVN_Nation", &boxVN};
  Edit edVN_GebName{*this, "edVN_GebName", &boxVN};
  Edit edVN_GebOrt{*this, "edVN_GebOrt", &boxVN};
  Edit edVN_GebLand{*this, "edVN_GebLand", &boxVN};
  CheckBox cbSteuerAusland{*this, "cbSteuerAusland", &boxVN};
  ComboBox cbVN_ArtBeruf{*this, "cbVN_ArtBeruf", &boxVN};
  RadioButton rbVN_Geburtstag{*this, "rbVN_Geburtstag", &boxVN};
  RadioButton rbVN_Alter{*this, "rbVN_Alter", &boxVN};
  MaskEdit medVN_Geburtstag{*this, "medVN_Geburtstag", &boxVN};
  ComboBoxInc cbVN_Alter{*this, "cbVN_Alter", &boxVN};

  // Insured person, group "Versicherte Person" (hidden).
  GroupBox boxVP{*this, "boxVP"};
  CheckBox cbVP_WieVN{*this, "cbVP_WieVN", &boxVP};
  ComboBox cbVP_Anrede{*this, "cbVP_Anrede", &boxVP};
  Edit edVP_Titel{*this, "edVP_Titel", &boxVP};
  Edit edVP_Vorname{*this, "edVP_Vorname", &boxVP};
  Edit edVP_Nachname{*this, "edVP_Nachname", &boxVP};
  Edit edVP_Strasse{*this, "edVP_Strasse", &boxVP};
  ComboBox cbVP_Land{*this, "cbVP_Land", &boxVP};
  Edit edVP_PLZ{*this, "edVP_PLZ", &boxVP};
  Edit edVP_Ort{*this, "edVP_Ort", &boxVP};
  Edit edVP_Telefon{*this, "edVP_Telefon", &boxVP};
  Edit edVP_FAX{*this, "edVP_FAX", &boxVP};
  Edit edVP_TelefonDienstlich{*this, "edVP_TelefonDienstlich", &boxVP};
  Edit edVP_E_mail{*this, "edVP_E_mail", &boxVP};
  RadioButton rbVP_Geburtstag{*this, "rbVP_Geburtstag", &boxVP};
  RadioButton rbVP_Alter{*this, "rbVP_Alter", &boxVP};
  MaskEdit medVP_Geburtstag{*this, "medVP_Geburtstag", &boxVP};
  ComboBoxInc cbVP_Alter{*this, "cbVP_Alter", &boxVP};

  // Product variant: rbProd the first ("VL"), rbProd1 the second.
  GroupBox box0{*this, "box0"};
  RadioButton rbProd{*this, "rbProd", &box0};
  RadioButton rbProd1{*this, "rbProd1", &box0};

  Button sb_Vermittler{*this, "sb_Vermittler"};
  Button cb_Angebot_laden{*this, "cb_Angebot_laden"};
  Button sb_Formular{*this, "sb_Formular"};
  Button sb_Abbruch{*this, "sb_Abbruch"};
  Button sb_Angebotsbrechnung{*this, "sb_Angebotsbrechnung"};
  Button cb_Checkliste{*this, "cb_Checkliste"};
  Button sb_FSA{*this, "sb_FSA"};
  // Hidden; its state only travels with saved offers.
  CheckBox cbHidden{*this, "cbHidden"};
  HotKey HotKeyHelp{*this, "HotKeyHelp"};
  MenuItem mHilfe{*this, "mHilfe"};

  void FormCreate() override;

  void cbVP_WieVNClick(Control* sender);
  void edVN_FieldChange(Control* sender);
  void cbVN_AnredeExit(Control* sender);
  void cbVN_LandExit(Control* sender);
  void rbVN_GeburtstagClick(Control* sender);
  void rbVN_AlterClick(Control* sender);
  void rbVP_GeburtstagClick(Control* sender);
  void rbVP_AlterClick(Control* sender);
  void cbVN_AlterExit(Control* sender);
  void cbVP_AlterExit(Control* sender);
  void medVN_GeburtstagExit(Control* sender);
  void medVP_GeburtstagExit(Control* sender);
  void sb_AngebotsbrechnungClick(Control* sender);
  void sb_VermittlerClick(Control* sender);
  void sb_AbbruchClick(Control* sender);
  void sb_FormularClick(Control* sender);
  void cb_ChecklisteClick(Control* sender);
  void sb_FSAClick(Control* sender);
  void cb_Angebot_ladenClick(Control* sender);

  // Blank application documents in the working directory; they move to the application data
  // form when it exists. An empty name opens nothing.
  std::string blankApplicationVl = "FQ-VL-Antrag.pdf";
  std::string blankApplicationZiel = "FQ-Zielspar-Antrag.pdf";
  std::string furtherDocumentZiel;
  std::string fsaDocument;

 private:
  void ageFromBirthDate(MaskEdit& birth, ComboBox& age, bool accountHolder);
  void birthDateFromAge(MaskEdit& birth, ComboBox& age, bool accountHolder);
  // An age that is no whole number from 0 to 120 is refused with a message and the focus.
  bool ageRefused(ComboBox& age);
  // An empty birth date (or, chosen by age, an empty age) is asked for with the focus.
  bool birthDateMissing(MaskEdit& birth, ComboBox& age, bool byAge, const char* person);
  void inputKindClick(RadioButton& clicked, RadioButton& twin, bool accountHolder);
  void copyBirthDateAndAge();
  void openDocument(const std::string& name);
};

}  // namespace fondaris::forms
