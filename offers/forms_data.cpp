#include "offers/forms_data.h"

#include <array>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

#include "core/german.h"
#include "core/notation.h"

namespace fondaris::offers {

// The forms data is gathered from the forms' controls, named as the forms name them.
using namespace forms;
using documents::FdfFile;
using documents::FdfVariant;

namespace {

// What every source reads: the four forms, the variant and the day the files are written.
struct Forms {
  const TfrmVermittler& agent;
  const TfrmAngebotsdaten& customer;
  const TfrmVertagsdaten& contract;
  const TfrmAngebotsdialog& application;
  bool ziel;
  core::DateTime today;
};

using Source = std::function<std::string(const Forms&)>;

struct EntrySource {
  std::string_view field;
  Source value;
};

// --- small readers ----------------------------------------------------------------------------

std::string join(std::initializer_list<std::string> parts, std::string_view separator) {
  std::string out;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!out.empty()) out += separator;
    out += part;
  }
  return out;
}

std::string printf2(const char* format, int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// An unfilled or impossible date gives no value, and so do its day, month and year.
std::optional<core::DateTime> dateIn(const Control& field) {
  return core::textToDate(field.text());
}
std::string fullDate(std::optional<core::DateTime> date) {
  if (!date) return {};
  int y = 0, m = 0, d = 0;
  core::decodeDate(*date, y, m, d);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d.%02d.%d", d, m, y);
  return buffer;
}
std::string dayOf(std::optional<core::DateTime> date) {
  if (!date) return {};
  int y = 0, m = 0, d = 0;
  core::decodeDate(*date, y, m, d);
  return printf2("%02d", d);
}
std::string monthOf(std::optional<core::DateTime> date) {
  if (!date) return {};
  int y = 0, m = 0, d = 0;
  core::decodeDate(*date, y, m, d);
  return printf2("%02d", m);
}
std::string yearOf(std::optional<core::DateTime> date) {
  if (!date) return {};
  int y = 0, m = 0, d = 0;
  core::decodeDate(*date, y, m, d);
  return printf2("%04d", y);
}

// A time as entered; the unfilled mask gives no value.
std::string timeIn(const Control& field) {
  return field.text().find_first_of("0123456789") == std::string::npos ? std::string()
                                                                       : field.text();
}

std::string tick(bool on) {
  return on ? "Ja" : std::string(documents::kNoChoice);
}
std::string mark(bool on) {
  return on ? "X" : "";
}
// Position in a group of boxes, as the export values listed; "X" when none is chosen.
std::string chosen(std::initializer_list<std::pair<const Control*, const char*>> group) {
  for (const auto& [box, exportValue] : group)
    if (box->checked()) return exportValue;
  return std::string(documents::kNoChoice);
}
std::string listChoice(const ComboBox& list) {
  return list.itemIndex() < 0 ? std::string(documents::kNoChoice)
                              : std::to_string(list.itemIndex());
}
std::string salutation(const ComboBox& list) {
  if (list.text() == "Herr") return "0";
  if (list.text() == "Frau") return "1";
  return std::string(documents::kNoChoice);
}
std::string identity(const ComboBox& pass, bool child) {
  static const std::pair<const char*, const char*> kinds[] = {
      {"Reisepass", "1"}, {"Personalausweis", "2"}, {"Kinderpass", "3"}, {"Sonstige", "4"}};
  for (const auto& [name, exportValue] : kinds)
    if (pass.text() == name) return exportValue;
  // A child without an identity document of its own shows its birth certificate.
  return child ? "K" : std::string(documents::kNoChoice);
}
double amount(const Control& field) {
  return core::parseAmount(field.text());
}
bool shownAndNotZero(const Control& field) {
  return field.visible() && amount(field) != 0;
}
std::string formatted(double value) {
  return core::formatAmount(value);
}

// --- people -----------------------------------------------------------------------------------

bool minor(const Forms& f) {
  return f.application.policyholderIsMinor();
}
std::string holderStreet(const Forms& f) {
  return join({f.customer.edVN_Strasse.text(), f.customer.edVN_HausNr.text()}, " ");
}
std::string holderAddress(const Forms& f) {
  return join(
      {holderStreet(f), join({f.customer.edVN_PLZ.text(), f.customer.edVN_Ort.text()}, " ")}, ", ");
}
std::string holderSalutation(const Forms& f) {
  return minor(f) ? "K" : salutation(f.customer.cbVN_Anrede);
}
std::string fullName(const Forms& f) {
  const TfrmAngebotsdaten& c = f.customer;
  return join({c.edVN_Titel.text(), c.edVN_Vorname.text(), c.edVN_Nachname.text()}, " ");
}
std::string nameFirstLast(const Control& first, const Control& last) {
  return join({first.text(), last.text()}, " ");
}
std::string nameLastFirst(const Control& first, const Control& last) {
  return join({last.text(), first.text()}, ", ");
}
std::string authority(const Control& office, const Control& place) {
  return join({office.text(), place.text()}, ", ");
}
std::string placeAndToday(const Forms& f, const Control& place) {
  return join({place.text(), fullDate(f.today)}, ", ");
}
// The first representative's page describes a legal representative (position 0) or a further
// account holder (1); each block of the identity page takes only its own kind.
bool wdIsRepresentative(const Forms& f) {
  return f.application.cbWD_Art.itemIndex() == 0;
}
bool wdIsFurtherHolder(const Forms& f) {
  return f.application.cbWD_Art.itemIndex() == 1;
}

// --- contract ---------------------------------------------------------------------------------

bool vl(const Forms& f) {
  return !f.ziel;
}
bool einmalanlage(const Forms& f) {
  return f.ziel && f.contract.singleInvestmentMode();
}
bool savingsPlanZiel(const Forms& f) {
  return f.ziel && !f.contract.singleInvestmentMode();
}
bool singleInvestmentAtStart(const Forms& f) {
  return shownAndNotZero(f.contract.medEinmalzahlungZB);
}
// A single investment exists: the whole contract is one, or one is made at the start.
bool singleInvestment(const Forms& f) {
  return einmalanlage(f) || singleInvestmentAtStart(f);
}
std::string singleAmountText(const Forms& f) {
  if (einmalanlage(f)) return f.contract.cb_Beitrag_2.text();
  if (singleInvestmentAtStart(f)) return f.contract.medEinmalzahlungZB.text();
  return {};
}
std::string singleCosts(const Forms& f) {
  if (!singleInvestment(f)) return {};
  return formatted(core::parseAmount(singleAmountText(f)) * f.application.singlePaymentLoad);
}
bool paymentAtStart(const Forms& f) {
  return shownAndNotZero(f.contract.cb_Einmal);
}
std::optional<core::DateTime> contractStart(const Forms& f) {
  return dateIn(f.contract.med_Vbeginn);
}
int strategyNumber(const Forms& f) {
  for (int n = 1; n <= 11; ++n)
    if (const Control* fund = f.contract.find("rb_Fonds" + std::to_string(n));
        fund && fund->checked())
      return n;
  return 0;
}
// Payment frequency: the list position + 1.
std::string frequency(const Forms& f) {
  const int index = f.contract.cb_ZW.itemIndex();
  return index < 0 ? std::string(documents::kNoChoice) : std::to_string(index + 1);
}
std::string discount(const Forms& f, bool forVl) {
  const ComboBox& list = forVl ? f.agent.cb_Rabat : f.agent.cb_RabatZSp;
  return list.visible() ? list.text() : std::string();
}

// --- bank connections -------------------------------------------------------------------------

std::string referenceHolder(const Forms& f) {
  const TfrmAngebotsdialog& a = f.application;
  if (!a.edZF_Kontoin.text().empty()) return a.edZF_Kontoin.text();
  if (a.cbZF_Kontoart.text() == "Gesetzlicher Vertreter 2")
    return nameLastFirst(a.edGV_Vorname, a.edGV_Nachname);
  if (a.cbZF_Kontoart.text() == "Gesetzlicher Vertreter 1")
    return nameLastFirst(a.edWD_Vorname, a.edWD_Nachname);
  return nameLastFirst(f.customer.edVN_Vorname, f.customer.edVN_Nachname);
}
bool debitAccountApart(const Forms& f) {
  return f.application.cbRefKonto.itemIndex() > 0;
}
// The single payment is debited from the account given on the form, not the reference account.
bool singleFromOwnAccount(const Forms& f) {
  return f.application.cbKontoEZ.visible() && f.application.cbKontoEZ.itemIndex() == 1;
}
std::string singleDebitChoice(const Forms& f) {
  return f.application.cbKontoEZ.visible() ? listChoice(f.application.cbKontoEZ)
                                           : std::string(documents::kNoChoice);
}
// The payment at the start and the fees come from the ZB connection when it is filled in.
bool purchaseAccountGiven(const Forms& f) {
  return f.application.boxKontoZB.visible() && !f.application.edZB_Konto.text().empty();
}
std::optional<core::DateTime> feeDate(const Forms& f) {
  const TfrmAngebotsdialog& a = f.application;
  if (!a.boxKontoZB.visible() || a.cb_EEGTermin.text() != "zum") return std::nullopt;
  return dateIn(a.medEEG_Datum);
}
std::optional<core::DateTime> singleDate(const Forms& f) {
  const TfrmAngebotsdialog& a = f.application;
  if (!a.cbZE_UebDatum.visible() || a.cbZE_UebDatum.text() != "zum") return std::nullopt;
  return dateIn(a.medZE_Datum);
}

#define A(control) [](const Forms& f) -> std::string { return f.application.control.text(); }
#define C(control) [](const Forms& f) -> std::string { return f.customer.control.text(); }
#define K(control) [](const Forms& f) -> std::string { return f.contract.control.text(); }
#define V(control) [](const Forms& f) -> std::string { return f.agent.control.text(); }
#define D(control) \
  [](const Forms& f) -> std::string { return fullDate(dateIn(f.application.control)); }

// The identity block of one person: export value, number, authority and place, valid until.
#define IDENTITY(prefix, pass, number, office, place, until, when)                               \
  {prefix "LegitimationKreuz",                                                                   \
   [](const Forms& f) -> std::string {                                                           \
     return (when) ? identity(f.application.pass, false) : std::string("X");                     \
   }},                                                                                           \
      {prefix "AusweisNr",                                                                       \
       [](const Forms& f) -> std::string { return (when) ? f.application.number.text() : ""; }}, \
      {prefix "Behoerde",                                                                        \
       [](const Forms& f) -> std::string {                                                       \
         return (when) ? authority(f.application.office, f.application.place) : "";              \
       }},                                                                                       \
  {                                                                                              \
    prefix "gueltigbis", [](const Forms& f) -> std::string {                                     \
      return (when) ? fullDate(dateIn(f.application.until)) : "";                                \
    }                                                                                            \
  }

const std::vector<EntrySource> kVVSpar = {
    // agent
    {"Vermittler_16stellig", V(edV_Vermittlernr1)},
    {"Untervermittler_16stellig", V(edV_Vermittlernr2)},
    {"VerM1", V(edV_Firma)},
    {"VerM2",
     [](const Forms& f) -> std::string {
       return join({f.agent.edV_Strasse.text(),
                    join({f.agent.edV_PLZ.text(), f.agent.edV_Ort.text()}, " ")},
                   ", ");
     }},
    {"NameBerater", V(edV_Ansprechpartner)},
    // salutations
    {"DIH1Kreuz", [](const Forms& f) -> std::string { return holderSalutation(f); }},
    {"DIHXaKreuz", [](const Forms& f) -> std::string { return holderSalutation(f); }},
    {"DIH2GV1FrauHerrKreuz",
     [](const Forms& f) -> std::string { return salutation(f.application.cbWD_Anrede); }},
    {"DIH2GV1FrauHerrKreuz1",
     [](const Forms& f) -> std::string { return salutation(f.application.cbWD_Anrede); }},
    {"DIH2GV1FrauHerrKreuz2",
     [](const Forms& f) -> std::string { return salutation(f.application.cbGV_Anrede); }},
    {"DIH2GV1Kreuz",
     [](const Forms& f) -> std::string { return listChoice(f.application.cbWD_Art); }},
    {"DIH2GV2FrauHerrKreuz",
     [](const Forms& f) -> std::string { return salutation(f.application.cbGV_Anrede); }},
    // names and addresses
    {"DIH1Name", C(edVN_Nachname)},
    {"DIH1Vorname", C(edVN_Vorname)},
    {"DIH1Strasse", [](const Forms& f) -> std::string { return holderStreet(f); }},
    {"DIH1StrasseOhneHausNr", C(edVN_Strasse)},
    {"DIH1HausNr", C(edVN_HausNr)},
    {"DIH1PLZ", C(edVN_PLZ)},
    {"DIH1Ort", C(edVN_Ort)},
    {"Text2",
     [](const Forms& f) -> std::string {
       return nameFirstLast(f.customer.edVN_Vorname, f.customer.edVN_Nachname);
     }},
    {"Text3", [](const Forms& f) -> std::string { return holderAddress(f); }},
    {"DIHXaStrassePLZOrt", [](const Forms& f) -> std::string { return holderAddress(f); }},
    {"DIH2Name", A(edWD_Nachname)},
    {"DIH2Vorname", A(edWD_Vorname)},
    {"DIH2Strasse", A(edWD_Strasse)},
    {"DIH2PLZ", A(edWD_PLZ)},
    {"DIH2Ort", A(edWD_Ort)},
    {"Text4",
     [](const Forms& f) -> std::string {
       return nameFirstLast(f.application.edWD_Vorname, f.application.edWD_Nachname);
     }},
    {"Text5",
     [](const Forms& f) -> std::string {
       const TfrmAngebotsdialog& a = f.application;
       return join({a.edWD_Strasse.text(), join({a.edWD_PLZ.text(), a.edWD_Ort.text()}, " ")},
                   ", ");
     }},
    {"GV2Name", A(edGV_Nachname)},
    {"GV2Vorname", A(edGV_Vorname)},
    {"GV2Strasse", A(edGV_Strasse)},
    {"GV2PLZ", A(edGV_PLZ)},
    {"GV2Ort", A(edGV_Ort)},
    {"GV2Name1", A(edWD_Nachname)},
    {"GV2Vorname1", A(edWD_Vorname)},
    {"GV2Strasse1", A(edWD_Strasse)},
    {"GV2PLZ1", A(edWD_PLZ)},
    {"GV2Ort1", A(edWD_Ort)},
    {"GV2Name2", A(edGV_Nachname)},
    {"GV2Vorname2", A(edGV_Vorname)},
    {"GV2Strasse2", A(edGV_Strasse)},
    {"GV2PLZ2", A(edGV_PLZ)},
    {"GV2Ort2", A(edGV_Ort)},
    // personal data
    {"DIH1GebDatum",
     [](const Forms& f) -> std::string { return fullDate(dateIn(f.customer.medVN_Geburtstag)); }},
    {"DIH1GebName", C(edVN_GebName)},
    {"DIH1GebOrt_GebLand",
     [](const Forms& f) -> std::string {
       return join({f.customer.edVN_GebOrt.text(), f.customer.edVN_GebLand.text()}, ", ");
     }},
    {"DIH1FamStand", C(cbVN_Stand)},
    {"DIH1Staat", C(edVN_Nation)},
    {"DIH1Telefon", C(edVN_Telefon)},
    {"DIH1Fax", C(edVN_FAX)},
    {"DIH1E-Mail", C(edVN_E_mail)},
    {"DIH1EMail", C(edVN_E_mail)},
    {"DIH1SteuerID", A(edVN_SteuerID)},
    {"DIHXaGebOrtStaat",
     [](const Forms& f) -> std::string {
       return join({f.customer.edVN_GebOrt.text(), f.customer.edVN_Nation.text()}, ", ");
     }},
    {"DIH2GebDatum", D(medWD_Geburtstag)},
    {"DIH2GebName", A(edWD_GebName)},
    {"DIH2GebOrt_GebLand",
     [](const Forms& f) -> std::string {
       return join({f.application.edWD_GebOrt.text(), f.application.edWD_GebLand.text()}, ", ");
     }},
    {"DIH2FamStand", A(cbWD_Stand)},
    {"DIH2Staat", A(edWD_Nation)},
    {"DIH2Telefon", A(edWD_Telefon)},
    {"DIH2E-Mail", A(edWD_E_mail)},
    // Only a further account holder is asked for a tax number.
    {"DIH2SteuerID",
     [](const Forms& f) -> std::string {
       return wdIsFurtherHolder(f) ? f.application.edWD_SteuerID.text() : "";
     }},
    {"GV2GebDatum", D(medGV_Geburtstag)},
    {"GV2GebName", A(edGV_GebName)},
    {"GV2GebOrt_GebLand",
     [](const Forms& f) -> std::string {
       return join({f.application.edGV_GebOrt.text(), f.application.edGV_GebLand.text()}, ", ");
     }},
    {"GV2FamStand", A(cbGV_Stand)},
    {"GV2Staat", A(edGV_Nation)},
    {"GV2Telefon", A(edGV_Telefon)},
    {"GV2E-Mail", A(edGV_E_mail)},
    {"GV2SteuerID",
     [](const Forms&) -> std::string {
       return "";
     }},  // the second representative has no tax number field
          // occupation and finances
    {"DIH1Beruf", A(ed_WpHG_Beruf)},
    {"Text6", A(ed_WpHG_Beruf)},
    {"Text7", A(ed_WpHG_Beruf2)},
    {"Text8", A(ed_WpHG_Beruf3)},
    {"DIH2Beruf", A(ed_WDBeruf)},
    {"DIH1_selbst",
     [](const Forms& f) -> std::string { return tick(f.application.cbSelbst.checked()); }},
    {"DIH2_selbst",
     [](const Forms& f) -> std::string { return tick(f.application.cbWD_Selbst.checked()); }},
    {"DIH1Branche", A(ed_WpHG_Branche)},
    {"DIH2Branche", A(ed_WDBranche)},
    {"VerfEin", A(edEinkommen)},
    {"MonatAus", A(edAusgaben)},
    {"NeinimNamen",
     [](const Forms& f) -> std::string {
       return f.application.cbEigeneRechnung.itemIndex() == 1 ? f.application.edRechnungName.text()
                                                              : "";
     }},
    // identity
    {"DIH1LegitimationKreuz",
     [](const Forms& f) -> std::string { return identity(f.application.cbVN_Pass, minor(f)); }},
    {"DIH1AusweisNr", A(edVN_AusNr)},
    {"DIH1Behoerde",
     [](const Forms& f) -> std::string {
       return authority(f.application.edVN_Behoerde, f.application.edVN_BehoerdeOrt);
     }},
    {"DIH1gueltigbis", D(medVN_Ausbis)},
    {"DIHXaLegitimationKreuz",
     [](const Forms& f) -> std::string { return identity(f.application.cbVN_Pass, minor(f)); }},
    {"DIHXaAusweisNr", A(edVN_AusNr)},
    {"DIHXaBehoerde",
     [](const Forms& f) -> std::string {
       return authority(f.application.edVN_Behoerde, f.application.edVN_BehoerdeOrt);
     }},
    {"DIHXagueltigbis", D(medVN_Ausbis)},
    IDENTITY("DIHGa", cbWD_Pass, edWD_AusNr, edWD_Behoerde, edWD_BehoerdeOrt, medWD_Ausbis,
             wdIsRepresentative(f)),
    IDENTITY("DIHGb", cbGV_Pass, edGV_AusNr, edGV_Behoerde, edGV_BehoerdeOrt, medGV_Ausbis,
             minor(f)),
    IDENTITY("DIH2-1", cbWD_Pass, edWD_AusNr, edWD_Behoerde, edWD_BehoerdeOrt, medWD_Ausbis, true),
    IDENTITY("DIH2-2", cbGV_Pass, edGV_AusNr, edGV_Behoerde, edGV_BehoerdeOrt, medGV_Ausbis, true),
    IDENTITY("DIHX", cbWD_Pass, edWD_AusNr, edWD_Behoerde, edWD_BehoerdeOrt, medWD_Ausbis,
             wdIsFurtherHolder(f)),
    // consultation
    {"Text1", D(medBP_Datum)},
    {"VonUhrzeit", [](const Forms& f) -> std::string { return timeIn(f.application.medBP_Von); }},
    {"BisUhrzeit", [](const Forms& f) -> std::string { return timeIn(f.application.medBP_Bis); }},
    {"TextZu1", A(edBP_Teil1)},
    {"TextZu2", A(edBP_Teil2)},
    {"TextZu3", A(edBP_Teil3)},
    {"Text21", A(edBP_Anlass1)},
    {"Text21a", A(edBP_Anlass2)},
    {"Text21b", A(edBP_Anlass3)},
    {"ArbeitgeberOrtDatum",
     [](const Forms& f) -> std::string {
       return vl(f) ? placeAndToday(f, f.application.ed_Firma_Ort) : "";
     }},
    {"OrtDatum1",
     [](const Forms& f) -> std::string { return placeAndToday(f, f.customer.edVN_Ort); }},
    {"OrtDatum2",
     [](const Forms& f) -> std::string {
       return minor(f) ? placeAndToday(f, f.application.edWD_Ort) : "";
     }},
    {"VMOrtDatum", [](const Forms& f) -> std::string { return placeAndToday(f, f.agent.edV_Ort); }},
    {"ZSPOrtDatum",
     [](const Forms& f) -> std::string {
       return savingsPlanZiel(f) ? placeAndToday(f, f.customer.edVN_Ort) : "";
     }},
    {"OrtDatumE1",
     [](const Forms& f) -> std::string {
       return singleInvestment(f) ? placeAndToday(f, f.customer.edVN_Ort) : "";
     }},
    {"OrtDatumE2",
     [](const Forms& f) -> std::string {
       return wdIsFurtherHolder(f) ? placeAndToday(f, f.application.edWD_Ort) : "";
     }},
    {"ALF_Datum", D(medBP_Datum)},
    {"ALF_TM",
     [](const Forms& f) -> std::string {
       const auto date = dateIn(f.application.medBP_Datum);
       return date ? dayOf(date) + "." + monthOf(date) + "." : "";
     }},
    {"ALF_J",
     [](const Forms& f) -> std::string { return yearOf(dateIn(f.application.medBP_Datum)); }},
    {"Text20", A(ed_WpHG_Sonst)},
    {"Text24", [](const Forms&) -> std::string { return ""; }},
    // questionnaire
    {"Kontrollkästchen7",
     [](const Forms& f) -> std::string {
       const TfrmAngebotsdialog& a = f.application;
       return chosen({{&a.rbFGIK, "K"}, {&a.rbFGI3, "0"}, {&a.rbFGI7, "1"}, {&a.rbFGIM7, "2"}});
     }},
    {"Kontrollkästchen8",
     [](const Forms& f) -> std::string {
       const TfrmAngebotsdialog& a = f.application;
       return chosen({{&a.rbRRK, "K"}, {&a.rbRR3, "0"}, {&a.rbRR7, "1"}, {&a.rbRRM7, "2"}});
     }},
    {"Kontrollkästchen9",
     [](const Forms& f)
         -> std::
             string {
               const TfrmAngebotsdialog& a = f.application;
               return chosen({{&a.rbGFK, "K"}, {&a.rbGF3, "0"}, {&a.rbGF7, "1"}, {&a.rbGFM7, "2"}});
             }},
    {"Kontrollkästchen10",
     [](const Forms& f)
         -> std::
             string {
               const TfrmAngebotsdialog& a = f.application;
               return chosen({{&a.rbAAK, "K"}, {&a.rbAA3, "0"}, {&a.rbAA7, "1"}, {&a.rbAAM7, "2"}});
             }},
    {"Kontrollkästchen11",
     [](const Forms& f) -> std::
                            string {
                              const TfrmAngebotsdialog& a = f.application;
                              return chosen({{&a.rb25, "0"}, {&a.rb50, "1"}, {&a.rbM50, "2"}});
                            }},
    {"Kontrollkästchen12",
     [](const Forms& f) -> std::string { return tick(f.application.cbVMA.checked()); }},
    {"Text13",
     [](const Forms& f) -> std::
                            string {
                              return f.application.cbVMA.checked() ? f.application.cbZiel1.text()
                                                                   : "";
                            }},
    {"Kontrollkästchen14",
     [](const Forms& f) -> std::string { return tick(f.application.cbVS.checked()); }},
    {"Text15",
     [](const Forms& f) -> std::
                            string {
                              return f.application.cbVS.checked() ? f.application.cbZiel2.text()
                                                                  : "";
                            }},
    {"Kontrollkästchen16",
     [](const Forms& f) -> std::string { return tick(f.application.cbAS.checked()); }},
    {"Text17",
     [](const Forms& f)
         -> std::string { return f.application.cbAS.checked() ? f.application.edAS.text() : ""; }},
    {"Text18",
     [](const Forms& f) -> std::
                            string {
                              return f.application.cbAS.checked() ? f.application.cbZiel3.text()
                                                                  : "";
                            }},
    {"Kontrollkästchen19",
     [](const Forms& f)
         -> std::
             string {
               return chosen({{&f.application.rbRJa, "0"}, {&f.application.rbRNein, "1"}});
             }},
    {"Kontrollkaestchen21",
     [](const Forms& f)
         -> std::string { return tick(f.application.cbAblaufmanagement.checked()); }},
    {"OptionAblaufmanagement",
     [](const Forms& f)
         -> std::string { return tick(f.application.cbAblaufmanagement.checked()); }},
    {"Kontrollkaestchen22",
     [](const Forms& f) -> std::string { return tick(f.application.cbKeineErfahrung.checked()); }},
    {"OptionHinweise",
     [](const Forms& f) -> std::string { return tick(f.application.cbKeineErfahrung.checked()); }},
    // strategy
    {"Strategie",
     [](const Forms& f) -> std::
                            string {
                              const int n = strategyNumber(f);
                              return n ? (f.ziel ? "ZSP" : "VL") + std::to_string(n)
                                       : std::string("X");
                            }},
    {"VLStrategie",
     [](const Forms& f)
         -> std::string { return strategyNumber(f) ? std::to_string(strategyNumber(f)) : ""; }},
    {"ZSPStrategie",
     [](const Forms& f)
         -> std::string { return strategyNumber(f) ? std::to_string(strategyNumber(f)) : ""; }},
    // contract: the savings plan of the second variant
    {"ZSPLaufzeit",
     [](const Forms& f)
         -> std::string { return savingsPlanZiel(f) ? f.contract.cb_BZD2.text() : ""; }},
    {"ZSPHöheSparrate",
     [](const Forms& f)
         -> std::string { return savingsPlanZiel(f) ? f.contract.cb_Beitrag_2.text() : ""; }},
    {"ZSPVertragsbeginnMonatKreuz",
     [](const Forms& f)
         -> std::string { return mark(savingsPlanZiel(f) && dayOf(contractStart(f)) == "01"); }},
    {"ZSPbeginnJahr",
     [](const Forms& f)
         -> std::string { return savingsPlanZiel(f) ? yearOf(contractStart(f)) : ""; }},
    {"ZSPbeginnMonat",
     [](const Forms& f)
         -> std::string { return savingsPlanZiel(f) ? monthOf(contractStart(f)) : ""; }},
    {"ZSPDynamisierung&",
     [](const Forms& f) -> std::
                            string {
                              return savingsPlanZiel(f) && f.contract.cb_Dynamik.visible()
                                         ? f.contract.cb_Dynamik.text()
                                         : "";
                            }},
    {"ZSPoptionales AblaufmanagementKreuz",
     [](const Forms& f) -> std::
                            string {
                              return mark(savingsPlanZiel(f) &&
                                          f.application.cbAblaufmanagement.checked());
                            }},
    {"ZSPRabatProz",
     [](const Forms& f) -> std::string { return savingsPlanZiel(f) ? discount(f, false) : ""; }},
    {"ZSPRabatProzNach", [](const Forms&) -> std::string { return ""; }},
    {"ZSPVorabEUR",
     [](const Forms& f) -> std::
                            string {
                              return savingsPlanZiel(f) && paymentAtStart(f)
                                         ? f.contract.cb_Einmal.text()
                                         : "";
                            }},
    // contract: payment frequency and the savings plan of the first variant
    {"DIH1VertragsvarianteKreuz", [](const Forms& f) -> std::string { return frequency(f); }},
    {"DIH1VertragsvarianteKreuzmonatlich",
     [](const Forms& f) -> std::string { return tick(f.contract.cb_ZW.itemIndex() == 0); }},
    {"DIH1monatlichEUR",
     [](const Forms& f) -> std::string { return vl(f) ? f.contract.cb_Beitrag_1.text() : ""; }},
    {"DIH1entsprJahressparbeitragEUR",
     [](const Forms& f)
         -> std::string { return vl(f) ? formatted(12 * amount(f.contract.cb_Beitrag_1)) : ""; }},
    {"DIH1-ZahlungsbeginnMonat",
     [](const Forms& f) -> std::string { return vl(f) ? monthOf(contractStart(f)) : ""; }},
    {"DIH1-ZahlungsbeginnJahr",
     [](const Forms& f) -> std::string { return vl(f) ? yearOf(contractStart(f)) : ""; }},
    {"DIH1RabatProz", [](const Forms& f) -> std::string { return vl(f) ? discount(f, true) : ""; }},
    {"DIH1RabatProzNach", [](const Forms&) -> std::string { return ""; }},
    {"VorabzahlungEntgelt",
     [](const Forms& f) -> std::string { return mark(vl(f) && paymentAtStart(f)); }},
    {"DIH1Vorab", [](const Forms& f) -> std::string { return mark(vl(f) && paymentAtStart(f)); }},
    {"DIH1EntgeltZSP", [](const Forms&) -> std::string { return ""; }},
    {"DIH1VorabEUR",
     [](const Forms& f)
         -> std::string { return vl(f) && paymentAtStart(f) ? f.contract.cb_Einmal.text() : ""; }},
    {"DIH1Entgelt",
     [](const Forms& f) -> std::
                            string {
                              const ComboBox& how = f.application.cb_EEG;
                              return f.application.boxKontoZB.visible() && how.itemIndex() >= 0
                                         ? std::to_string(how.itemIndex() + 1)
                                         : std::string("X");
                            }},
    {"DIH1-EntgeltTag", [](const Forms& f) -> std::string { return dayOf(feeDate(f)); }},
    {"DIH1-EntgeltMonat", [](const Forms& f) -> std::string { return monthOf(feeDate(f)); }},
    {"DIH1-EntgeltJahr", [](const Forms& f) -> std::string { return yearOf(feeDate(f)); }},
    {"DIH1EntgeltZeitpunkt",
     [](const Forms& f) -> std::
                            string {
                              return f.application.boxKontoZB.visible()
                                         ? f.application.cb_EEGTermin.text()
                                         : "";
                            }},
    {"KeineDynamik",
     [](const Forms& f) -> std::
                            string {
                              return mark(savingsPlanZiel(f) &&
                                          (!f.contract.cb_Dynamik.visible() ||
                                           amount(f.contract.cb_Dynamik) == 0));
                            }},
    {"Zielsparplan", [](const Forms& f) -> std::string { return mark(savingsPlanZiel(f)); }},
    // contract: the single investment
    {"Einmalanlage", [](const Forms& f) -> std::string { return mark(singleInvestment(f)); }},
    {"EinmalLaufzeit",
     [](const Forms& f)
         -> std::string { return singleInvestment(f) ? f.contract.cb_BZD2.text() : ""; }},
    {"EinmalBetrag", [](const Forms& f) -> std::string { return singleAmountText(f); }},
    {"EinmalKosten", [](const Forms& f) -> std::string { return singleCosts(f); }},
    {"DIH1EntgeltEinmal", [](const Forms& f) -> std::string { return singleCosts(f); }},
    {"DIH1VorabEinmal", [](const Forms&) -> std::string { return ""; }},
    {"EinmalAnlage",
     [](const Forms& f) -> std::
                            string {
                              return singleInvestment(f) && f.contract.cbArtEinmalanlage.visible()
                                         ? f.contract.cbArtEinmalanlage.text()
                                         : "";
                            }},
    {"CashOption",
     [](const Forms& f) -> std::
                            string {
                              return mark(singleInvestment(f) &&
                                          f.contract.cbEinmalStrategie.visible() &&
                                          f.contract.cbEinmalStrategie.itemIndex() >= 1);
                            }},
    {"EinmalOption",
     [](const Forms& f) -> std::
                            string {
                              return singleInvestment(f) && f.contract.cbEinmalStrategie.visible()
                                         ? f.contract.cbEinmalStrategie.text()
                                         : "";
                            }},
    {"DIH1OptionTausch",
     [](const Forms& f) -> std::string { return mark(f.contract.boxTauschplan.visible()); }},
    {"DIH1Tausch",
     [](const Forms& f) -> std::
                            string {
                              return f.contract.boxTauschplan.visible()
                                         ? f.contract.cbTauschbetrag.text()
                                         : "";
                            }},
    {"DIH1-TauschStartMonat",
     [](const Forms& f) -> std::
                            string {
                              return f.contract.boxTauschplan.visible()
                                         ? monthOf(dateIn(f.contract.med_BeginnTausch))
                                         : "";
                            }},
    {"DIH1-TauschStartJahr",
     [](const Forms& f) -> std::
                            string {
                              return f.contract.boxTauschplan.visible()
                                         ? yearOf(dateIn(f.contract.med_BeginnTausch))
                                         : "";
                            }},
    {"DIH1-TauschEndeMonat",
     [](const Forms& f) -> std::
                            string {
                              return f.contract.boxTauschplan.visible()
                                         ? monthOf(dateIn(f.contract.med_EndeTausch))
                                         : "";
                            }},
    {"DIH1-TauschEndeJahr",
     [](const Forms& f) -> std::
                            string {
                              return f.contract.boxTauschplan.visible()
                                         ? yearOf(dateIn(f.contract.med_EndeTausch))
                                         : "";
                            }},
    {"DIH1-DIH1EinmalAnlageTag",
     [](const Forms& f) -> std::string { return dayOf(singleDate(f)); }},
    {"DIH1-DIH1EinmalAnlageMonat",
     [](const Forms& f) -> std::string { return monthOf(singleDate(f)); }},
    {"DIH1-DIH1EinmalAnlageJahr",
     [](const Forms& f) -> std::string { return yearOf(singleDate(f)); }},
    {"DIH1EinmalAnlageZeitpunkt",
     [](const Forms& f) -> std::
                            string {
                              return singleInvestment(f) && f.application.cbZE_UebDatum.visible()
                                         ? f.application.cbZE_UebDatum.text()
                                         : "";
                            }},
    {"DIH1EinmalAnlage", [](const Forms& f) -> std::string { return fullDate(singleDate(f)); }},
    {"DIH1Beitrag",
     [](const Forms& f) -> std::
                            string {
                              return vl(f) ? f.contract.cb_Beitrag_1.text()
                                           : f.contract.cb_Beitrag_2.text();
                            }},
    // accounts
    {"ReferenzbankKtoNr", A(edZF_Konto)},
    {"ReferenzbankNameVorname", [](const Forms& f) -> std::string { return referenceHolder(f); }},
    {"ReferenzbankBLZIBAN",
     [](const Forms& f)
         -> std::
             string {
               return join({f.application.cbZF_BLZ.text(), f.application.edZF_IBAN.text()}, " / ");
             }},
    {"ReferenzbankKreditinstitut", A(edZF_KI)},
    {"KontoNr",
     [](const Forms& f)
         -> std::string { return debitAccountApart(f) ? f.application.edZP_Konto.text() : ""; }},
    {"KontoInhaber",
     [](const Forms& f) -> std::
                            string {
                              return debitAccountApart(f) ? f.application.edZP_Kontoinhaber.text()
                                                          : "";
                            }},
    {"KontoBLZ",
     [](const Forms& f) -> std::
                            string {
                              return debitAccountApart(f) ? join({f.application.cbZP_BLZ.text(),
                                                                  f.application.edZP_IBAN.text()},
                                                                 " / ")
                                                          : "";
                            }},
    {"KontoBank",
     [](const Forms& f)
         -> std::string { return debitAccountApart(f) ? f.application.edZP_KI.text() : ""; }},
    {"BankKreuz", [](const Forms& f) -> std::string { return singleDebitChoice(f); }},
    {"RefbankverbKreuz",
     [](const Forms& f) -> std::
                            string {
                              const TfrmAngebotsdialog& a = f.application;
                              return mark(purchaseAccountGiven(f) &&
                                          a.edZB_Konto.text() == a.edZF_Konto.text() &&
                                          a.cbZB_BLZ.text() == a.cbZF_BLZ.text());
                            }},
    {"KaufBankverbindungKtoNr",
     [](const Forms& f)
         -> std::string { return purchaseAccountGiven(f) ? f.application.edZB_Konto.text() : ""; }},
    {"KaufKontoinhaber",
     [](const Forms& f) -> std::
                            string {
                              return purchaseAccountGiven(f)
                                         ? f.application.edZB_Kontoinhaber.text()
                                         : "";
                            }},
    {"KaufBankverbindungBLZIBAN",
     [](const Forms& f) -> std::
                            string {
                              return purchaseAccountGiven(f)
                                         ? join({f.application.cbZB_BLZ.text(),
                                                 f.application.edZB_IBAN.text()},
                                                " / ")
                                         : "";
                            }},
    {"KaufBankverbindungKreditinstitut",
     [](const Forms& f)
         -> std::string { return purchaseAccountGiven(f) ? f.application.edZB_KI.text() : ""; }},
    // employer
    {"SparvertragArbeitgebername", A(ed_Firma)},
    {"ArbeitgeberStraßePostfach", A(ed_Firma_Strasse)},
    {"ArbeitgeberPLZ", A(ed_Firma_PLZ)},
    {"ArbeitgeberOrt", A(ed_Firma_Ort)},
    {"ArbeitgeberAbteilung", A(ed_Firma_Abteilung)},
    {"ArbeitgeberPersonalnummer", A(ed_Firma_Personalnummer)},
    // others
    {"DIH1NameVoll", [](const Forms& f) -> std::string { return fullName(f); }},
    {"KostenPost",
     [](const Forms& f) -> std::string { return f.application.rbJaPost.checked() ? "1" : "X"; }},
    {"ZSP-Depotnr", K(medDepotNr)},
    {"DIH1",
     [](const Forms& f) -> std::
                            string {
                              return nameLastFirst(f.customer.edVN_Vorname,
                                                   f.customer.edVN_Nachname);
                            }},
    // the boxes repeated on the customer's copy page
    {"DIH1Kreuz_2", [](const Forms& f) -> std::string { return holderSalutation(f); }},
    {"DIH1VertragsvarianteKreuz_2", [](const Forms& f) -> std::string { return frequency(f); }},
};

const std::vector<EntrySource> kVVBuSpar = {
    {"DIH1Kreuz", [](const Forms& f) -> std::string { return holderSalutation(f); }},
    {"DIH1Kreuz_2", [](const Forms& f) -> std::string { return holderSalutation(f); }},
    {"DIH1Name", C(edVN_Nachname)},
    {"DIH1Vorname", C(edVN_Vorname)},
    {"DIH1Strasse", [](const Forms& f) -> std::string { return holderStreet(f); }},
    {"DIH1PLZ", C(edVN_PLZ)},
    {"DIH1Ort", C(edVN_Ort)},
    {"SE_Datum", [](const Forms& f) -> std::string { return fullDate(f.today); }},
    {"VU_Datum", [](const Forms& f) -> std::string { return fullDate(f.today); }},
    {"Vb_Datum", [](const Forms& f) -> std::string { return fullDate(f.today); }},
    {"SE_Ort", C(edVN_Ort)},
    {"VU_Ort", C(edVN_Ort)},
    {"Vb_Ort", V(edV_Ort)},
    {"DIH1Beginn", [](const Forms& f) -> std::string { return fullDate(contractStart(f)); }},
    {"DIH1GebDatum",
     [](const Forms& f) -> std::string { return fullDate(dateIn(f.customer.medVN_Geburtstag)); }},
    {"DIH1Beruf", A(ed_WpHG_Beruf)},
};

std::string singleDebitHolder(const Forms& f) {
  return singleFromOwnAccount(f) ? f.application.edZE_Kontoinhaber.text() : referenceHolder(f);
}

const std::vector<EntrySource> kVVEZ = {
    {"DIH1NameVoll", [](const Forms& f) -> std::string { return fullName(f); }},
    {"DIH1Strasse", [](const Forms& f) -> std::string { return holderStreet(f); }},
    {"DIH1PLZ", C(edVN_PLZ)},
    {"DIH1Ort", C(edVN_Ort)},
    {"DIH1Telefon", C(edVN_Telefon)},
    {"Einmal", [](const Forms& f) -> std::string { return singleAmountText(f); }},
    {"Entgeld", [](const Forms& f) -> std::string { return singleCosts(f); }},
    {"Anlage",
     [](const Forms& f) -> std::string {
       if (!singleInvestment(f)) return "";
       const double whole = core::parseAmount(singleAmountText(f));
       return formatted(whole - whole * f.application.singlePaymentLoad);
     }},
    {"OrtDatum",
     [](const Forms& f) -> std::string { return placeAndToday(f, f.customer.edVN_Ort); }},
    {"Per",
     [](const Forms& f) -> std::string {
       return f.application.cbZE_UebDatum.visible() ? f.application.cbZE_UebDatum.text() : "";
     }},
    {"Last", [](const Forms& f) -> std::string { return singleDebitHolder(f); }},
    {"DIH1EZTag", [](const Forms& f) -> std::string { return dayOf(singleDate(f)); }},
    {"DIH1EZMonat", [](const Forms& f) -> std::string { return monthOf(singleDate(f)); }},
    {"DIH1EZJahr", [](const Forms& f) -> std::string { return yearOf(singleDate(f)); }},
    {"BankKreuz", [](const Forms& f) -> std::string { return singleDebitChoice(f); }},
    {"KontoNr",
     [](const Forms& f) -> std::string {
       return singleFromOwnAccount(f) ? f.application.edZE_Konto.text() : "";
     }},
    {"KontoInhaber",
     [](const Forms& f) -> std::string {
       return singleFromOwnAccount(f) ? f.application.edZE_Kontoinhaber.text() : "";
     }},
    {"KontoBLZ",
     [](const Forms& f) -> std::string {
       return singleFromOwnAccount(f) ? f.application.edZE_BLZ.text() : "";
     }},
    {"KontoBank",
     [](const Forms& f) -> std::string {
       return singleFromOwnAccount(f) ? f.application.edZE_KI.text() : "";
     }},
    {"ZSP-Depotnr", K(medDepotNr)},
};

// The transfer forms: the customer's bank (the ZB connection when given, else the reference
// account) pays the amount to the depot bank.
std::vector<EntrySource> transferSources(FdfFile file) {
  auto zb = [](const Forms& f) { return purchaseAccountGiven(f); };
  std::vector<EntrySource> sources = {
      {"Kundenname",
       [](const Forms& f) -> std::string {
         return nameLastFirst(f.customer.edVN_Vorname, f.customer.edVN_Nachname);
       }},
      {"KundenRef", K(medDepotNr)},
      {"Verwendungszweck",
       [](const Forms& f) -> std::string {
         return (f.ziel ? std::string("Rubrik Sparplan ZSP ") : std::string("Rubrik Sparplan ")) +
                nameLastFirst(f.customer.edVN_Vorname, f.customer.edVN_Nachname);
       }},
      {"Depot", K(medDepotNr)},
      {"BankName",
       [zb](const Forms& f) {
         return zb(f) ? f.application.edZB_KI.text() : f.application.edZF_KI.text();
       }},
      {"BankStr", [zb](const Forms& f) { return zb(f) ? f.application.edZB_KIStr.text() : ""; }},
      {"Bankort", [zb](const Forms& f) { return zb(f) ? f.application.edZB_KIOrt.text() : ""; }},
      {"BLZ",
       [zb](const Forms& f) {
         return zb(f) ? f.application.cbZB_BLZ.text() : f.application.cbZF_BLZ.text();
       }},
      {"IBAN",
       [zb](const Forms& f) {
         return zb(f) ? f.application.edZB_IBAN.text() : f.application.edZF_IBAN.text();
       }},
      {"Bank",
       [zb](const Forms& f) {
         return zb(f) ? f.application.edZB_BIC.text() : f.application.edZF_BIC.text();
       }},
      {"KontoNr",
       [zb](const Forms& f) {
         return zb(f) ? f.application.edZB_Konto.text() : f.application.edZF_Konto.text();
       }},
      {"Kontoinhaber",
       [zb](const Forms& f) {
         return zb(f) ? f.application.edZB_Kontoinhaber.text() : referenceHolder(f);
       }},
      {"Betrag", K(cb_Einmal)},
      {"AktDatum", [](const Forms& f) -> std::string { return fullDate(f.today); }},
      {"UebDatum",
       [](const Forms& f) -> std::string {
         const auto date = feeDate(f);
         return fullDate(date ? *date : f.today);
       }},
  };
  // The fee paid by each transfer: the payment at the start, or the single investment's costs.
  sources.push_back({"Entgelt", file == FdfFile::VVZUEB ? Source(K(cb_Einmal))
                                                        : Source([](const Forms& f) -> std::string {
                                                            return singleCosts(f);
                                                          })});
  // Only the single investment's transfer names the depot; only the payment's names an amount.
  std::erase_if(sources, [file](const EntrySource& s) {
    return (s.field == "Depot" && file != FdfFile::VVZUEBEA) ||
           (s.field == "Betrag" && file != FdfFile::VVZUEB);
  });
  return sources;
}

#undef A
#undef C
#undef K
#undef V
#undef D
#undef IDENTITY

const std::vector<EntrySource>& sourcesOf(FdfFile file) {
  // One entry per forms-data file, in the order of FdfFile.
  static const std::array<std::vector<EntrySource>, documents::kFdfFileCount> sources = {
      kVVSpar,
      kVVBuSpar,
      kVVEZ,
      transferSources(FdfFile::VVZUEB),
      transferSources(FdfFile::VVZUEBEA),
      transferSources(FdfFile::VVZUEBEEG)};
  return sources.at(documents::fdfFileIndex(file));
}

Forms formsOf(const FormSet& set, core::DateTime today) {
  return {*set.frmVermittler,
          *set.frmAngebotsdaten,
          *set.frmVertagsdaten,
          *set.frmAngebotsdialog,
          set.frmAngebotsdaten->rbProd1.checked(),
          today};
}

}  // namespace

FdfVariant formsDataVariant(const FormSet& set) {
  return set.frmAngebotsdaten->rbProd1.checked() ? FdfVariant::Ziel : FdfVariant::Vl;
}

std::vector<documents::FdfEntry> formsDataEntries(const FormSet& set, core::DateTime today,
                                                  FdfFile file) {
  const Forms forms = formsOf(set, today);
  const std::vector<EntrySource>& sources = sourcesOf(file);
  std::vector<documents::FdfEntry> entries;
  for (const documents::FdfField& field : documents::fdfFields(file, formsDataVariant(set))) {
    documents::FdfEntry entry{std::string(field.name), {}, field.kind};
    for (const EntrySource& source : sources)
      if (source.field == field.name) {
        entry.value = source.value(forms);
        break;
      }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<std::string_view> formsDataSourceFields(FdfFile file) {
  std::vector<std::string_view> names;
  for (const EntrySource& source : sourcesOf(file)) names.push_back(source.field);
  return names;
}

std::vector<FormsDataFile> formsDataFiles(const FormSet& set, core::DateTime today) {
  const Forms f = formsOf(set, today);
  const TfrmAngebotsdialog& a = f.application;
  const std::string& applicationForm = f.ziel ? a.applicationFormZiel : a.applicationFormVl;
  std::vector<FormsDataFile> files = {{FdfFile::VVSpar, applicationForm, {}}};
  auto add = [&files](FdfFile file, const std::string& form, bool condition) {
    // A further file needs a form to refer to.
    if (condition && !form.empty()) files.push_back({file, form, {}});
  };
  int age = -1;
  const bool ageRead = core::parseStrictInt(f.customer.cbVN_Alter.text(), age);
  add(FdfFile::VVBuSpar, a.protectionForm, ageRead && age > 17 && age < 46 && f.ziel);
  // Without a form of its own, the single payment's mandate is part of the application form.
  add(FdfFile::VVEZ, applicationForm,
      (a.formVvez.empty() || a.formVvez == applicationForm) && singleInvestmentAtStart(f));
  add(FdfFile::VVZUEB, f.ziel ? a.formVvzuebZiel : a.formVvzuebVl, paymentAtStart(f));
  add(FdfFile::VVZUEBEA, f.ziel ? a.formVvzuebeaZiel : a.formVvzuebeaVl, singleInvestment(f));
  add(FdfFile::VVZUEBEEG, a.formVvzuebeeg, einmalanlage(f));
  for (FormsDataFile& file : files) file.entries = formsDataEntries(set, today, file.file);
  return files;
}

}  // namespace fondaris::offers
