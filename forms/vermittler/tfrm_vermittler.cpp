#include "forms/vermittler/tfrm_vermittler.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/ini_file.h"
#include "core/notation.h"
#include "core/param_layout.h"
#include "core/param_record.h"
#include "core/settings.h"
#include "core/shell.h"
#include "core/value_coding.h"
#include "forms/form_links.h"

namespace fondaris::forms {

namespace {

constexpr const char* kAgentFile = "Vermitd.dat";
constexpr const char* kCountryMessage = "Diese Produkt wird zurzeit nur in Deutschland angeboten!";
constexpr const char* kWrongCode = "Kennwort nicht korrekt!";

void showWithLabels(ComboBox& list, Label& label, Label& percent, bool visible, bool enabled) {
  list.setVisible(visible);
  list.setEnabled(enabled);
  label.setVisible(visible);
  percent.setVisible(visible);
}

}  // namespace

TfrmVermittler::TfrmVermittler(FormHost& host)
    : Form(host, "TfrmVermittler", "frmVermittler",
           {Placement::PositionAndSize, Placement::Position, true, true}) {
  setCaption(host.mainForm().caption() + " - Vermittlerdaten");
  // Every field is a line of "Vermitd.dat"; the postcode shares its line with "D-".
  limitToLineFile(static_cast<int>(core::kMaxLineLength));
  edV_PLZ.setMaxLength(static_cast<int>(core::kMaxLineLength) - 2);
  cbV_Land.setDropDownList(true);
  cbV_Land.setItems({"D"});
  edV_Vermittlernr1.setText("60000");
  for (Control* hidden : std::initializer_list<Control*>{&edV_Vermittlernr, &edV_Vermittlernr3,
                                                         &edV_Logo, &mHilfe, &HotKeyHelp})
    hidden->setVisible(false);
  lbAntrag.setCaption("Antragsformular");
  lb_Rabat.setCaption("Rabatt VL");
  lb_RabatZSp.setCaption("Rabatt Zielsparplan");
  lb_ZuzahlKunde.setCaption("Zahlung zu Beginn VL");
  lb_ZuzahlKundeZSp.setCaption("Zahlung zu Beginn Zielsparplan");
  for (Label* percent :
       {&lb_RabatProz, &lb_RabatProzZSp, &lb_ZuzahlKundeProz, &lb_ZuzahlKundeProzZSp})
    percent->setCaption("%");
  cbSaveRabat.setCaption("Rabatteinstellung speichern");
  cbDatumshinweis.setCaption("Wä&hrungs- und Datumshinweis anzeigen");
  cbDatumshinweis.setChecked(true);
  sbV_Speichern.setCaption("Daten &speichern");
  sbV_Speichern.setHint(
      "Die Daten im Vermittlerformular speichern und zum Angebotsprogramm zurück");
  sbV_Abbruch.setCaption("&Verlassen ohne speichern");
  sbV_Abbruch.setHint("Das Formular mit den Vermittlerdaten verlassen, ohne Speicherung der Daten");
  sbMaxBZD.setCaption("intern");
  sbMaxBZD.setHint("Interne Rabattierung aktivieren");
  mHilfe.setCaption("&Hilfe");
  HotKeyHelp.setText("F1");

  sbV_Speichern.onClick = on(&TfrmVermittler::sbV_SpeichernClick);
  sbV_Abbruch.onClick = on(&TfrmVermittler::sbV_AbbruchClick);
  sbMaxBZD.onClick = on(&TfrmVermittler::sbMaxBZDClick);
  mHilfe.onClick = on(&TfrmVermittler::mHilfeClick);

  if (const core::ParamRecord* productData = host.productData(nullptr))
    discountKey_ = core::paramText(*productData, core::paramField("discount.label"), 9);

  // Sales settings: 0 to 50 % discount and 0 to 100 % payment at the start, in steps of five,
  // hidden until the agent file or the internal code shows them.
  sbMaxBZD.setVisible(true);
  for (ComboBox* list : {&cb_Rabat, &cb_RabatZSp, &cb_ZuzahlKunde, &cb_ZuzahlKundeZSp})
    list->setDropDownList(true);
  for (int i = 0; i <= 100; i += 5) {
    const std::string text = std::to_string(i);
    cb_ZuzahlKunde.addItem(text);
    cb_ZuzahlKundeZSp.addItem(text);
    if (i <= 50) {
      cb_Rabat.addItem(text);
      cb_RabatZSp.addItem(text);
    }
  }
  for (ComboBox* list : {&cb_Rabat, &cb_RabatZSp, &cb_ZuzahlKunde, &cb_ZuzahlKundeZSp, &cbV_Land})
    list->setItemIndex(0);
  for (ComboBox* list : {&cb_Rabat, &cb_RabatZSp, &cb_ZuzahlKunde, &cb_ZuzahlKundeZSp})
    list->setEnabled(false);
  valid_ = true;
  showWithLabels(cb_Rabat, lb_Rabat, lb_RabatProz, false, false);
  showWithLabels(cb_RabatZSp, lb_RabatZSp, lb_RabatProzZSp, false, false);
  showWithLabels(cb_ZuzahlKunde, lb_ZuzahlKunde, lb_ZuzahlKundeProz, false, false);
  showWithLabels(cb_ZuzahlKundeZSp, lb_ZuzahlKundeZSp, lb_ZuzahlKundeProzZSp, false, false);
  cbSaveRabat.setVisible(false);

  // The agent file; a country other than Germany is refused at once.
  if (readAgentFile()) {
    valid_ = true;
    if (cbV_Land.itemIndex() != 0) host.dialogs().message(kCountryMessage, "Prüfung");
  } else {
    valid_ = false;
  }

  // A variant's discount shows when the start screen offers the variant and the other variant's
  // settings show; the payment at the start follows its discount.
  if (firstVariantOffered() && (cb_RabatZSp.visible() || cb_ZuzahlKundeZSp.visible())) {
    showWithLabels(cb_Rabat, lb_Rabat, lb_RabatProz, true, true);
    cbSaveRabat.setVisible(true);
  }
  showWithLabels(cb_ZuzahlKunde, lb_ZuzahlKunde, lb_ZuzahlKundeProz, cb_Rabat.visible(),
                 cb_Rabat.enabled());
  if (secondVariantOffered() && (cb_Rabat.visible() || cb_ZuzahlKunde.visible()))
    showWithLabels(cb_RabatZSp, lb_RabatZSp, lb_RabatProzZSp, true, true);
  showWithLabels(cb_ZuzahlKundeZSp, lb_ZuzahlKundeZSp, lb_ZuzahlKundeProzZSp, cb_RabatZSp.visible(),
                 cb_RabatZSp.enabled());

  // The application form field stays hidden; the help entry takes the hot key.
  lbAntrag.setVisible(false);
  ed_Antrag.setVisible(false);
  mHilfe.setText(HotKeyHelp.text());
}

bool TfrmVermittler::firstVariantOffered() const {
  return links().variantOffered(1);
}

bool TfrmVermittler::secondVariantOffered() const {
  return links().variantOffered(2);
}

std::string TfrmVermittler::agentFilePath() {
  return core::joinPath(core::userFilesFolder(), kAgentFile);
}

void TfrmVermittler::readSalesSetting(const std::string& line, int lineNumber,
                                      std::string& enteredCode, bool& rewrite) {
  const bool vlLine = lineNumber == 15 || lineNumber == 21;
  const bool discountLine = lineNumber == 15 || lineNumber == 16;
  ComboBox& list = lineNumber == 15   ? cb_Rabat
                   : lineNumber == 16 ? cb_RabatZSp
                   : lineNumber == 21 ? cb_ZuzahlKunde
                                      : cb_ZuzahlKundeZSp;
  Label& label = lineNumber == 15   ? lb_Rabat
                 : lineNumber == 16 ? lb_RabatZSp
                 : lineNumber == 21 ? lb_ZuzahlKunde
                                    : lb_ZuzahlKundeZSp;
  Label& percent = lineNumber == 15   ? lb_RabatProz
                   : lineNumber == 16 ? lb_RabatProzZSp
                   : lineNumber == 21 ? lb_ZuzahlKundeProz
                                      : lb_ZuzahlKundeProzZSp;

  if (!line.empty()) {
    const std::optional<std::string> plain = core::decodeValue(line);
    const std::size_t at = plain ? plain->find('@') : std::string::npos;
    int position = 0;
    // A line that cannot be read loses its setting; rewriting stores a clean one.
    if (at == std::string::npos || !core::parseStrictInt(plain->substr(at + 1), position)) {
      list.setItemIndex(0);
      rewrite = true;
    } else {
      const std::string& key = discountKey_;
      bool keep = plain->substr(0, at) == key;
      if (!keep) {
        rewrite = true;
        if (vlLine ? firstVariantOffered() : secondVariantOffered()) {
          const bool knownCode = !enteredCode.empty() && enteredCode == key;
          if (lineNumber == 15 || !knownCode) {
            enteredCode =
                host().dialogs().inputText("Kennwort", "Intern (neues Kennwort):", "").value_or("");
          }
          keep = !enteredCode.empty() && enteredCode == key;
          if (!keep) host().dialogs().message(kWrongCode, "Prüfung");
        }
      }
      if (!keep)
        list.setItemIndex(0);
      else if (position >= 0 && position < list.itemCount())
        list.setItemIndex(position);
    }
  }
  const bool shown = list.itemIndex() > 0;
  showWithLabels(list, label, percent, shown, shown);
  if (discountLine) cbSaveRabat.setVisible(shown);
}

bool TfrmVermittler::readAgentFile() {
  cb_Rabat.setItemIndex(0);
  cbSaveRabat.setChecked(false);
  ed_Antrag.setText("");
  core::IniFile setup(core::joinPath(core::workingDirectory(), "SETUP.INI"));
  core::ignoreFailure(setup.load());  // without it the application number stays empty
  ed_Antrag.setText(setup.readString("Setup", "AF", ""));

  const auto read = core::readTextLines(agentFilePath());
  if (!read) return false;
  const std::vector<std::string>& lines = *read;
  auto has = [&](int number) { return static_cast<int>(lines.size()) >= number; };
  auto line = [&](int number) -> const std::string& { return lines[number - 1]; };

  Edit* plainFields[] = {nullptr,       nullptr,     &edV_Ansprechpartner, &edV_Strasse,
                         nullptr,       &edV_Ort,    &edV_Telefon,         &edV_FAX,
                         &edV_Mobil,    &edV_E_mail, &edV_Vermittlernr,    &edV_Firma,
                         &edV_Internet, &edV_Logo};
  for (int number = 2; number <= 13 && has(number); ++number) {
    if (number != 4) {
      plainFields[number]->setText(line(number));
      continue;
    }
    const std::string& country = line(4);
    cbV_Land.setItemIndex(0);
    unlistedCountry_.clear();
    edV_PLZ.setText(country);
    if (country.size() >= 2 && country[1] == '-') {
      if (country[0] == 'A') {
        cbV_Land.setItemIndex(1);
// GCC 12 inlines the assignment and warns about an overlap that a one-character literal cannot
// have (-Wrestrict false alarm).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
        unlistedCountry_ = "A";
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
      }
      edV_PLZ.setText(country.substr(2));
    }
  }
  if (!has(13)) return false;
  if (!has(14)) return true;

  cbDatumshinweis.setChecked(true);
  std::string enteredCode;
  bool rewrite = false;
  for (int number : {15, 16})
    if (has(number)) readSalesSetting(line(number), number, enteredCode, rewrite);

  Edit* laterFields[] = {&edV_Vermittlernr1, &edV_Vermittlernr2, &edV_Vermittlernr3, &ed_Antrag};
  for (int number = 17; number <= 20 && has(number); ++number)
    laterFields[number - 17]->setText(line(number));
  if (!has(20)) return false;

  for (int number : {21, 22})
    if (has(number)) readSalesSetting(line(number), number, enteredCode, rewrite);
  if (has(23)) cbSaveRabat.setChecked(line(23) == "SR");
  if (has(24)) {
    cbDatumshinweis.setChecked(line(24) != "K");
    core::regionalSettingsHint() = cbDatumshinweis.checked();
  }
  if (rewrite) writeAgentFile();
  return true;
}

std::string TfrmVermittler::salesLine(const ComboBox& list, bool keepPosition) const {
  if (list.itemIndex() <= 0) return {};
  const std::string position = keepPosition ? std::to_string(list.itemIndex()) : "0";
  return core::encodeValue(discountKey_ + "@" + position);
}

std::vector<std::string> TfrmVermittler::agentFileLines() const {
  const std::string country = cbV_Land.itemIndex() >= 0 ? cbV_Land.text() : unlistedCountry_;
  return {"V 1.2",
          edV_Ansprechpartner.text(),
          edV_Strasse.text(),
          country + "-" + edV_PLZ.text(),
          edV_Ort.text(),
          edV_Telefon.text(),
          edV_FAX.text(),
          edV_Mobil.text(),
          edV_E_mail.text(),
          edV_Vermittlernr.text(),
          edV_Firma.text(),
          edV_Internet.text(),
          edV_Logo.text(),
          "4711",
          salesLine(cb_Rabat, cbSaveRabat.checked()),
          salesLine(cb_RabatZSp, cbSaveRabat.checked()),
          edV_Vermittlernr1.text(),
          edV_Vermittlernr2.text(),
          edV_Vermittlernr3.text(),
          ed_Antrag.text(),
          salesLine(cb_ZuzahlKunde, true),
          salesLine(cb_ZuzahlKundeZSp, true),
          cbSaveRabat.checked() ? "SR" : "OR",
          cbDatumshinweis.checked() ? "H" : "K"};
}

bool TfrmVermittler::writeAgentFile() {
  if (core::writeTextLines(agentFilePath(), agentFileLines())) return true;
  host().dialogs().message("Die Datei 'Vermitd.dat' konnte nicht erzeugt werden!", "Fehler");
  return false;
}

bool TfrmVermittler::countryRefused() {
  if (cbV_Land.itemIndex() == 0) return false;
  host().dialogs().message(kCountryMessage, "Prüfung");
  focus(&cbV_Land);
  return true;
}

void TfrmVermittler::sbV_SpeichernClick(Control*) {
  if (countryRefused()) return;
  if (edV_Firma.text().empty()) {
    host().dialogs().message("Bitte den Namen der Firma angeben!", "Prüfung");
    focus(&edV_Firma);
    return;
  }
  if (edV_Ansprechpartner.text().empty()) {
    host().dialogs().message("Bitte den Ansprechpartner angeben!", "Prüfung");
    focus(&edV_Ansprechpartner);
    return;
  }
  if (!writeAgentFile()) return;
  valid_ = true;
  hide();
  links().showCustomerData();
}

void TfrmVermittler::sbV_AbbruchClick(Control*) {
  if (countryRefused()) return;
  hide();
  links().showCustomerData();
}

void TfrmVermittler::sbMaxBZDClick(Control*) {
  const std::string entered =
      host().dialogs().inputText("Kennwort", "Intern Rabatierung:", "").value_or("");
  // An empty entry never unlocks, even when no key could be read.
  if (entered.empty()) return;
  if (entered != discountKey_) {
    host().dialogs().message(kWrongCode, "Prüfung");
    return;
  }
  const bool first = firstVariantOffered(), second = secondVariantOffered();
  showWithLabels(cb_Rabat, lb_Rabat, lb_RabatProz, first, first);
  cbSaveRabat.setVisible(true);
  showWithLabels(cb_ZuzahlKunde, lb_ZuzahlKunde, lb_ZuzahlKundeProz, first, first);
  showWithLabels(cb_RabatZSp, lb_RabatZSp, lb_RabatProzZSp, second, second);
  showWithLabels(cb_ZuzahlKundeZSp, lb_ZuzahlKundeZSp, lb_ZuzahlKundeProzZSp, second, second);
  focus(first ? &cb_Rabat : &cb_RabatZSp);
}

}  // namespace fondaris::forms
