#pragma once

#include <string>
#include <vector>

#include "forms/controls/combo_box_inc.h"
#include "forms/controls/form.h"

namespace fondaris::forms {

// Agent data form and its file "Vermitd.dat" in the working directory.
class TfrmVermittler : public Form {
 public:
  explicit TfrmVermittler(FormHost& host);

  Edit edV_Firma{*this, "edV_Firma"};
  Edit edV_Ansprechpartner{*this, "edV_Ansprechpartner"};
  Edit edV_Strasse{*this, "edV_Strasse"};
  ComboBox cbV_Land{*this, "cbV_Land"};
  Edit edV_PLZ{*this, "edV_PLZ"};
  Edit edV_Ort{*this, "edV_Ort"};
  Edit edV_Telefon{*this, "edV_Telefon"};
  Edit edV_FAX{*this, "edV_FAX"};
  Edit edV_Mobil{*this, "edV_Mobil"};
  Edit edV_E_mail{*this, "edV_E_mail"};
  Edit edV_Internet{*this, "edV_Internet"};
  Edit edV_Vermittlernr1{*this, "edV_Vermittlernr1"};
  Edit edV_Vermittlernr2{*this, "edV_Vermittlernr2"};
  Edit edV_Vermittlernr{*this, "edV_Vermittlernr"};
  Edit edV_Vermittlernr3{*this, "edV_Vermittlernr3"};
  Edit edV_Logo{*this, "edV_Logo"};
  Label lbAntrag{*this, "lbAntrag"};
  Edit ed_Antrag{*this, "ed_Antrag"};

  // Sales settings: the selected position i means i × 5 percent.
  Label lb_Rabat{*this, "lb_Rabat"};
  ComboBox cb_Rabat{*this, "cb_Rabat"};
  Label lb_RabatProz{*this, "lb_RabatProz"};
  Label lb_RabatZSp{*this, "lb_RabatZSp"};
  ComboBox cb_RabatZSp{*this, "cb_RabatZSp"};
  Label lb_RabatProzZSp{*this, "lb_RabatProzZSp"};
  Label lb_ZuzahlKunde{*this, "lb_ZuzahlKunde"};
  ComboBox cb_ZuzahlKunde{*this, "cb_ZuzahlKunde"};
  Label lb_ZuzahlKundeProz{*this, "lb_ZuzahlKundeProz"};
  Label lb_ZuzahlKundeZSp{*this, "lb_ZuzahlKundeZSp"};
  ComboBox cb_ZuzahlKundeZSp{*this, "cb_ZuzahlKundeZSp"};
  Label lb_ZuzahlKundeProzZSp{*this, "lb_ZuzahlKundeProzZSp"};
  CheckBox cbSaveRabat{*this, "cbSaveRabat"};

  CheckBox cbDatumshinweis{*this, "cbDatumshinweis"};
  Button sbV_Speichern{*this, "sbV_Speichern"};
  Button sbV_Abbruch{*this, "sbV_Abbruch"};
  Button sbMaxBZD{*this, "sbMaxBZD"};
  // Text of both: the shortcut ("F1").
  HotKey HotKeyHelp{*this, "HotKeyHelp"};
  MenuItem mHilfe{*this, "mHilfe"};

  void sbV_SpeichernClick(Control* sender);
  void sbV_AbbruchClick(Control* sender);
  void sbMaxBZDClick(Control* sender);

  // Whether "Vermitd.dat" was read completely or saved since.
  bool agentDataValid() const { return valid_; }

  // Reads "Vermitd.dat" into the controls; false when it is missing or too short.
  bool readAgentFile();
  // Writes all 24 lines; shows the error message and returns false when that fails.
  bool writeAgentFile();
  std::vector<std::string> agentFileLines() const;
  static std::string agentFilePath();

 private:
  bool firstVariantOffered() const;
  bool secondVariantOffered() const;
  bool countryRefused();
  void readSalesSetting(const std::string& line, int lineNumber, std::string& enteredCode,
                        bool& rewrite);
  std::string salesLine(const ComboBox& list, bool keepPosition) const;

  // The text of the rate table's entry 9 in "Param.dat", read at creation: the internal code and
  // the mark of stored sales settings; empty when the file could not be read.
  std::string discountKey_;
  bool valid_ = false;
  // Country read from the file when it is not in the list ("A"), kept for rewriting.
  std::string unlistedCountry_;
};

}  // namespace fondaris::forms
