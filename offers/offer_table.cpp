#include "offers/offer_table.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "core/clock.h"
#include "core/german.h"
#include "core/notation.h"
#include "forms/angebotsdaten/tfrm_angebotsdaten.h"
#include "forms/angebotsdialog/tfrm_angebotsdialog.h"
#include "forms/vertragsdaten/tfrm_vertragsdaten.h"

namespace fondaris::offers {

using forms::Control;

OfferForms::OfferForms(OfferSession s)
    : session(s),
      customer(*s.forms.frmAngebotsdaten),
      contract(*s.forms.frmVertagsdaten),
      application(*s.forms.frmAngebotsdialog) {}

namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
  return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

std::optional<int> wholeNumber(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

bool isList(const Control& c) {
  return c.kind() == forms::ControlKind::ComboBox || c.kind() == forms::ControlKind::ComboBoxInc;
}

// A drop-down list goes to its first entry, then to the entry equal to `text`, if any.
void selectByText(Control& list, const std::string& text) {
  if (list.itemCount() > 0) list.setItemIndex(0);
  const int index = list.indexOf(text);
  if (index >= 0) list.setItemIndex(index);
}

void putText(Control& c, const std::string& text) {
  // A list saved without a choice comes back without one: an invented choice would pass the
  // completeness check.
  if (isList(c) && c.dropDownList() && text.empty())
    c.setItemIndex(-1);
  else if (isList(c) && c.dropDownList())
    selectByText(c, text);
  else
    c.setText(text);
}

// What only the first variant shows and a second-variant file never fills (its period fields
// get their defaults when the agent first switches there, the subsidy would not).
void resetFirstVariantFields(OfferForms& f) {
  Control& subsidy = f.contract.cb_Zuschuss;
  if (subsidy.itemCount() > 0) subsidy.setItemIndex(0);
}

// -1 is a list saved without a choice.
void putPosition(Control& c, const std::string& text) {
  const auto n = wholeNumber(text);
  if (n && *n >= -1 && *n < c.itemCount()) c.setItemIndex(*n);
}

// Characters 1-2, 4-5 and 7-10 joined by the current date separator; an empty line is the
// unfilled mask, anything else too short leaves the field.
void putDate(Control& c, const std::string& text) {
  if (text.empty()) {
    c.setText("");
    return;
  }
  if (text.size() < 10) return;
  const char sep = core::notation().dateSeparator;
  c.setText(text.substr(0, 2) + sep + text.substr(3, 2) + sep + text.substr(6, 4));
}

// --- table builders -----------------------------------------------------------------------------

std::vector<OfferLine> table;

OfferLine& add(Where where, Codec codec, std::vector<std::string> controls = {}) {
  OfferLine line;
  line.number = static_cast<int>(table.size()) + 1;
  line.where = where;
  line.codec = codec;
  line.controls = std::move(controls);
  table.push_back(std::move(line));
  return table.back();
}
void constant(const std::string& value) {
  add(Where::None, Codec::Constant).value = value;
}
void texts(Where where, std::initializer_list<const char*> names) {
  for (const char* n : names) add(where, Codec::Text, {n});
}
void texts(Where where, std::initializer_list<std::string> names) {
  for (const std::string& n : names) add(where, Codec::Text, {n});
}
void date(Where where, const char* name) {
  add(where, Codec::Date, {name});
}
void positions(Where where, std::initializer_list<const char*> names) {
  for (const char* n : names) add(where, Codec::Position, {n});
}
void check(Where where, const char* name, std::string on, std::string off) {
  add(where, Codec::Check, {name}).codes = {std::move(on), std::move(off)};
}
void radio(Where where, std::vector<std::string> names, std::vector<std::string> codes,
           std::string none) {
  OfferLine& l = add(where, Codec::Radio, std::move(names));
  l.codes = std::move(codes);
  l.value = std::move(none);
}
void listCode(Where where, const char* name, std::string first, std::string other) {
  add(where, Codec::ListCode, {name}).codes = {std::move(first), std::move(other)};
}
OfferLine& custom(Where where, std::vector<std::string> controls,
                  std::function<std::string(OfferForms&)> write,
                  std::function<void(OfferForms&, const std::string&)> read) {
  OfferLine& l = add(where, Codec::Custom, std::move(controls));
  l.write = std::move(write);
  l.read = std::move(read);
  return l;
}
// Lines that are empty in older files: an empty line leaves the field as it is.
OfferLine& optionalLine(OfferLine& l) {
  l.value = "optional";
  return l;
}

// Lists whose second entry has its own code and every other position another; reading
// selects the second entry when the line begins with `prefix`, else the first.
OfferLine& secondEntryCode(Where where, const std::string& name, const std::string& code,
                           const std::string& otherCode, const std::string& prefix) {
  OfferLine& l = add(where, Codec::SecondEntry, {name});
  l.codes = {code, otherCode, prefix};
  return l;
}

constexpr Where kCu = Where::Customer, kCo = Where::Contract, kAp = Where::Application;

// Country code "-" postcode, as in the agent data file.
void countryAndPostcode(const std::string& country, const std::string& postcode) {
  custom(
      kCu, {country, postcode},
      [=](OfferForms& f) {
        return f.customer.find(country)->text() + "-" + f.customer.find(postcode)->text();
      },
      [=](OfferForms& f, const std::string& line) {
        Control& land = *f.customer.find(country);
        Control& plz = *f.customer.find(postcode);
        if (land.itemCount() > 0) land.setItemIndex(0);
        plz.setText(line);
        if (line.size() >= 2 && line[1] == '-') {
          const int index = land.indexOf(line.substr(0, 1));
          if (index >= 0) land.setItemIndex(index);
          plz.setText(line.substr(2));
        }
      });
}

void contributionTimeAndAmountLines();

// The fourteen lines of one person of the customer form; `who` is "VN" or "VP".
void personLines(const std::string& who) {
  auto name = [&](const char* kind, const char* field) { return kind + who + "_" + field; };
  texts(kCu, {name("cb", "Anrede")});
  radio(kCu, {name("rb", "Alter"), name("rb", "Geburtstag")}, {"A", "G"}, "G");
  // The enabled state of the birth date and age fields follows the choice.
  const bool holder = who == "VN";
  table.back().after = [holder](OfferForms& f, const std::string&) {
    forms::TfrmAngebotsdaten& c = f.customer;
    if (holder)
      c.rbVN_Alter.checked() ? c.rbVN_AlterClick(nullptr) : c.rbVN_GeburtstagClick(nullptr);
    else
      c.rbVP_Alter.checked() ? c.rbVP_AlterClick(nullptr) : c.rbVP_GeburtstagClick(nullptr);
  };
  date(kCu, name("med", "Geburtstag").c_str());
  texts(kCu, {name("cb", "Alter")});
  for (const char* field : {"Titel", "Vorname", "Nachname", "Strasse"})
    texts(kCu, {name("ed", field)});
  countryAndPostcode(name("cb", "Land"), name("ed", "PLZ"));
  for (const char* field : {"Ort", "Telefon", "FAX", "TelefonDienstlich", "E_mail"})
    texts(kCu, {name("ed", field)});
}

void buildTable() {
  table.reserve(kOfferLines);
  constant(kOfferFormatLine);
  personLines("VN");  // 2-15: account holder
  check(kCu, "cbVP_WieVN", "J", "N");
  personLines("VP");  // 17-30: insured person
  // 31: contract start; a past start is moved to the earliest possible one.
  custom(
      kCo, {"med_Vbeginn"}, [](OfferForms& f) { return f.contract.med_Vbeginn.text(); },
      [](OfferForms& f, const std::string& line) {
        putDate(f.contract.med_Vbeginn, line);
        forms::TfrmVertagsdaten& c = f.contract;
        const auto start = core::textToDate(c.med_Vbeginn.text());
        const std::string text = c.med_Vbeginn.text();
        const int year = start ? c.cbBeginnJahr.indexOf(text.substr(6, 4)) : -1;
        if (!start || *start < f.session.host.clock().today() || year < 0) {
          c.initStartDate();
          return;
        }
        // The visible lists show the loaded start; their change handler would rewrite it.
        c.cbBeginnJahr.setItemIndex(year);
        const int month = c.cbBeginnMonat.indexOf(text.substr(3, 2));
        if (month >= 0) c.cbBeginnMonat.setItemIndex(month);
        const std::string day = text[0] == '0' ? text.substr(1, 1) : text.substr(0, 2);
        const int dayIndex = c.cbBeginnTag.indexOf(day);
        if (dayIndex >= 0) c.cbBeginnTag.setItemIndex(dayIndex);
      });
  texts(kCo, {"cb_Beitrag_2"});
  custom(
      kCo, {"cb_ZW"}, [](OfferForms& f) { return f.contract.cb_ZW.text(); },
      [](OfferForms& f, const std::string& line) {
        const char c = line.empty() ? ' ' : line[0];
        const int index = c == 'j' ? 3 : c == 'h' ? 2 : c == 'v' ? 1 : 0;
        if (index < f.contract.cb_ZW.itemCount()) f.contract.cb_ZW.setItemIndex(index);
      });
  texts(kCo, {"cb_BZD2", "cb_BZD1"});
  // 36: strategy number.
  custom(
      kCo, {"rb_Fonds1"},
      [](OfferForms& f) {
        for (int n = 1; n <= 11; ++n)
          if (f.contract.find("rb_Fonds" + std::to_string(n))->checked()) return std::to_string(n);
        return std::string("0");
      },
      [](OfferForms& f, const std::string& line) {
        const auto n = wholeNumber(line);
        if (n && *n >= 1 && *n <= 11)
          f.contract.find("rb_Fonds" + std::to_string(*n))->setChecked(true);
      });
  texts(kCo, {"cb_WE1", "cb_WE2", "cb_WE3", "cb_WE4"});
  texts(kCu, {"edVN_Nation", "cbVN_ArtBeruf"});
  texts(kAp, {"cbVN_Pass", "edVN_AusNr"});
  date(kAp, "medVN_Ausdat");
  texts(kAp, {"edVN_Behoerde"});
  // 47: transfer only counts for payments less often than quarterly.
  custom(
      kAp, {"cbZF_UebEinzug"},
      [](OfferForms& f) {
        return f.application.cbZF_UebEinzug.itemIndex() == 0 && f.contract.cb_ZW.itemIndex() >= 2
                   ? std::string("U")
                   : std::string("E");
      },
      [](OfferForms& f, const std::string& line) {
        Control& list = f.application.cbZF_UebEinzug;
        const int index = startsWith(line, "U") ? 0 : 1;
        if (index < list.itemCount()) list.setItemIndex(index);
      });
  texts(kAp, {"edZF_Konto", "cbZF_BLZ", "edZF_KI", "edZF_Kontoin", "cbWD_Pass", "edWD_AusNr"});
  date(kAp, "medWD_Ausdat");
  texts(kAp, {"edWD_Behoerde"});
  constant("E");
  secondEntryCode(kCo, "cb_Vorgabe", "A", "B", "A");
  texts(kCo, {"cb_Ablaufleistung"});
  constant("4,0");
  texts(kCu, {"edVN_GebOrt"});
  texts(kAp, {"edZF_GebOrt"});
  // 62: the percentage only where the layout offers a payment at the start; the second pass,
  // after the layout for the loaded variant and mode, decides.
  custom(
      kCo, {"cb_EinmalProz"}, [](OfferForms& f) { return f.contract.cb_EinmalProz.text(); },
      [](OfferForms& f, const std::string& line) {
        Control& c = f.contract.cb_EinmalProz;
        if (c.visible())
          c.setText(line);
        else if (c.itemCount() > 0)
          c.setItemIndex(0);
      });
  texts(kCo, {"cb_Dynamik"});
  // 64-113: annual top-ups of years 1 to 50; what is not an amount counts as none.
  for (int year = 1; year <= 50; ++year)
    custom(
        kCo, {},
        [year](OfferForms& f) {
          return core::formatAmount(f.contract.topUps[static_cast<std::size_t>(year)]);
        },
        [year](OfferForms& f, const std::string& line) {
          auto& topUps = f.contract.topUps;
          topUps[static_cast<std::size_t>(year)] = std::max(0.0, core::parseAmount(line));
          f.contract.topUpCount = static_cast<int>(
              std::count_if(topUps.begin() + 1, topUps.end(), [](double v) { return v > 0; }));
        });
  check(kCu, "cbHidden", "1", "0");
  check(kCu, "cbSteuerAusland", "1", "0");
  // 116: the VL contribution; files without it leave it.
  optionalLine(add(kCo, Codec::Text, {"cb_Beitrag_1"}));
  for (const char* c : {"1", "1", "1", "1", "0"}) constant(c);
  texts(kAp, {"cbWD_Anrede"});
  date(kAp, "medWD_Geburtstag");
  texts(kAp,
        {"edWD_Titel", "edWD_Vorname", "edWD_Nachname", "edWD_Strasse", "cbWD_Land", "edWD_PLZ",
         "edWD_Ort", "cbWD_Stand", "edWD_Nation", "edWD_GebOrt", "ed_WDBeruf", "edWD_GebName"});
  // 136-138: fields the application files need, empty in older files.
  optionalLine(add(kCo, Codec::Check, {"cbOhneStaat"})).codes = {"1", "0"};
  optionalLine(add(kCu, Codec::Text, {"cbVN_Stand"}));
  optionalLine(add(kCu, Codec::Text, {"edVN_GebName"}));
  constant("0");
  texts(kAp, {"cbGV_Anrede"});
  date(kAp, "medGV_Geburtstag");
  texts(kAp, {"edGV_Titel", "edGV_Vorname", "edGV_Nachname", "edGV_Strasse", "cbGV_Land",
              "edGV_PLZ", "edGV_Ort", "cbGV_Stand", "edGV_Nation", "edGV_GebOrt"});
  optionalLine(add(kAp, Codec::Position, {"cbWD_Art"}));
  texts(kAp, {"edGV_GebName"});
  optionalLine(add(kAp, Codec::Position, {"cb_EEG"}));
  optionalLine(add(kAp, Codec::Position, {"cb_EEGTermin"}));
  optionalLine(add(kAp, Codec::Date, {"medEEG_Datum"}));
  constant("0");
  texts(kAp, {"cbGV_Pass", "edGV_AusNr"});
  date(kAp, "medGV_Ausdat");
  date(kAp, "medGV_Ausbis");
  texts(kAp, {"edGV_Behoerde"});
  // 163-165, 170-171: single payment amounts as text, so amounts off the list survive.
  for (const char* c : {"cb_EinmalBeitrag1", "cb_EinmalBeitrag2", "cb_EinmalBeitrag3"})
    optionalLine(add(kCo, Codec::Text, {c}));
  secondEntryCode(kAp, "cbZF_UebTag", "20", "4", "2");
  for (const char* c : {"0", "0", "0"}) constant(c);
  for (const char* c : {"cb_EinmalBeitrag4", "cb_EinmalBeitrag5"})
    optionalLine(add(kCo, Codec::Text, {c}));
  constant("0");
  constant("");
  // 174: product variant.
  custom(
      kCu, {"rbProd1"},
      [](OfferForms& f) { return std::string(f.customer.rbProd1.checked() ? "1" : "0"); },
      [](OfferForms& f, const std::string& line) {
        if (startsWith(line, "1")) {
          f.customer.rbProd1.setChecked(true);
          // Here, not at its own line: a file that ends before that line must not leave the
          // previous offer's subsidy under this one.
          resetFirstVariantFields(f);
        } else {
          f.customer.rbProd.setChecked(true);
        }
      });
  texts(kCo, {"cb_Beitrag4", "cb_Beitrag5", "cb_Beitrag6"});
  positions(kCo, {"cb_Auszahlung4", "cb_Auszahlung5", "cb_Auszahlung6"});
  for (int i = 0; i < 3; ++i) constant("");
  positions(kCo, {"cb_Auszahlung1", "cb_Auszahlung2", "cb_Auszahlung3"});
  texts(kCo, {"cb_Beitrag1", "cb_Beitrag2", "cb_Beitrag3"});
  texts(kAp, {"ed_Firma", "ed_Firma_Strasse", "ed_Firma_PLZ", "ed_Firma_Ort", "ed_Firma_Abteilung",
              "ed_Firma_Personalnummer", "ed_WpHG_Beruf2", "ed_WpHG_Beruf3"});
  for (const char* g : {"FGI", "RR", "GF", "AA"}) {
    const std::string p = std::string("rb") + g;
    radio(kAp, {p + "3", p + "7", p + "M7", p + "K"}, {"3", "7", "M", "K"}, "0");
  }
  radio(kAp, {"rb25", "rb50", "rbM50"}, {"25", "50", "M"}, "0");
  check(kAp, "cbVMA", "1", "0");
  check(kAp, "cbVS", "1", "0");
  check(kAp, "cbAS", "1", "0");
  texts(kAp, {"edAS", "cbZiel1", "cbZiel2", "cbZiel3"});
  radio(kAp, {"rbRJa", "rbRNein"}, {"1", "0"}, "X");
  check(kAp, "cbAblaufmanagement", "1", "0");
  check(kAp, "cbKeineErfahrung", "1", "0");
  texts(kAp, {"ed_WpHG_Sonst"});
  texts(kCu, {"edVN_GebLand"});
  texts(kAp, {"edWD_GebLand", "edGV_GebLand", "ed_WpHG_Beruf", "ed_WpHG_Branche"});
  check(kAp, "cbSelbst", "1", "0");
  listCode(kAp, "cbRefKonto", "R", "B");
  table.back().after = [](OfferForms& f, const std::string&) {
    f.application.cbRefKontoClick(nullptr);
  };
  texts(kAp, {"edZP_KI", "cbZP_BLZ", "edZP_Konto", "edZP_Kontoinhaber"});
  // 225: the single investment at the start belongs to the second variant.
  custom(
      kCo, {"medEinmalzahlungZB"},
      [](OfferForms& f) {
        const Control& c = f.contract.medEinmalzahlungZB;
        return c.visible() ? c.text() : std::string();
      },
      [](OfferForms& f, const std::string& line) {
        if (f.customer.rbProd1.checked()) f.contract.medEinmalzahlungZB.setText(line);
      });
  // 226-235, written twice (242-251).
  for (int pass = 0; pass < 2; ++pass) {
    texts(kAp, {"edZE_KI", "edZE_BLZ", "edZE_Konto", "edZE_Kontoinhaber"});
    listCode(kAp, "cbZE_UebEinzug", "U", "B");
    listCode(kAp, "cbZE_UebDatum", "S", "D");
    date(kAp, "medZE_Datum");
    listCode(kAp, "cbKontoEZ", "R", "B");
    table.back().after = [](OfferForms& f, const std::string&) {
      f.application.cbZE_UebEinzugExit(nullptr);
      f.application.cbZE_UebDatumExit(nullptr);
      f.application.cbKontoEZClick(nullptr);
    };
    check(kCo, "cbAbsolut", "A", "P");
    texts(kCo, {"cb_Einmal"});
    if (pass == 0)
      texts(kAp,
            {"edZB_KI", "edZB_KIStr", "edZB_KIOrt", "cbZB_BLZ", "edZB_Konto", "edZB_Kontoinhaber"});
  }
  // 252: the employer's subsidy of the first variant; an amount off the list keeps its text.
  // The second variant has none and writes what loading leaves there, so that its files stay
  // the same through save and load.
  custom(
      kCo, {"cb_Zuschuss"},
      [](OfferForms& f) {
        const Control& c = f.contract.cb_Zuschuss;
        if (f.customer.rbProd.checked()) return c.text();
        return c.itemCount() > 0 ? c.items().front() : std::string();
      },
      [](OfferForms& f, const std::string& line) {
        if (!f.customer.rbProd.checked()) return;
        Control& c = f.contract.cb_Zuschuss;
        if (c.itemCount() > 0) c.setItemIndex(0);
        if (c.indexOf(line) >= 0 || !line.empty()) c.setText(line);
      });
  // 253: the investment period of the first variant or the contribution period of the second.
  custom(
      kCo, {"cb_Anlagedauer", "cb_BZD3"},
      [](OfferForms& f) {
        return f.customer.rbProd1.checked() ? f.contract.cb_BZD3.text()
                                            : f.contract.cb_Anlagedauer.text();
      },
      [](OfferForms& f, const std::string& line) {
        putText(f.customer.rbProd.checked() ? static_cast<Control&>(f.contract.cb_Anlagedauer)
                                            : f.contract.cb_BZD3,
                line);
      });
  date(kAp, "medBP_Datum");
  texts(kAp, {"medBP_Von", "medBP_Bis", "edBP_Teil1", "edBP_Teil2", "edBP_Teil3", "edBP_Anlass1",
              "edBP_Anlass2", "edBP_Anlass3"});
  positions(kAp, {"cbZF_Kontoart"});
  table.back().after = [](OfferForms& f, const std::string&) {
    f.application.cbRefKontoClick(nullptr);
  };
  texts(kAp, {"edZF_BIC", "edZF_IBAN", "edZP_BIC", "edZP_IBAN", "edZB_BIC", "edZB_IBAN"});
  texts(kCo, {"cb_Beitrag7", "cb_Beitrag8", "cb_Beitrag9", "cb_Beitrag10"});
  positions(kCo, {"cb_Auszahlung7", "cb_Auszahlung8", "cb_Auszahlung9", "cb_Auszahlung10"});
  radio(kAp, {"rbJaPost", "rbNeinPost"}, {"X", "O"}, "O");
  date(kAp, "medWD_Ausbis");
  texts(kAp, {"edWD_BehoerdeOrt", "edVN_BehoerdeOrt", "edVN_SteuerID"});
  date(kAp, "medVN_Ausbis");
  // 284: where the single investment goes.
  custom(
      kCo, {"cbEinmalStrategie"},
      [](OfferForms& f) {
        const int i = f.contract.cbEinmalStrategie.itemIndex();
        return std::string(i == 0 ? "A" : i == 1 ? "C" : i == 2 ? "T" : "U");
      },
      [](OfferForms& f, const std::string& line) {
        const std::string codes = "ACT";
        const std::size_t i = line.empty() ? std::string::npos : codes.find(line[0]);
        Control& list = f.contract.cbEinmalStrategie;
        if (i != std::string::npos && static_cast<int>(i) < list.itemCount())
          list.setItemIndex(static_cast<int>(i));
        f.contract.cbEinmalStrategieChange(nullptr);
      });
  check(kCo, "cb_EinmalRabat", "Z", "O");
  date(kCo, "med_BeginnTausch");
  date(kCo, "med_EndeTausch");
  texts(kCo, {"cbTauschbetrag"});
  // 289: stands for cbZWTausch, whose only entry is "monatlich".
  custom(
      kCo, {"cbZWTausch"}, [](OfferForms&) { return std::string("12"); },
      [](OfferForms& f, const std::string&) {
        if (f.contract.cbZWTausch.itemCount() > 0) f.contract.cbZWTausch.setItemIndex(0);
      });
  secondEntryCode(kCo, "cbArtEinmalanlage", "F", "E", "F").after =
      [](OfferForms& f, const std::string&) { f.contract.cbArtEinmalanlageChange(nullptr); };
  texts(kCo, {"medDepotNr"});
  texts(kCu, {"edVN_HausNr"});
  contributionTimeAndAmountLines();
}

// 293-302: time and amount positions of the five single payments. The amounts' text lines
// (163-165, 170-171) were read first and win when they hold something.
void contributionTimeAndAmountLines() {
  static const int kTextLine[] = {163, 164, 165, 170, 171};
  for (int k = 1; k <= 5; ++k) {
    positions(kCo, {("cb_Einzahlung" + std::to_string(k)).c_str()});
    const std::string amount = "cb_EinmalBeitrag" + std::to_string(k);
    const int textLine = kTextLine[k - 1];
    custom(
        kCo, {amount},
        [amount](OfferForms& f) { return std::to_string(f.contract.find(amount)->itemIndex()); },
        [amount, textLine](OfferForms& f, const std::string& line) {
          const auto& loaded = f.loaded;
          const bool hasText = static_cast<int>(loaded.size()) >= textLine &&
                               !loaded[static_cast<std::size_t>(textLine - 1)].empty();
          if (!hasText) putPosition(*f.contract.find(amount), line);
        });
  }
}

}  // namespace

const std::vector<OfferLine>& offerTable() {
  static const bool built = (buildTable(), true);
  (void)built;
  return table;
}

Control* lineControl(OfferForms& f, const OfferLine& line, std::size_t index) {
  if (index >= line.controls.size()) return nullptr;
  switch (line.where) {
    case Where::Customer:
      return f.customer.find(line.controls[index]);
    case Where::Contract:
      return f.contract.find(line.controls[index]);
    case Where::Application:
      return f.application.find(line.controls[index]);
    case Where::None:
      break;
  }
  return nullptr;
}

std::string writeLine(OfferForms& f, const OfferLine& line) {
  if (line.codec == Codec::Constant) return line.value;
  if (line.codec == Codec::Custom) return line.write(f);
  Control* c = lineControl(f, line);
  if (!c) return std::string();
  switch (line.codec) {
    case Codec::Text:
    case Codec::Date:
      return c->text();
    case Codec::Position:
      return std::to_string(c->itemIndex());
    case Codec::Check:
      return c->checked() ? line.codes[0] : line.codes[1];
    case Codec::ListCode:
      return c->itemIndex() == 0 ? line.codes[0] : line.codes[1];
    case Codec::SecondEntry:
      return c->itemIndex() == 1 ? line.codes[0] : line.codes[1];
    case Codec::Radio:
      for (std::size_t i = 0; i < line.controls.size(); ++i)
        if (Control* b = lineControl(f, line, i); b && b->checked()) return line.codes[i];
      return line.value;
    default:
      return std::string();
  }
}

void readLine(OfferForms& f, const OfferLine& line, const std::string& text) {
  if (line.codec == Codec::Constant) return;
  if (line.value == "optional" && text.empty()) return;
  if (line.codec == Codec::Custom) {
    line.read(f, text);
    return;
  }
  Control* c = lineControl(f, line);
  if (!c) return;
  switch (line.codec) {
    case Codec::Text:
      putText(*c, text);
      break;
    case Codec::Date:
      putDate(*c, text);
      break;
    case Codec::Position:
      putPosition(*c, text);
      break;
    case Codec::Check:
      c->setChecked(startsWith(text, line.codes[0]));
      break;
    case Codec::ListCode:
    case Codec::SecondEntry: {
      const bool first = line.codec == Codec::ListCode;
      const bool match = startsWith(text, line.codes[first ? 0 : 2]);
      const int index = match == first ? 0 : 1;
      if (index < c->itemCount()) c->setItemIndex(index);
      break;
    }
    case Codec::Radio: {
      for (std::size_t i = 0; i < line.controls.size(); ++i)
        if (startsWith(text, line.codes[i])) {
          if (Control* b = lineControl(f, line, i)) b->setChecked(true);
          return;
        }
      // The "none" code clears the group, so a saved empty choice comes back empty.
      if (text == line.value)
        for (std::size_t i = 0; i < line.controls.size(); ++i)
          if (Control* b = lineControl(f, line, i)) b->setChecked(false);
      break;
    }
    default:
      break;
  }
}

}  // namespace fondaris::offers
