#include "documents/fdf/fdf_fields.h"

#include <array>

namespace fondaris::documents {

namespace {

constexpr FdfField T(std::string_view name) {
  return {name, FdfFieldKind::Text};
}
constexpr FdfField C(std::string_view name, std::string_view exports,
                     FdfVariant variant = FdfVariant::Both) {
  return {name, FdfFieldKind::Choice, exports, variant};
}
constexpr FdfField T(std::string_view name, FdfVariant variant) {
  return {name, FdfFieldKind::Text, {}, variant};
}

// Export values shared by several groups. Salutation of the account holder: "0" Herr, "1" Frau,
// "K" a minor; of a representative: "0" Herr, "1" Frau. Identity document: "1" Reisepass,
// "2" Personalausweis, "3" Kinderpass, "4" Sonstige, "K" birth certificate of a child.
constexpr std::string_view kHolderSalutation = "0 1 K";
constexpr std::string_view kSalutation = "0 1";
constexpr std::string_view kIdentity = "1 2 3 4 K";
constexpr std::string_view kTick = "Ja";
// Experience rows: "K" none, "0" up to 3 years, "1" 3 to 7 years, "2" more than 7 years.
constexpr std::string_view kExperience = "K 0 1 2";
// Payment frequency: position of the contract form's list + 1 (monthly, quarterly, half-yearly,
// yearly).
constexpr std::string_view kFrequency = "1 2 3 4";

const std::vector<FdfField> kVVSpar = {
    // agent
    T("Vermittler_16stellig"),
    T("Untervermittler_16stellig"),
    T("VerM1"),
    T("VerM2"),
    T("NameBerater"),
    // salutations
    C("DIH1Kreuz", kHolderSalutation),
    C("DIHXaKreuz", kHolderSalutation),
    C("DIH2GV1FrauHerrKreuz", kSalutation),
    C("DIH2GV1FrauHerrKreuz1", kSalutation),
    C("DIH2GV1FrauHerrKreuz2", kSalutation),
    C("DIH2GV1Kreuz", "0 1"),  // "0" legal representative, "1" further account holder
    C("DIH2GV2FrauHerrKreuz", kSalutation),
    // names and addresses
    T("DIH1Name"),
    T("DIH1Vorname"),
    T("DIH1Strasse"),
    T("DIH1StrasseOhneHausNr"),
    T("DIH1HausNr"),
    T("DIH1PLZ"),
    T("DIH1Ort"),
    T("Text2"),
    T("Text3"),
    T("DIHXaStrassePLZOrt"),
    T("DIH2Name"),
    T("DIH2Vorname"),
    T("DIH2Strasse"),
    T("DIH2PLZ"),
    T("DIH2Ort"),
    T("Text4"),
    T("Text5"),
    T("GV2Name"),
    T("GV2Vorname"),
    T("GV2Strasse"),
    T("GV2PLZ"),
    T("GV2Ort"),
    T("GV2Name1"),
    T("GV2Vorname1"),
    T("GV2Strasse1"),
    T("GV2PLZ1"),
    T("GV2Ort1"),
    T("GV2Name2"),
    T("GV2Vorname2"),
    T("GV2Strasse2"),
    T("GV2PLZ2"),
    T("GV2Ort2"),
    // personal data
    T("DIH1GebDatum"),
    T("DIH1GebName"),
    T("DIH1GebOrt_GebLand"),
    T("DIH1FamStand"),
    T("DIH1Staat"),
    T("DIH1Telefon"),
    T("DIH1Fax"),
    T("DIH1E-Mail"),
    T("DIH1EMail"),
    T("DIH1SteuerID"),
    T("DIHXaGebOrtStaat"),
    T("DIH2GebDatum"),
    T("DIH2GebName"),
    T("DIH2GebOrt_GebLand"),
    T("DIH2FamStand"),
    T("DIH2Staat"),
    T("DIH2Telefon"),
    T("DIH2E-Mail"),
    T("DIH2SteuerID"),
    T("GV2GebDatum"),
    T("GV2GebName"),
    T("GV2GebOrt_GebLand"),
    T("GV2FamStand"),
    T("GV2Staat"),
    T("GV2Telefon"),
    T("GV2E-Mail"),
    T("GV2SteuerID"),
    // occupation and finances
    T("DIH1Beruf"),
    T("Text6"),
    T("Text7"),
    T("Text8"),
    T("DIH2Beruf"),
    C("DIH1_selbst", kTick),
    C("DIH2_selbst", kTick),
    T("DIH1Branche"),
    T("DIH2Branche"),
    T("VerfEin"),
    T("MonatAus"),
    T("NeinimNamen"),
    // identity: the account holder, his copy block, both representatives, the further holder
    C("DIH1LegitimationKreuz", kIdentity),
    T("DIH1AusweisNr"),
    T("DIH1Behoerde"),
    T("DIH1gueltigbis"),
    C("DIHXaLegitimationKreuz", kIdentity),
    T("DIHXaAusweisNr"),
    T("DIHXaBehoerde"),
    T("DIHXagueltigbis"),
    C("DIHGaLegitimationKreuz", kIdentity),
    T("DIHGaAusweisNr"),
    T("DIHGaBehoerde"),
    T("DIHGagueltigbis"),
    C("DIHGbLegitimationKreuz", kIdentity),
    T("DIHGbAusweisNr"),
    T("DIHGbBehoerde"),
    T("DIHGbgueltigbis"),
    C("DIH2-1LegitimationKreuz", kIdentity),
    T("DIH2-1AusweisNr"),
    T("DIH2-1Behoerde"),
    T("DIH2-1gueltigbis"),
    C("DIH2-2LegitimationKreuz", kIdentity),
    T("DIH2-2AusweisNr"),
    T("DIH2-2Behoerde"),
    T("DIH2-2gueltigbis"),
    C("DIHXLegitimationKreuz", kIdentity),
    T("DIHXAusweisNr"),
    T("DIHXBehoerde"),
    T("DIHXgueltigbis"),
    // consultation
    T("Text1"),
    T("VonUhrzeit"),
    T("BisUhrzeit"),
    T("TextZu1"),
    T("TextZu2"),
    T("TextZu3"),
    T("Text21"),
    T("Text21a"),
    T("Text21b"),
    T("ArbeitgeberOrtDatum"),
    T("OrtDatum1"),
    T("OrtDatum2"),
    T("VMOrtDatum"),
    T("ZSPOrtDatum"),
    T("OrtDatumE1"),
    T("OrtDatumE2"),
    T("ALF_Datum"),
    T("ALF_TM"),
    T("ALF_J"),
    T("Text20"),
    T("Text24"),
    // questionnaire
    C("Kontrollkästchen7", kExperience),
    C("Kontrollkästchen8", kExperience),
    C("Kontrollkästchen9", kExperience),
    C("Kontrollkästchen10", kExperience),
    C("Kontrollkästchen11", "0 1 2"),  // share of wealth: < 25 %, 25 to 50 %, > 50 %
    C("Kontrollkästchen12", kTick),
    T("Text13"),
    C("Kontrollkästchen14", kTick),
    T("Text15"),
    C("Kontrollkästchen16", kTick),
    T("Text17"),
    T("Text18"),
    C("Kontrollkästchen19", "0 1"),  // reserves: "0" yes, "1" no
    C("Kontrollkaestchen21", kTick),
    C("OptionAblaufmanagement", kTick),
    C("Kontrollkaestchen22", kTick),
    C("OptionHinweise", kTick),
    // strategy
    C("Strategie", "VL1 VL2 VL3 VL4 VL5 VL6 VL7 VL8 VL9 VL10 VL11", FdfVariant::Vl),
    C("Strategie", "ZSP1 ZSP2 ZSP3 ZSP4 ZSP5 ZSP6 ZSP7 ZSP8 ZSP9 ZSP10 ZSP11", FdfVariant::Ziel),
    T("VLStrategie", FdfVariant::Vl),
    T("ZSPStrategie", FdfVariant::Ziel),
    // contract
    T("ZSPLaufzeit"),
    T("ZSPHöheSparrate"),
    T("ZSPVertragsbeginnMonatKreuz"),
    T("ZSPbeginnJahr"),
    T("ZSPbeginnMonat"),
    T("ZSPDynamisierung&"),
    T("ZSPoptionales AblaufmanagementKreuz"),
    T("ZSPRabatProz"),
    T("ZSPRabatProzNach"),
    T("ZSPVorabEUR"),
    C("DIH1VertragsvarianteKreuz", kFrequency),
    C("DIH1VertragsvarianteKreuzmonatlich", kTick),
    T("DIH1monatlichEUR"),
    T("DIH1entsprJahressparbeitragEUR"),
    T("DIH1-ZahlungsbeginnMonat"),
    T("DIH1-ZahlungsbeginnJahr"),
    T("DIH1RabatProz"),
    T("DIH1RabatProzNach"),
    T("VorabzahlungEntgelt"),
    T("DIH1Vorab"),
    T("DIH1EntgeltZSP"),
    T("DIH1VorabEUR"),
    C("DIH1Entgelt", "1 2"),  // "1" per payslip, "2" per transfer
    T("DIH1-EntgeltTag"),
    T("DIH1-EntgeltMonat"),
    T("DIH1-EntgeltJahr"),
    T("DIH1EntgeltZeitpunkt"),
    T("KeineDynamik"),
    T("Zielsparplan"),
    T("Einmalanlage"),
    T("EinmalLaufzeit"),
    T("EinmalBetrag"),
    T("EinmalKosten"),
    T("DIH1EntgeltEinmal"),
    T("DIH1VorabEinmal"),
    T("EinmalAnlage"),
    T("CashOption"),
    T("EinmalOption"),
    T("DIH1OptionTausch"),
    T("DIH1Tausch"),
    T("DIH1-TauschStartMonat"),
    T("DIH1-TauschStartJahr"),
    T("DIH1-TauschEndeMonat"),
    T("DIH1-TauschEndeJahr"),
    T("DIH1-DIH1EinmalAnlageTag"),
    T("DIH1-DIH1EinmalAnlageMonat"),
    T("DIH1-DIH1EinmalAnlageJahr"),
    T("DIH1EinmalAnlageZeitpunkt"),
    T("DIH1EinmalAnlage"),
    T("DIH1Beitrag"),
    // accounts
    T("ReferenzbankKtoNr"),
    T("ReferenzbankNameVorname"),
    T("ReferenzbankBLZIBAN"),
    T("ReferenzbankKreditinstitut"),
    T("KontoNr"),
    T("KontoInhaber"),
    T("KontoBLZ"),
    T("KontoBank"),
    C("BankKreuz", "0 1"),  // single payment "0" from the reference account, "1" from another
    T("RefbankverbKreuz"),
    T("KaufBankverbindungKtoNr"),
    T("KaufKontoinhaber"),
    T("KaufBankverbindungBLZIBAN"),
    T("KaufBankverbindungKreditinstitut"),
    // employer
    T("SparvertragArbeitgebername"),
    T("ArbeitgeberStraßePostfach"),
    T("ArbeitgeberPLZ"),
    T("ArbeitgeberOrt"),
    T("ArbeitgeberAbteilung"),
    T("ArbeitgeberPersonalnummer"),
    // others
    T("DIH1NameVoll"),
    C("KostenPost", "1"),
    T("ZSP-Depotnr"),
    T("DIH1"),
    // the boxes repeated on the customer's copy page
    C("DIH1Kreuz_2", kHolderSalutation),
    C("DIH1VertragsvarianteKreuz_2", kFrequency),
};

const std::vector<FdfField> kVVBuSpar = {
    C("DIH1Kreuz", kHolderSalutation),
    C("DIH1Kreuz_2", kHolderSalutation),
    T("DIH1Name"),
    T("DIH1Vorname"),
    T("DIH1Strasse"),
    T("DIH1PLZ"),
    T("DIH1Ort"),
    T("SE_Datum"),
    T("VU_Datum"),
    T("Vb_Datum"),
    T("SE_Ort"),
    T("VU_Ort"),
    T("Vb_Ort"),
    T("DIH1Beginn"),
    T("DIH1GebDatum"),
    T("DIH1Beruf"),
};

const std::vector<FdfField> kVVEZ = {
    T("DIH1NameVoll"), T("DIH1Strasse"),  T("DIH1PLZ"),     T("DIH1Ort"),    T("DIH1Telefon"),
    T("Einmal"),       T("Entgeld"),      T("Anlage"),      T("OrtDatum"),   T("Per"),
    T("Last"),         T("DIH1EZTag"),    T("DIH1EZMonat"), T("DIH1EZJahr"), C("BankKreuz", "0 1"),
    T("KontoNr"),      T("KontoInhaber"), T("KontoBLZ"),    T("KontoBank"),  T("ZSP-Depotnr"),
};

const std::vector<FdfField> kVVZUEB = {
    T("Kundenname"), T("KundenRef"),    T("Verwendungszweck"),
    T("BankName"),   T("BankStr"),      T("Bankort"),
    T("BLZ"),        T("IBAN"),         T("Bank"),
    T("KontoNr"),    T("Kontoinhaber"), T("Entgelt"),
    T("Betrag"),     T("AktDatum"),     T("UebDatum"),
};

const std::vector<FdfField> kVVZUEBEA = {
    T("Kundenname"), T("KundenRef"), T("Verwendungszweck"), T("Depot"),
    T("BankName"),   T("BankStr"),   T("Bankort"),          T("BLZ"),
    T("IBAN"),       T("Bank"),      T("KontoNr"),          T("Kontoinhaber"),
    T("Entgelt"),    T("AktDatum"),  T("UebDatum"),
};

const std::vector<FdfField> kVVZUEBEEG = {
    T("Kundenname"), T("KundenRef"),    T("Verwendungszweck"),
    T("BankName"),   T("BankStr"),      T("Bankort"),
    T("BLZ"),        T("IBAN"),         T("Bank"),
    T("KontoNr"),    T("Kontoinhaber"), T("Entgelt"),
    T("AktDatum"),   T("UebDatum"),
};

// Every forms-data file in the order of FdfFile: its name and its fields.
struct FileKind {
  std::string_view name;
  const std::vector<FdfField>& fields;
};
const std::array<FileKind, kFdfFileCount> kFiles = {{
    {"VVSpar.fdf", kVVSpar},
    {"VVBuSpar.fdf", kVVBuSpar},
    {"VVEZ.fdf", kVVEZ},
    {"VVZUEB.fdf", kVVZUEB},
    {"VVZUEBEA.fdf", kVVZUEBEA},
    {"VVZUEBEEG.fdf", kVVZUEBEEG},
}};

const FileKind& kindOf(FdfFile file) {
  return kFiles.at(fdfFileIndex(file));
}

}  // namespace

const std::vector<FdfField>& fdfFields(FdfFile file) {
  return kindOf(file).fields;
}

std::vector<FdfField> fdfFields(FdfFile file, FdfVariant variant) {
  std::vector<FdfField> fields;
  for (const FdfField& field : fdfFields(file))
    if (variant == FdfVariant::Both || field.variant == FdfVariant::Both ||
        field.variant == variant)
      fields.push_back(field);
  return fields;
}

const FdfField* findFdfField(FdfFile file, std::string_view name, FdfVariant variant) {
  for (const FdfField& field : fdfFields(file))
    if (field.name == name && (variant == FdfVariant::Both || field.variant == FdfVariant::Both ||
                               field.variant == variant))
      return &field;
  return nullptr;
}

std::vector<std::string> fdfExportValues(const FdfField& field) {
  std::vector<std::string> values;
  std::string_view rest = field.exports;
  while (!rest.empty()) {
    const auto blank = rest.find(' ');
    if (blank != 0) values.emplace_back(rest.substr(0, blank));
    if (blank == std::string_view::npos) break;
    rest.remove_prefix(blank + 1);
  }
  return values;
}

std::string_view fdfFileName(FdfFile file) {
  return kindOf(file).name;
}

}  // namespace fondaris::documents
