#include "forms/angebotsdaten/tfrm_angebotsdaten.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/files.h"
#include "core/german.h"
#include "core/notation.h"
#include "core/param_record.h"
#include "core/settings.h"
#include "core/shell.h"
#include "forms/date_field.h"
#include "forms/form_links.h"

namespace fondaris::forms {

namespace {

constexpr int kOldestAge = 120;

bool isEntryKind(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::MaskEdit ||
         kind == ControlKind::ComboBox || kind == ControlKind::ComboBoxInc ||
         kind == ControlKind::RadioButton;
}

std::vector<std::string> ages(int from, int to) {
  std::vector<std::string> items;
  for (int age = from; age <= to; ++age) items.push_back(std::to_string(age));
  return items;
}

}  // namespace

TfrmAngebotsdaten::TfrmAngebotsdaten(FormHost& host)
    : Form(host, "TfrmAngebotsdaten", "frmAngebotsdaten",
           {Placement::PositionAndSize, Placement::PositionAndSize, true, true}) {
  box0.setCaption("Produkt");
  boxVN.setCaption("Depotinhaber");
  // The fields go into the lines of saved offers; the postcodes share theirs with "D-".
  limitToLineFile(static_cast<int>(core::kMaxLineLength));
  for (Edit* postcode : {&edVN_PLZ, &edVP_PLZ})
    postcode->setMaxLength(static_cast<int>(core::kMaxLineLength) - 2);
  boxVP.setCaption("Versicherte Person");
  boxVP.setVisible(false);
  for (ComboBox* list :
       {&cbVN_Anrede, &cbVP_Anrede, &cbVN_Land, &cbVP_Land, &cbVN_Stand, &cbVN_ArtBeruf})
    list->setDropDownList(true);
  cbVN_Anrede.setItems({"Herr", "Frau"});
  cbVP_Anrede.setItems({"Herr", "Frau"});
  cbVN_Land.setItems({"D"});
  cbVP_Land.setItems({"D", "A"});
  cbVN_Stand.setItems({"ledig", "verheiratet", "verwitwet", "geschieden"});
  cbVN_Stand.setItemIndex(0);
  cbVN_ArtBeruf.setItems({"Angestellter", "Arbeiter", "Beamter", "Selbständiger", "Schüler/Student",
                          "Rentner", "Auszubildener", "Sonstiges"});
  cbVN_ArtBeruf.setVisible(false);
  edVN_TelefonDienstlich.setVisible(false);
  cbSteuerAusland.setCaption("Steuerliche Veranlagung im A&usland");
  rbVN_Geburtstag.setCaption("Geburtstag");
  rbVN_Alter.setCaption("Alter");
  rbVP_Geburtstag.setCaption("Geburtstag");
  rbVP_Alter.setCaption("Alter");
  cbVP_WieVN.setCaption("wie Versicherungsnehmer");
  cbVN_Alter.SetNumeric(true);
  cbVP_Alter.SetNumeric(true);
  for (MaskEdit* date : {&medVN_Geburtstag, &medVP_Geburtstag}) {
    date->setMask("!99/99/9999;1; ");
    date->setMaxLength(10);
  }

  sb_Vermittler.setCaption("&Vermittlerdaten");
  cb_Angebot_laden.setCaption("&Gespeichertes Angebot");
  sb_Formular.setCaption("Blankoantrag");
  sb_Abbruch.setCaption("&Beenden");
  sb_Angebotsbrechnung.setCaption("&Weiter");
  cb_Checkliste.setCaption("&Checkliste");
  sb_FSA.setCaption("PDF-&FSA");
  mHilfe.setCaption("&Hilfe");
  HotKeyHelp.setText("F1");
  mHilfe.setText(HotKeyHelp.text());
  for (Control* hidden :
       std::initializer_list<Control*>{&cb_Checkliste, &sb_FSA, &cbHidden, &mHilfe, &HotKeyHelp})
    hidden->setVisible(false);

  cbVP_WieVN.onClick = on(&TfrmAngebotsdaten::cbVP_WieVNClick);
  for (Control* c : controls())
    if (c->kind() == ControlKind::Edit && c->name().rfind("edVN", 0) == 0)
      c->onExit = on(&TfrmAngebotsdaten::edVN_FieldChange);
  cbVN_Anrede.onExit = on(&TfrmAngebotsdaten::cbVN_AnredeExit);
  cbVN_Land.onExit = on(&TfrmAngebotsdaten::cbVN_LandExit);
  rbVN_Geburtstag.onClick = on(&TfrmAngebotsdaten::rbVN_GeburtstagClick);
  rbVN_Alter.onClick = on(&TfrmAngebotsdaten::rbVN_AlterClick);
  rbVP_Geburtstag.onClick = on(&TfrmAngebotsdaten::rbVP_GeburtstagClick);
  rbVP_Alter.onClick = on(&TfrmAngebotsdaten::rbVP_AlterClick);
  cbVN_Alter.onExit = cbVN_Alter.onClick = on(&TfrmAngebotsdaten::cbVN_AlterExit);
  cbVP_Alter.onExit = cbVP_Alter.onClick = on(&TfrmAngebotsdaten::cbVP_AlterExit);
  medVN_Geburtstag.onExit = on(&TfrmAngebotsdaten::medVN_GeburtstagExit);
  medVP_Geburtstag.onExit = on(&TfrmAngebotsdaten::medVP_GeburtstagExit);
  sb_Angebotsbrechnung.onClick = on(&TfrmAngebotsdaten::sb_AngebotsbrechnungClick);
  sb_Vermittler.onClick = on(&TfrmAngebotsdaten::sb_VermittlerClick);
  sb_Abbruch.onClick = on(&TfrmAngebotsdaten::sb_AbbruchClick);
  sb_Formular.onClick = on(&TfrmAngebotsdaten::sb_FormularClick);
  cb_Checkliste.onClick = on(&TfrmAngebotsdaten::cb_ChecklisteClick);
  sb_FSA.onClick = on(&TfrmAngebotsdaten::sb_FSAClick);
  cb_Angebot_laden.onClick = on(&TfrmAngebotsdaten::cb_Angebot_ladenClick);
  mHilfe.onClick = on(&TfrmAngebotsdaten::mHilfeClick);

  // Title and product variants as the start screen offers them.
  setCaption(host.links().startCaption() + " - Angebotsdaten");
  if (const core::ParamRecord* productData = host.productData(nullptr)) {
    rbProd.setCaption(core::variantName(*productData, 1));
    rbProd1.setCaption(core::variantName(*productData, 2));
  }
  rbProd.setVisible(host.links().variantOffered(1));
  rbProd1.setVisible(host.links().variantOffered(2));
  box0.setVisible(rbProd.visible() || rbProd1.visible());
  rbProd.setChecked(host.links().variantChosen(1));
  rbProd1.setChecked(host.links().variantChosen(2));

  // Age lists, salutations, the agent's country, mirrored insured person, birth date by date.
  std::vector<std::string> insuredAges = ages(8, 17);
  for (const std::string& age : ages(18, 68)) insuredAges.push_back(age);
  cbVP_Alter.setItems(insuredAges);
  cbVN_Alter.setItems(ages(18, 68));
  cbVN_Anrede.setItemIndex(0);
  cbVP_Anrede.setItemIndex(0);
  const int country = host.links().agentCountryIndex();
  cbVN_Land.setItemIndex(country);
  cbVP_Land.setItemIndex(country);
  cbVP_WieVN.setChecked(true);
  rbVN_Geburtstag.setChecked(true);
  rbVP_Geburtstag.setChecked(true);
  const std::string separator(1, core::notation().dateSeparator);
  medVN_Geburtstag.setText("01" + separator + "01" + separator + "1980");
  medVP_Geburtstag.setText("01" + separator + "01" + separator + "1980");

  // The age of the default birth date, copied to the insured person.
  medVN_GeburtstagExit(nullptr);
  cbVP_WieVNClick(nullptr);
  rbVN_GeburtstagClick(nullptr);
}

void TfrmAngebotsdaten::cbVP_WieVNClick(Control*) {
  const bool mirrored = cbVP_WieVN.checked();
  for (Control* c : controls())
    if (c->name().find("VP") != std::string::npos && isEntryKind(c->kind()))
      c->setEnabled(!mirrored);
  if (!mirrored) {
    rbVP_GeburtstagClick(nullptr);
    return;
  }
  cbVP_Anrede.setItemIndex(cbVN_Anrede.itemIndex());
  cbVP_Land.setItemIndex(cbVN_Land.itemIndex());
  const std::pair<Edit*, Edit*> copies[] = {{&edVN_Titel, &edVP_Titel},
                                            {&edVN_Vorname, &edVP_Vorname},
                                            {&edVN_Nachname, &edVP_Nachname},
                                            {&edVN_Strasse, &edVP_Strasse},
                                            {&edVN_Ort, &edVP_Ort},
                                            {&edVN_PLZ, &edVP_PLZ},
                                            {&edVN_Telefon, &edVP_Telefon},
                                            {&edVN_FAX, &edVP_FAX},
                                            {&edVN_TelefonDienstlich, &edVP_TelefonDienstlich},
                                            {&edVN_E_mail, &edVP_E_mail}};
  for (const auto& [from, to] : copies) to->setText(from->text());
  copyBirthDateAndAge();
  rbVP_Geburtstag.setChecked(rbVN_Geburtstag.checked());
  rbVP_Alter.setChecked(rbVN_Alter.checked());
}

void TfrmAngebotsdaten::copyBirthDateAndAge() {
  medVP_Geburtstag.setText(medVN_Geburtstag.text());
  cbVP_Alter.setText(cbVN_Alter.text());
}

void TfrmAngebotsdaten::edVN_FieldChange(Control* sender) {
  if (!sender || !cbVP_WieVN.checked()) return;
  const std::string& name = sender->name();
  const std::size_t vn = name.find("VN");
  if (vn == std::string::npos) return;
  if (Control* twin = find("edVP" + name.substr(vn + 2))) twin->setText(sender->text());
}

void TfrmAngebotsdaten::cbVN_AnredeExit(Control*) {
  const bool salutation = cbVN_Anrede.text() == "Herr" || cbVN_Anrede.text() == "Frau";
  if (salutation && cbVP_WieVN.checked()) {
    cbVP_Anrede.setItemIndex(cbVN_Anrede.itemIndex());
    return;
  }
  cbVP_WieVN.setChecked(false);
  cbVP_WieVNClick(&cbVP_WieVN);
}

void TfrmAngebotsdaten::cbVN_LandExit(Control*) {
  if (cbVP_WieVN.checked()) cbVP_Land.setItemIndex(cbVN_Land.itemIndex());
}

void TfrmAngebotsdaten::inputKindClick(RadioButton& clicked, RadioButton& twin,
                                       bool accountHolder) {
  if (accountHolder) {
    if (cbVP_WieVN.checked()) twin.setChecked(clicked.checked());
    medVN_Geburtstag.setEnabled(rbVN_Geburtstag.checked());
    cbVN_Alter.setEnabled(rbVN_Alter.checked());
    return;
  }
  if (cbVP_WieVN.checked()) return;
  medVP_Geburtstag.setEnabled(rbVP_Geburtstag.checked());
  cbVP_Alter.setEnabled(rbVP_Alter.checked());
}

void TfrmAngebotsdaten::rbVN_GeburtstagClick(Control*) {
  inputKindClick(rbVN_Geburtstag, rbVP_Geburtstag, true);
}

void TfrmAngebotsdaten::rbVN_AlterClick(Control*) {
  inputKindClick(rbVN_Alter, rbVP_Alter, true);
}

void TfrmAngebotsdaten::rbVP_GeburtstagClick(Control*) {
  inputKindClick(rbVP_Geburtstag, rbVP_Geburtstag, false);
}

void TfrmAngebotsdaten::rbVP_AlterClick(Control*) {
  inputKindClick(rbVP_Alter, rbVP_Alter, false);
}

void TfrmAngebotsdaten::ageFromBirthDate(MaskEdit& birth, ComboBox& age, bool accountHolder) {
  core::Dialogs& dialogs = host().dialogs();
  core::DateTime start = 0, born = 0;
  // Without both dates there is no age: an age shown from an earlier date would mislead.
  if (checkDateField(links().contractStart(), start, dialogs) != DateCheck::Valid ||
      checkDateField(birth, born, dialogs) != DateCheck::Valid) {
    age.setText("");
    if (accountHolder && cbVP_WieVN.checked()) copyBirthDateAndAge();
    return;
  }
  birth.setText(core::formatDate(born));
  const int years = core::ageInYears(
      start, born, accountHolder ? core::AgeMode::kCompleted : core::AgeMode::kCalendarYears);
  age.setText(std::to_string(years));
  if (accountHolder && cbVP_WieVN.checked()) copyBirthDateAndAge();
}

bool TfrmAngebotsdaten::ageRefused(ComboBox& age) {
  int years = 0;
  if (core::parseStrictInt(age.text(), years) && years >= 0 && years <= kOldestAge) return false;
  host().dialogs().message("Bitte ein Alter von 0 bis 120 Jahren angeben!", "Daten");
  focus(&age);
  return true;
}

bool TfrmAngebotsdaten::birthDateMissing(MaskEdit& birth, ComboBox& age, bool byAge,
                                         const char* person) {
  if (byAge && age.text().empty()) {
    host().dialogs().message(std::string("Bitte das Alter ") + person + " angeben!", "Daten");
    focus(&age);
    return true;
  }
  core::DateTime ignored = 0;
  if (checkDateField(birth, ignored, host().dialogs()) != DateCheck::Empty) return false;
  host().dialogs().message(std::string("Bitte das Geburtsdatum ") + person + " angeben!", "Daten");
  focus(byAge ? static_cast<Control*>(&age) : &birth);
  return true;
}

void TfrmAngebotsdaten::birthDateFromAge(MaskEdit& birth, ComboBox& age, bool accountHolder) {
  if (age.text().empty() || ageRefused(age)) return;
  int years = 0;
  if (!core::parseStrictInt(age.text(), years)) return;
  int thisYear = 0, month = 1, day = 1, ignored = 0;
  core::decodeDate(host().clock().today(), thisYear, ignored, ignored);
  core::DateTime current = 0;
  if (checkDateField(birth, current, host().dialogs()) == DateCheck::Valid) {
    int year = 0;
    core::decodeDate(current, year, month, day);
  }
  const int year = thisYear - years;
  // 29 February of a year without it becomes the 28th.
  if (month == 2 && day == 29 && !core::isLeapYear(year)) day = 28;
  const auto born = core::encodeDate(year, month, day);
  if (!born) return;
  birth.setText(core::formatDate(*born));
  if (accountHolder && cbVP_WieVN.checked()) copyBirthDateAndAge();
}

void TfrmAngebotsdaten::medVN_GeburtstagExit(Control*) {
  ageFromBirthDate(medVN_Geburtstag, cbVN_Alter, true);
}

void TfrmAngebotsdaten::medVP_GeburtstagExit(Control*) {
  ageFromBirthDate(medVP_Geburtstag, cbVP_Alter, false);
}

void TfrmAngebotsdaten::cbVN_AlterExit(Control*) {
  birthDateFromAge(medVN_Geburtstag, cbVN_Alter, true);
}

void TfrmAngebotsdaten::cbVP_AlterExit(Control*) {
  birthDateFromAge(medVP_Geburtstag, cbVP_Alter, false);
}

void TfrmAngebotsdaten::sb_AngebotsbrechnungClick(Control*) {
  Control* const pendingExit = cbVP_WieVN.checked() ? &edVN_E_mail : &edVP_E_mail;
  focus(&edVN_E_mail);
  if (!cbVP_WieVN.checked()) focus(&edVP_E_mail);
  // An exit handler that refused its field took the focus back and has said why.
  if (focused() != pendingExit) return;
  cbVP_WieVNClick(&cbVP_WieVN);

  core::Dialogs& dialogs = host().dialogs();
  core::DateTime ignored = 0;
  for (const Control* date : {static_cast<const Control*>(&links().contractStart()),
                              static_cast<const Control*>(&medVP_Geburtstag),
                              static_cast<const Control*>(&medVN_Geburtstag)})
    if (checkDateField(*date, ignored, dialogs) == DateCheck::Invalid) return;
  if (checkDateField(links().contractStart(), ignored, dialogs) == DateCheck::Empty) {
    dialogs.message("Bitte den Vertragsbeginn angeben!", "Daten");
    return;
  }
  if (!cbVP_WieVN.checked() && birthDateMissing(medVP_Geburtstag, cbVP_Alter, rbVP_Alter.checked(),
                                                "der versicherten Person"))
    return;

  if (edVN_Nachname.text().empty()) {
    dialogs.message("Bitte den Namen des Depotinhabers angeben!", "Daten");
    focus(&edVN_Nachname);
    return;
  }
  if (birthDateMissing(medVN_Geburtstag, cbVN_Alter, rbVN_Alter.checked(), "des Depotinhabers"))
    return;
  hide();
  links().prepareContract();
}

void TfrmAngebotsdaten::sb_VermittlerClick(Control*) {
  hide();
  links().showAgentData();
}

void TfrmAngebotsdaten::sb_AbbruchClick(Control*) {
  close();
}

void TfrmAngebotsdaten::openDocument(const std::string& name) {
  if (name.empty()) return;
  core::openFile(core::joinPath(core::workingDirectory(), name), host().dialogs(), host().shell());
}

void TfrmAngebotsdaten::sb_FormularClick(Control*) {
  if (!rbProd1.checked()) {
    openDocument(blankApplicationVl);
    return;
  }
  openDocument(blankApplicationZiel);
  int age = 0;
  if (core::parseStrictInt(cbVN_Alter.text(), age) && age > 17 && age < 46)
    openDocument(furtherDocumentZiel);
}

void TfrmAngebotsdaten::cb_ChecklisteClick(Control*) {
  openDocument("Checkliste Antragsprüfung Zielsparplan .pdf");
}

void TfrmAngebotsdaten::sb_FSAClick(Control*) {
  openDocument(fsaDocument);
}

void TfrmAngebotsdaten::cb_Angebot_ladenClick(Control*) {
  links().loadOffer();
}

void TfrmAngebotsdaten::FormCreate() {
  cbVN_Stand.setItemIndex(0);
}

}  // namespace fondaris::forms
