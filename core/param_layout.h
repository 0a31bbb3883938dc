#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/param_record.h"

namespace fondaris::core {

// The field layout of "Param.dat": the only place where its offsets are written. The reader's
// helpers, the forms and the fondaris-param tool all look fields up here.
//
// Repeated entries (tables, strategy blocks) have count > 1: entry i lies at offset + i * stride.
// Members of one block share a prefix: "vlStrategy.name" is the name member of the block
// "vlStrategy", written `vlStrategy[3].name` in the tool's source text.

enum class ParamType { I16, U16, I32, U32, Text };

struct ParamField {
  std::string_view name;
  ParamType type;
  std::size_t offset;  // of entry 0
  std::size_t size;    // bytes of one value; a text holds at most size - 1 characters
  std::size_t count;
  std::size_t stride;
  // Another field whose bytes this one names differently (the record reuses some blocks).
  // Aliases are readable and writable but not listed twice by the dump.
  std::string_view aliasOf;
  std::string_view description;

  constexpr std::size_t at(std::size_t index) const { return offset + index * stride; }
  constexpr bool isText() const { return type == ParamType::Text; }
};

namespace param_layout_detail {

constexpr std::size_t kBlock = 312;    // strategy / document block
constexpr std::size_t kDiscount = 68;  // discount level entry

constexpr ParamField one(std::string_view name, ParamType type, std::size_t offset,
                         std::string_view description) {
  const std::size_t size = (type == ParamType::I16 || type == ParamType::U16) ? 2 : 4;
  return {name, type, offset, size, 1, size, {}, description};
}
constexpr ParamField text(std::string_view name, std::size_t offset, std::size_t size,
                          std::string_view description) {
  return {name, ParamType::Text, offset, size, 1, size, {}, description};
}
constexpr ParamField table(std::string_view name, ParamType type, std::size_t offset,
                           std::size_t count, std::string_view description) {
  const std::size_t size = (type == ParamType::I16 || type == ParamType::U16) ? 2 : 4;
  return {name, type, offset, size, count, size, {}, description};
}
// Member of a repeated block: `size` only matters for texts.
constexpr ParamField member(std::string_view name, ParamType type, std::size_t offset,
                            std::size_t size, std::size_t count, std::size_t stride,
                            std::string_view description) {
  if (type != ParamType::Text) size = (type == ParamType::I16 || type == ParamType::U16) ? 2 : 4;
  return {name, type, offset, size, count, stride, {}, description};
}
constexpr ParamField alias(ParamField f, std::string_view of) {
  f.aliasOf = of;
  return f;
}

using enum ParamType;

inline constexpr auto kFields = std::to_array<ParamField>({
    text("productTextA1", 0, 100, "Text A 1: Name des ersten Produkts (VL)"),
    text("productTextA2", 100, 100, "Text A 2: Name des zweiten Produkts"),
    text("productTextA3", 200, 100, "Text A 3: weiterer Produkttext"),
    text("batchText1", 300, 100, "Text 1 an die Stapelberechnung"),
    text("batchText2", 400, 100, "Text 2 an die Stapelberechnung"),
    // Nominally 100 bytes, but the coded text starts at 550.
    text("batchText3", 500, 50, "Text 3 an die Stapelberechnung"),
    text("codedText", 550, 50, "codierter Text (uuencode, hexadezimal); nicht ausgewertet"),
    text("startPicture", 600, 100, "Text B: Dateiname des Startbilds"),
    text("productTextC1", 1450, 100, "Text C 1: Name des ersten Produkts (Startmaske)"),
    text("productTextC2", 1550, 100, "Text C 2: Name des zweiten Produkts (Startmaske)"),
    text("productTextC3", 1650, 100, "Text C 3: weiterer Produkttext (Startmaske)"),
    one("childAgeLimit", I32, 2004, "Kinder: Altersgrenze K in Jahren"),
    one("childContributionLimit", I32, 2008, "Kinder: Grenze L der Beitragssumme in EUR"),
    one("fifthGrowthRate", I32, 2028, "fünfte Wertentwicklung in 0,00001"),
    // Entries 0..10 are the VL strategies, all 20 are the product documents.
    member("vlStrategy.active", I16, 4832 + 0, 0, 20, kBlock,
           "VL-Strategie/Dokument: aktiv (0 = nein)"),
    member("vlStrategy.value1", I16, 4832 + 2, 0, 20, kBlock,
           "VL-Strategie/Dokument: erste Kennzahl (an das Angebotsdokument)"),
    member("vlStrategy.value2", I16, 4832 + 6, 0, 20, kBlock,
           "VL-Strategie/Dokument: zweite Kennzahl"),
    member("vlStrategy.name", Text, 4832 + 12, 100, 20, kBlock,
           "VL-Strategie/Dokument: Anzeigename"),
    member("vlStrategy.listName", Text, 4832 + 112, 25, 20, kBlock,
           "VL-Strategie/Dokument: Kurzname (Strategieliste)"),
    member("vlStrategy.extraText", Text, 4832 + 137, 25, 20, kBlock,
           "VL-Strategie/Dokument: weiterer Text"),
    member("vlStrategy.offerTemplate", Text, 4832 + 162, 50, 20, kBlock,
           "VL-Strategie/Dokument: Vorlage des Angebotsdokuments"),
    member("vlStrategy.infoDocument", Text, 4832 + 212, 100, 20, kBlock,
           "VL-Strategie/Dokument: Informationsdokument"),
    // The VL blocks 10..19 carry the plain Zielsparplan names in their name member.
    alias(member("zielPlainName", Text, 7964, 100, 10, kBlock,
                 "Zielsparplan: Strategiename ohne Portfolio"),
          "vlStrategy.name"),
    table("deathBenefitSex0", I32, 13632, 120,
          "Höchsttodesfallleistung in EUR je Eintrittsalter, "
          "Geschlecht 0"),
    table("deathBenefitSex1", I32, 14112, 120,
          "Höchsttodesfallleistung in EUR je Eintrittsalter, "
          "anderes Geschlecht"),
    one("minDeathBenefitPercent", I32, 14592, "Mindesttodesfallleistung in % der Beitragssumme"),
    one("singlePaymentCostRate", I32, 404508, "Kostensatz Einmalzahlung in 0,0001"),
    one("switchWord", U32, 404540, "Produktschalter: drei Gruppen zu drei Ziffern 0/1"),
    one("ageMinOther", I16, 408070, "Mindestalter (Vertragsart nicht K/R)"),
    one("ageMaxOther", I16, 408072, "Höchstalter (Vertragsart nicht K/R)"),
    one("ageMinK", I16, 408074, "Mindestalter Vertragsart K"),
    one("ageMaxK", I16, 408076, "Höchstalter Vertragsart K"),
    one("ageMinR", I16, 408078, "Mindestalter Vertragsart R"),
    one("ageMaxR", I16, 408080, "Höchstalter Vertragsart R"),
    one("premiumFootnote", I16, 408326, "Fußnote zur Prämie (> 0 = ja)"),
    one("startPaymentOffered", I16, 408340, "Zuzahlung zu Beginn angeboten (0 = nein)"),
    one("dynamicsOffered", I16, 408342, "Dynamik angeboten (0 = nein)"),
    text("applicationFormVl", 408606, 100, "Antragsformular VL"),
    text("applicationFormZiel", 408706, 100, "Antragsformular Zielsparplan"),
    text("applicationFormBoth", 408806, 100, "Antragsformular für beide Varianten (vorrangig)"),
    one("singlePaymentsOffered", I16, 409548, "Einmalanlagen angeboten (0 = nein)"),
    text("formVvez", 410178, 100, "Formular zu VVEZ.fdf"),
    text("protectionForm", 410278, 100, "Formular zu VVBuSpar.fdf"),
    // The name member of the ten blocks just before the Zielsparplan strategies.
    member("zielPortfolio", Text, 414664, 100, 10, kBlock, "Zielsparplan: Portfolio-Bezeichnung"),
    member("zielStrategy.active", I16, 417772 + 0, 0, 11, kBlock,
           "Zielsparplan-Strategie: aktiv (0 = nein)"),
    member("zielStrategy.value1", I16, 417772 + 2, 0, 11, kBlock,
           "Zielsparplan-Strategie: erste Kennzahl (an das Angebotsdokument)"),
    member("zielStrategy.value2", I16, 417772 + 6, 0, 11, kBlock,
           "Zielsparplan-Strategie: zweite Kennzahl"),
    member("zielStrategy.name", Text, 417772 + 12, 100, 11, kBlock,
           "Zielsparplan-Strategie: Anzeigename mit Portfolio"),
    member("zielStrategy.listName", Text, 417772 + 112, 25, 11, kBlock,
           "Zielsparplan-Strategie: Kurzname (Strategieliste)"),
    member("zielStrategy.extraText", Text, 417772 + 137, 25, 11, kBlock,
           "Zielsparplan-Strategie: weiterer Text"),
    member("zielStrategy.offerTemplate", Text, 417772 + 162, 50, 11, kBlock,
           "Zielsparplan-Strategie: Vorlage des Angebotsdokuments"),
    member("zielStrategy.infoDocument", Text, 417772 + 212, 100, 11, kBlock,
           "Zielsparplan-Strategie: Informationsdokument"),
    member("discount.factor", U16, 444302, 0, 20, kDiscount, "Rabattstufe: Faktor in 0,0001"),
    member("discount.label", Text, 444302 + 12, 56, 20, kDiscount,
           "Rabattstufe: Bezeichnung (Stufe 9: Rabattschlüssel)"),
    text("formVvzuebVl", 449516, 100, "Formular zu VVZUEB.fdf, VL"),
    text("formVvzuebZiel", 449616, 100, "Formular zu VVZUEB.fdf, Zielsparplan"),
    text("bankFile", 450226, 100, "Dateiname der Bankleitzahlendatei"),
    text("formVvzuebeeg", 450644, 100, "Formular zu VVZUEBEEG.fdf"),
    text("formVvzuebeaVl", 450744, 100, "Formular zu VVZUEBEA.fdf, VL"),
    text("formVvzuebeaZiel", 450844, 100, "Formular zu VVZUEBEA.fdf, Zielsparplan"),
});

// Never defined: reaching it in a constant expression makes an unknown name a compile error.
void unknownParamField();

}  // namespace param_layout_detail

inline constexpr std::span<const ParamField> kParamFields = param_layout_detail::kFields;

// Compile-time lookup, e.g. paramField("switchWord").offset; a misspelt name does not compile.
consteval const ParamField& paramField(std::string_view name) {
  for (const ParamField& f : param_layout_detail::kFields) {
    if (f.name == name) return f;
  }
  param_layout_detail::unknownParamField();
  return param_layout_detail::kFields[0];
}

// Run-time lookup by name; null when there is no such field.
const ParamField* findParamField(std::string_view name);

// Value of entry `index` of a numeric field (0 outside the record).
std::int64_t paramNumber(const ParamRecord& record, const ParamField& field, std::size_t index = 0);
// Text of entry `index` of a text field, as UTF-8.
std::string paramText(const ParamRecord& record, const ParamField& field, std::size_t index = 0);

}  // namespace fondaris::core
